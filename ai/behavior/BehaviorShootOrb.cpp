#include "ai/behavior/BehaviorShootOrb.h"

#include "ai/AITargetingComponent.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/steering/Steering.h"
#include "engine/Random.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/OrbComponent.h"

#include <algorithm>
#include <cmath>

namespace quellor {

void BehaviorShootOrb::OnInitialize()
{
    const OrbComponent* orb = Part<OrbComponent>();
    float lo = kMinChargeTime;
    float hi = orb ? orb->GetChargeTime() : OrbComponent().GetChargeTime();
    if (hi < lo)
        std::swap(lo, hi);
    chargeTime = RandomUnit() * (hi - lo) + lo;
    chargeElapsed = 0.0f;
    if (auto* motor = Part<CharacterMotor3D>())
        motor->SetSpeed(motor->GetBaseSpeed() * kChargingSpeedFactor);
}

BehaviorStatus BehaviorShootOrb::Update(float dt)
{
    chargeElapsed += dt;
    cooldown -= dt;
    const AITargetingComponent* targeting = Part<AITargetingComponent>();
    const float reaction = Tuning().reactionTime;
    Entity* target = targeting ? targeting->GetTarget() : nullptr;
    if (target && targeting->IsTargetVisible() && targeting->GetTimeVisible() > reaction) {
        if (chargeElapsed < chargeTime)
            return BehaviorStatus::Running;
        if (!targeting->IsWithinVerticalAimAngle() || cooldown > 0.0f)
            return BehaviorStatus::Running;
        Fire(target);
        OnInitialize();
        cooldown = kCooldownSeconds;
        return BehaviorStatus::Running;
    }
    if (auto* motor = Part<CharacterMotor3D>())
        motor->SetSpeed(motor->GetBaseSpeed());
    return BehaviorStatus::Failure;
}

float BehaviorShootOrb::GetPriority() const
{
    return Priority(TargetTagFraction(), Tuning().orbBias);
}

float BehaviorShootOrb::Priority(float tagFraction, float orbBias)
{
    const float k = tagFraction <= 0.0f ? 0.01f : 0.5f * std::log10(tagFraction) + 1.0f;
    return k * orbBias;
}

void BehaviorShootOrb::Fire(Entity* target)
{
    if (auto* animation = Part<AnimationControllerComponent>())
        animation->SetOrbBlast(0.3f, 0.1f);
    const AITargetingComponent* targeting = Part<AITargetingComponent>();
    OrbComponent* orb = Part<OrbComponent>();
    Vec4 own;
    Vec4 point;
    if (!targeting || !orb || !CentreOf(GetEntity(), own) || !CentreOf(target, point))
        return;
    const Vec4 aimed = steering::Add(point, targeting->GetAimOffset(point));
    orb->ShootAt(steering::Normalize(steering::Subtract(aimed, own)), chargeTime);
}

} // namespace quellor
