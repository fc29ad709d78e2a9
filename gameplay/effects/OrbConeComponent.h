#pragma once
// The cone trailing a flying orb: its tip at the orb, opening against the orb's velocity, its
// texture stepping through a five-frame strip.
#include "engine/graphics/DynamicMeshComponent.h"
#include "gameplay/effects/EffectFamily.h"

namespace quellor {

class OrbConeComponent : public DynamicMeshComponent {
    QUELLOR_REFLECT_KEYED(OrbConeComponent)

    // One cone of kSegments: 60 vertices.
    static constexpr unsigned kMaxVertices = 100;
    static constexpr int kSegments = 20;
    inline static const std::string kTexture{"pop_cone.dds"};

    OrbConeComponent();
    OrbConeComponent(const OrbConeComponent&) = default;
    ~OrbConeComponent() override;

    Component* Clone() const override;
    // Needs the entity's RigidBodyComponent3D for the direction; without one the cone rests.
    void Update(float dt) override;

    int GetFrame() const { return m_strip.Frame(m_timer); }
    // The direction of the last update's cone.
    const ZOR::float3& GetDirection() const { return m_direction; }

private:
    FrameStrip m_strip{5, 0.05f};
    float m_length = 2.5f;
    float m_rimRadius = 3.25f;
    float m_timer = 0.0f;
    ZOR::float3 m_direction;
};

} // namespace quellor
