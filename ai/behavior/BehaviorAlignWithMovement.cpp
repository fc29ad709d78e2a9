#include "ai/behavior/BehaviorAlignWithMovement.h"

#include "ai/AITargetingComponent.h"
#include "ai/steering/Steering.h"
#include "gameplay/CharacterMotor3D.h"

namespace quellor {

BehaviorStatus BehaviorAlignWithMovement::Update(float dt)
{
    const CharacterMotor3D* motor = Part<CharacterMotor3D>();
    if (!motor)
        return BehaviorStatus::Success;
    const Vec4& move = motor->m_moveInput;
    if (steering::Length(Vec4(move.x, move.y, move.z, 0.0f)) > 0.01f)
        if (auto* targeting = Part<AITargetingComponent>())
            targeting->TurnTowards(move, 5.0f * dt);
    return BehaviorStatus::Success;
}

} // namespace quellor
