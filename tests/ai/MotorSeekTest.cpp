// The two seeks that steer a character motor: the motor's own speed and velocity make the
// output, and a target entity that is gone or has no body gives the zero output.
#include "tests/ai/AITestKit.h"
#include "tests/ai/SteeringExpect.h"

#include "ai/steering/MotorSeekEntity.h"
#include "ai/steering/MotorSeekPosition.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"

#include <memory>

namespace quellor::test {
namespace {

using ZOR::float3;

class MotorSeekTest : public AITest {
protected:
    // A character at p: a body, player data and a motor walking at speed with velocity v.
    Entity* Character(const std::string& name, const float3& p, float speed, const Vec4& velocity)
    {
        Entity* entity = Agent(name, p);
        entity->AddComponent<PlayerDataComponent>(true);
        auto* motor = entity->AddComponent<CharacterMotor3D>(true);
        motor->SetSpeed(speed);
        motor->SetVelocity(velocity);
        return entity;
    }

    static SteeringOutput Calculated(SteeringBehavior& behavior)
    {
        SteeringOutput out;
        out.linear = Vec4(7.0f, 7.0f, 7.0f, 7.0f);
        out.angular = Quat(0.5f, 0.5f, 0.5f, 0.5f);
        behavior.Calculate(out);
        return out;
    }
};

TEST_F(MotorSeekTest, PositionSeekIsTheMotorSpeedAlongTheWayLessTheMotorVelocity)
{
    Entity* bot = Character("bot", float3(1.0f, 0.0f, 0.0f), 5.0f, Vec4(1.0f, 0.0f, 2.0f, 0.0f));
    Run(1);
    // The body's own velocity is not the one read.
    bot->GetRigidBody()->SetLinearVelocity(Vec4(-9.0f, 0.0f, -9.0f, 0.0f));
    SteeringComponent* steering = Steer(bot, new MotorSeekPosition(Vec4(4.0f, 0.0f, 4.0f, 1.0f)));
    steering->Update(0.0f);
    // (3, 0, 4) is 5 long: at the motor's speed 5 that is (3, 0, 4), less (1, 0, 2).
    ExpectVec(steering->GetOutput().linear, 2.0f, 0.0f, 2.0f);
    ExpectQuat(steering->GetOutput().angular, 0.0f, 0.0f, 0.0f, 1.0f);

    // A slowed motor seeks slower.
    CharacterMotor3D* motor = bot->GetComponent<CharacterMotor3D>();
    motor->SetSpeed(10.0f);
    steering->Update(0.0f);
    ExpectVec(steering->GetOutput().linear, 5.0f, 0.0f, 6.0f);

    // No motor on the steered entity, or no body: the zero output.
    Entity* walker = Agent("walker", float3(1.0f, 0.0f, 0.0f));
    MotorSeekPosition seek(Vec4(4.0f, 0.0f, 4.0f, 1.0f));
    seek.SetRigidBody(walker->GetRigidBody());
    ExpectZeroOutput(Calculated(seek));
    seek.SetRigidBody(nullptr);
    ExpectZeroOutput(Calculated(seek));
}

TEST_F(MotorSeekTest, EntitySeekFollowsTheTargetsBodyUntilItIsGone)
{
    Entity* bot = Character("bot", float3(0.0f, 0.0f, 0.0f), 2.0f, Vec4());
    Entity* target = Agent("target", float3(0.0f, 0.0f, 4.0f));
    Entity* ghost = Agent("ghost", float3(3.0f, 0.0f, 0.0f), false);
    Run(1);
    SteeringComponent* steering = Steer(bot, new MotorSeekEntity(target));
    steering->Update(0.0f);
    ExpectVec(steering->GetOutput().linear, 0.0f, 0.0f, 2.0f);

    // A copy keeps the target, and outlives it.
    std::unique_ptr<SteeringBehavior> copy(steering->GetBehavior()->Clone());
    ExpectVec(Calculated(*copy).linear, 0.0f, 0.0f, 2.0f);

    steering->SetBehavior(new MotorSeekEntity(ghost));
    steering->Update(0.0f);
    ExpectZeroOutput(steering->GetOutput());

    steering->SetBehavior(new MotorSeekEntity(target));
    target->Destroy();
    Frames(1);
    ASSERT_EQ(engine->GetEntity("target", "default"), nullptr);
    steering->Update(0.0f);
    ExpectZeroOutput(steering->GetOutput());
    ExpectZeroOutput(Calculated(*copy));
}

} // namespace
} // namespace quellor::test
