#pragma once
// The textured ball of a flying orb: two spheres at the entity's position sharing a frame of
// the spin strip and one random turn, the outer one fainter and larger.
#include "engine/graphics/DynamicMeshComponent.h"
#include "gameplay/effects/EffectFamily.h"
#include "renderer/math/float3x3.h"

namespace quellor {

class OrbMeshComponent : public DynamicMeshComponent {
    QUELLOR_REFLECT_KEYED(OrbMeshComponent)

    // Two spheres of kSegments: 600 vertices each.
    static constexpr unsigned kMaxVertices = 1200;
    static constexpr int kSegments = 10;
    inline static const std::string kTexture{"pop_sphere_spin.dds"};

    OrbMeshComponent();
    OrbMeshComponent(const OrbMeshComponent&) = default;
    ~OrbMeshComponent() override;

    Component* Clone() const override;
    void Update(float dt) override;

    int GetFrame() const { return m_strip.Frame(m_timer); }
    const ZOR::float3x3& GetOrientation() const { return m_orientation; }

private:
    FrameStrip m_strip{5, 0.04f};
    float m_radius = 2.0f;
    float m_timer = 0.0f;
    ZOR::float3x3 m_orientation;
};

} // namespace quellor
