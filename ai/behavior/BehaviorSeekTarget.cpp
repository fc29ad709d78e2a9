#include "ai/behavior/BehaviorSeekTarget.h"

#include "ai/steering/MotorSeekEntity.h"
#include "ai/steering/SteeringComponent.h"
#include "gameplay/CharacterMotor3D.h"

namespace quellor {

void BehaviorSeekTarget::OnInitialize()
{
    if (!motor)
        motor = Part<CharacterMotor3D>();
    if (Entity* target = Target())
        if (auto* steeringComponent = Part<SteeringComponent>())
            steeringComponent->SetBehavior(new MotorSeekEntity(target));
    timeLeft = kBurstSeconds;
}

BehaviorStatus BehaviorSeekTarget::Update(float dt)
{
    if (!Target())
        return BehaviorStatus::Failure;
    if (MayAct())
        if (auto* steeringComponent = Part<SteeringComponent>())
            Drive(motor, PlanarNormal(steeringComponent->GetOutput().linear));
    timeLeft -= dt;
    return timeLeft <= 0.0f ? BehaviorStatus::Success : BehaviorStatus::Running;
}

void BehaviorSeekTarget::OnTerminate()
{
    Halt(motor);
    if (auto* steeringComponent = Part<SteeringComponent>())
        steeringComponent->ClearBehavior();
}

} // namespace quellor
