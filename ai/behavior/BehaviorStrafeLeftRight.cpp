#include "ai/behavior/BehaviorStrafeLeftRight.h"

#include "ai/behavior/AIDataComponent.h"
#include "ai/steering/Steering.h"
#include "engine/Random.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/PhysicsSystem3D.h"

namespace quellor {

namespace {

// How far below the strafe line the floor test reaches, in lengths of its slanted ray.
constexpr float kFloorReach = 7.0f;

} // namespace

void BehaviorStrafeLeftRight::OnInitialize()
{
    timeLeft = 0.0f;
    if (!motor)
        motor = Part<CharacterMotor3D>();
    const PlayerDataComponent* data = Part<PlayerDataComponent>();
    clearance = (data ? data->sphereCollRadius : PlayerDataComponent().sphereCollRadius) + kClearanceAboveRadius;
}

BehaviorStatus BehaviorStrafeLeftRight::Update(float dt)
{
    if (!MayAct())
        return BehaviorStatus::Running;
    timeLeft -= dt;
    if (timeLeft <= 0.0f) {
        timeLeft = RandomUnit() * kMaxBurstSeconds;
        side = static_cast<std::uint32_t>(Random() % 2);
    }
    if (!ChooseSide())
        return BehaviorStatus::Failure;
    if (motor)
        SetAnimationMove(motor->m_moveInput);
    return BehaviorStatus::Running;
}

void BehaviorStrafeLeftRight::OnTerminate()
{
    Halt(motor);
}

bool BehaviorStrafeLeftRight::ChooseSide()
{
    const Vec4 facing = Tuning().facing;
    const Vec4 upCrossFacing(facing.z, 0.0f, -facing.x, 0.0f);
    const Vec4 facingCrossUp(-facing.z, 0.0f, facing.x, 0.0f);
    if (side == 1) {
        if (TrySide(facingCrossUp))
            return true;
        if (TrySide(upCrossFacing)) {
            side = 0;
            return true;
        }
        return false;
    }
    if (TrySide(upCrossFacing))
        return true;
    if (TrySide(facingCrossUp)) {
        side = 1;
        return true;
    }
    return false;
}

bool BehaviorStrafeLeftRight::TrySide(Vec4 direction)
{
    direction = steering::Normalize(direction);
    Vec4 start;
    auto* physics = GetSystem<PhysicsSystem3D>();
    if (!physics || !CentreOf(GetEntity(), start))
        return false;
    const ZOR::float3 origin(start.x, start.y, start.z);
    if (physics->RayCast(origin, ZOR::float3(direction.x, direction.y, direction.z), checkDistance).hit)
        return false;
    const Vec4 slant(checkDistance * direction.x, checkDistance * direction.y - clearance, checkDistance * direction.z,
                     0.0f);
    const Vec4 down = steering::Normalize(slant);
    if (!physics->RayCast(origin, ZOR::float3(down.x, down.y, down.z), kFloorReach * steering::Length(slant)).hit)
        return false;
    if (motor)
        motor->m_moveInput = Vec4(direction.x, 0.0f, direction.z, 0.0f);
    return true;
}

} // namespace quellor
