#include "gameplay/effects/ArmChargeComponent.h"

#include "engine/Entity.h"
#include "engine/Random.h"
#include "engine/graphics/Convert.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/effects/EffectFamily.h"
#include "gameplay/PlayerUtil.h"

#include <algorithm>
#include <cmath>

namespace quellor {

QUELLOR_RECORD(ArmChargeComponent, DynamicMeshComponent, DerivedMetaNotPOD, NoID) {}

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kFullBrightFactor = 2.5f;

} // namespace

ArmChargeComponent::ArmChargeComponent() : DynamicMeshComponent(kMaxVertices)
{
    SetUpEffectMesh(*this, kTexture, ZOR::BlendMode::Additive);
}

ArmChargeComponent::~ArmChargeComponent() = default;

Component* ArmChargeComponent::Clone() const
{
    return new ArmChargeComponent(*this);
}

void ArmChargeComponent::Start()
{
    m_timeLeft = m_duration;
    m_randomAngle = RandomUnit() * kTwoPi;
}

void ArmChargeComponent::Update(float dt)
{
    m_timeLeft = std::max(m_timeLeft - dt, 0.0f);
    Clear();
    const Entity* owner = GetEntity();
    if (!(m_timeLeft > 0.0f) || !owner)
        return;
    const ZOR::float3 hand = ToFloat3(PlayerUtil::HandPoint(*owner));
    const ZOR::float3 forearm = ToFloat3(PlayerUtil::HandBonePoint(*owner, kForearmPoint));
    const float f = m_timeLeft / m_duration;
    const FrameStrip strip{m_frameCount, m_duration / static_cast<float>(m_frameCount)};
    const int frame = std::clamp(static_cast<int>(std::floor((m_duration - m_timeLeft) *
                                                             static_cast<float>(m_frameCount) / m_duration)),
                                 0, m_frameCount - 1);
    const float value = std::min(1.0f, kFullBrightFactor * f);
    const float radius = (1.0f - f) * m_endRadius + f * m_startRadius;
    Tube(hand, forearm, radius, value, kSegments, strip.UvMin(frame, 0.0f), strip.UvMax(frame, 1.0f), 0.0f);
}

} // namespace quellor
