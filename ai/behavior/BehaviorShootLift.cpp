#include "ai/behavior/BehaviorShootLift.h"

#include "ai/AITargetingComponent.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/steering/Steering.h"
#include "engine/Random.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/LiftComponent.h"
#include "physics/Ray3D.h"

#include <algorithm>
#include <cmath>

namespace quellor {

void BehaviorShootLift::OnInitialize()
{
    reaimTime = 0.0f;
    firstAim = true;
}

BehaviorStatus BehaviorShootLift::Update(float dt)
{
    const AITargetingComponent* targeting = Part<AITargetingComponent>();
    Entity* target = targeting ? targeting->GetTarget() : nullptr;
    if (!target || !targeting->IsTargetVisible())
        return BehaviorStatus::Failure;
    if (targeting->GetTimeVisible() <= Tuning().reactionTime)
        return BehaviorStatus::Failure;
    if (!targeting->IsWithinVerticalAimAngle()) {
        OnTerminate();
        return BehaviorStatus::Running;
    }
    reaimTime -= dt;
    Fire(target);
    return BehaviorStatus::Running;
}

void BehaviorShootLift::OnTerminate()
{
    if (auto* lift = Part<LiftComponent>())
        lift->EndBeam();
    reaimTime = Tuning().liftAimInterval;
    firstAim = true;
}

float BehaviorShootLift::GetPriority() const
{
    return Priority(TargetTagFraction(), Tuning().liftBias);
}

float BehaviorShootLift::Priority(float tagFraction, float liftBias)
{
    return std::pow(0.2f, 10.0f * tagFraction) * liftBias;
}

void BehaviorShootLift::Fire(Entity* target)
{
    if (auto* animation = Part<AnimationControllerComponent>())
        animation->SetLiftBlast(kBlastLength);
    LiftComponent* lift = Part<LiftComponent>();
    Vec4 own;
    Vec4 point;
    if (!lift || !CentreOf(GetEntity(), own) || !CentreOf(target, point))
        return;
    lift->Fire(ComputeAim(own, point));
}

Ray3D BehaviorShootLift::ComputeAim(const Vec4& own, const Vec4& target)
{
    if (reaimTime <= 0.0f || firstAim)
        Reaim(own, target);
    else
        TrackAim(own, target);
    return Ray3D{ZOR::float3(own.x, own.y, own.z), ZOR::float3(aimDirection.x, aimDirection.y, aimDirection.z)};
}

void BehaviorShootLift::Reaim(const Vec4& own, const Vec4& target)
{
    if (const AITargetingComponent* targeting = Part<AITargetingComponent>())
        aimOffset = targeting->GetAimOffset(target);
    if (firstAim) {
        aimDirection = steering::Normalize(steering::Subtract(steering::Add(target, aimOffset), own));
        firstAim = false;
    }
    float lo = kMinReaimTime;
    float hi = Tuning().liftAimInterval;
    if (hi < lo)
        std::swap(lo, hi);
    reaimTime = RandomUnit() * (hi - lo) + lo;
}

void BehaviorShootLift::TrackAim(const Vec4& own, const Vec4& target)
{
    const Vec4 desired = steering::Normalize(steering::Subtract(steering::Add(aimOffset, target), own));
    const float speed = Tuning().liftBeamAimSpeed;
    // A step of the aim speed toward the desired direction, shorter within 1.0 of it; per tick.
    aimDirection = steering::Normalize(steering::Add(aimDirection, steering::Arrive(aimDirection, desired, speed, 1.0f)));
}

} // namespace quellor
