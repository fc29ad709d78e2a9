#pragma once
// The shell around a flying orb: one sphere whose texture window, a quarter of the texture
// wide, scrolls across the whole texture once a second (the shader wraps u).
#include "engine/graphics/DynamicMeshComponent.h"
#include "renderer/math/float3x3.h"

namespace quellor {

class OrbLightningComponent : public DynamicMeshComponent {
    QUELLOR_REFLECT_KEYED(OrbLightningComponent)

    // One sphere of kSegments: 600 vertices.
    static constexpr unsigned kMaxVertices = 600;
    static constexpr int kSegments = 10;
    static constexpr float kWindow = 0.25f;
    inline static const std::string kTexture{"pop_sphere_shell.dds"};

    OrbLightningComponent();
    OrbLightningComponent(const OrbLightningComponent&) = default;
    ~OrbLightningComponent() override;

    Component* Clone() const override;
    void Update(float dt) override;

    float GetPhase() const { return m_phase; }
    const ZOR::float3x3& GetOrientation() const { return m_orientation; }

private:
    float m_radius = 2.75f;
    float m_scrollSpeed = 1.0f;
    float m_phase = 0.0f;
    ZOR::float3x3 m_orientation;
};

} // namespace quellor
