#include "ai/behavior/BotLeaf.h"

#include "ai/AITargetingComponent.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/steering/Steering.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/LiftComponent.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

Vec4 BotLeaf::PlanarNormal(const Vec4& v)
{
    return steering::Normalize(Vec4(v.x, 0.0f, v.z, v.w));
}

const AIDataComponent& BotLeaf::Tuning() const
{
    return AIDataComponent::Of(Part<AIDataComponent>());
}

Entity* BotLeaf::Target() const
{
    const AITargetingComponent* targeting = Part<AITargetingComponent>();
    return targeting ? targeting->GetTarget() : nullptr;
}

float BotLeaf::TargetTagFraction() const
{
    const Entity* target = Target();
    const LiftComponent* lift = target ? Part<LiftComponent>() : nullptr;
    return lift ? lift->GetTagFraction(target) : 0.0f;
}

bool BotLeaf::CentreOf(const Entity* entity, Vec4& out) const
{
    const RigidBodyComponent3D* body = m_lookup.Body(GetEntity(), entity);
    if (!body)
        return false;
    out = body->GetCenterOfMass();
    return true;
}

bool BotLeaf::MayAct() const
{
    const PlayerDataComponent* data = Part<PlayerDataComponent>();
    return data && data->canControl && !(data->m_stunTimer > 0.0f);
}

void BotLeaf::Drive(CharacterMotor3D* motor, const Vec4& direction) const
{
    const Vec4 move(direction.x, 0.0f, direction.z, 0.0f);
    if (motor)
        motor->m_moveInput = move;
    SetAnimationMove(move);
}

void BotLeaf::SetAnimationMove(const Vec4& move) const
{
    if (auto* animation = Part<AnimationControllerComponent>()) {
        animation->SetMoveX(move.x);
        animation->SetMoveY(move.z);
    }
}

void BotLeaf::Halt(CharacterMotor3D* motor) const
{
    if (motor)
        motor->m_moveInput = Vec4();
    SetAnimationMove(Vec4());
}

void BotLeaf::Aim(float x, float z) const
{
    if (auto* animation = Part<AnimationControllerComponent>()) {
        animation->SetAimX(x);
        // The controller names its second aim input after y; it takes the z value.
        animation->SetAimY(z);
        animation->SetAimPitch(0.0f);
    }
}

} // namespace quellor
