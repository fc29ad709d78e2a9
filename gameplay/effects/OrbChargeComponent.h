#pragma once
// The sphere that grows in a person's hand while an orb charges: it plays the charge strip
// once, then loops the spin strip, at a scale that a tween shrinks to 0 after the release,
// when the sphere hides. The player set-up writes its centre each frame.
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/effects/EffectFamily.h"
#include "renderer/math/float3x3.h"

namespace quellor {

class OrbChargeComponent : public DynamicMeshComponent {
    QUELLOR_REFLECT_KEYED(OrbChargeComponent)

    static constexpr unsigned kMaxVertices = 1000;
    static constexpr int kSegments = 10;
    static constexpr float kShrinkTime = 0.2f;
    inline static const std::string kChargeTexture{"pop_sphere_charge.dds"};
    inline static const std::string kSpinTexture{"pop_sphere_spin.dds"};

    OrbChargeComponent();
    OrbChargeComponent(const OrbChargeComponent&) = default;
    ~OrbChargeComponent() override;

    Component* Clone() const override;
    void Update(float dt) override;

    // Shows the sphere at full size from the first frame of the charge strip.
    void StartCharge();
    // Queues the shrink and the hiding on lane 0 of the entity's ActionComponent; without one
    // the sphere hides at once (one warning).
    void StopCharge();

    void SetCentre(const Vec4& centre) { m_centre = centre; }
    float GetScale() const { return m_scale; }
    bool IsVisible() const { return m_visible; }
    int GetFrame() const { return m_strip.Frame(m_timer); }

private:
    FrameStrip m_strip{5, 0.05f};
    float m_radius = 1.0f;
    float m_scale = 0.0f;
    float m_timer = 0.0f;
    ZOR::float3x3 m_orientation;
    bool m_visible = false;
    Vec4 m_centre;
    bool m_warnedNoActions = false;
};

} // namespace quellor
