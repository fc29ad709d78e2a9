#pragma once
// The flash along a person's forearm when an orb leaves the hand: a tube between two points of
// the hand bone in the current pose, shrinking and stepping through a twelve-frame strip over
// 0.3 s, fading over its last 40 %.
#include "engine/graphics/DynamicMeshComponent.h"
#include "gameplay/effects/EffectFamily.h"
#include "renderer/math/float3.h"

namespace quellor {

class ArmChargeComponent : public DynamicMeshComponent {
    QUELLOR_REFLECT_KEYED(ArmChargeComponent)

    static constexpr unsigned kMaxVertices = 150;
    static constexpr int kSegments = 16;
    // The far end of the flash, in the hand bone's space; the near end is the hand point.
    static constexpr ZOR::float3 kForearmPoint{-3.7f, 13.1f, -0.4f};
    inline static const std::string kTexture{"pop_cylinder.dds"};

    ArmChargeComponent();
    ArmChargeComponent(const ArmChargeComponent&) = default;
    ~ArmChargeComponent() override;

    Component* Clone() const override;
    void Update(float dt) override;

    // (Re)starts the flash at full length.
    void Start();

    float GetTimeLeft() const { return m_timeLeft; }

private:
    float m_endRadius = 0.45f;
    float m_startRadius = 1.2f;
    float m_duration = 0.3f;
    int m_frameCount = 12;
    float m_timeLeft = 0.0f;
    // Drawn at each start; the tube keeps a start angle of 0.
    float m_randomAngle = 0.0f;
};

} // namespace quellor
