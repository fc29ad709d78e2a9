// The movement leaves on a bot in the arena, ticked by hand between frames: turning with the
// movement, seek bursts, strafing with its wall and floor tests, and what ending them leaves.
// The bot stands at the red spawn point (-30, -30), 10 units from the west wall, facing +z.
#include "tests/ai/BotWorldKit.h"

#include "ai/behavior/BehaviorAlignWithMovement.h"
#include "ai/behavior/BehaviorSeekTarget.h"
#include "ai/behavior/BehaviorStrafeLeftRight.h"
#include "ai/behavior/Selector.h"
#include "ai/steering/MotorSeekEntity.h"

#include <cmath>

namespace quellor::test {
namespace {

constexpr float kDt = tarsel::test::GameWorld::kDt;

class BotMovementTest : public HeldBotTest {
protected:
    // Ticks the leaf, then runs a frame; the leaf's last status.
    BehaviorStatus TickAndRun(Behavior& leaf, int frames = 1)
    {
        BehaviorStatus status = BehaviorStatus::Invalid;
        for (int i = 0; i < frames; ++i) {
            status = leaf.Tick(kDt);
            Run(1);
        }
        return status;
    }

    Vec4 MoveInput() const { return MotorOf(bot)->m_moveInput; }
    void ExpectStill(const std::string& what) const
    {
        EXPECT_EQ(MoveInput().x, 0.0f) << what;
        EXPECT_EQ(MoveInput().z, 0.0f) << what;
        EXPECT_EQ(AnimationOf(bot)->GetMoveX(), 0.0f) << what;
        EXPECT_EQ(AnimationOf(bot)->GetMoveY(), 0.0f) << what;
    }

};

TEST_F(BotMovementTest, TheBotStandsAtItsSpawnPoint)
{
    const Vec4 centre = BodyOf(bot)->GetCenterOfMass();
    EXPECT_NEAR(centre.x, -30.0f, 0.01f);
    EXPECT_NEAR(centre.z, -30.0f, 0.01f);
    EXPECT_TRUE(PlayerOf(bot)->m_onGround);
}

TEST_F(BotMovementTest, AligningTurnsOnlyForAMoveInputLongerThanOneHundredthAndAlwaysSucceeds)
{
    BehaviorAlignWithMovement align;
    align.Bind(TreeOf(bot)->GetInjector());
    const Vec4 before = BodyOf(bot)->GetForward();
    MotorOf(bot)->m_moveInput = Vec4(0.01f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(align.Tick(kDt), BehaviorStatus::Success);
    EXPECT_EQ(BodyOf(bot)->GetForward().x, before.x);
    EXPECT_EQ(BodyOf(bot)->GetForward().z, before.z);

    MotorOf(bot)->m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(align.Tick(kDt), BehaviorStatus::Success);
    const Vec4 after = BodyOf(bot)->GetForward();
    EXPECT_GT(std::fabs(after.x - before.x) + std::fabs(after.z - before.z), 1e-3f);
}

TEST_F(BotMovementTest, ASeekWithoutATargetInstallsNothingAndFails)
{
    BehaviorSeekTarget seek;
    seek.Bind(TreeOf(bot)->GetInjector());
    EXPECT_EQ(seek.Tick(kDt), BehaviorStatus::Failure);
    EXPECT_EQ(SteeringOf(bot)->GetBehavior(), nullptr);
    ExpectStill("after the failed seek");
}

TEST_F(BotMovementTest, ASeekBurstWalksTowardTheTargetForOneSecondAndEndingItStopsTheBot)
{
    Entity* enemy = Player("enemy", "orange", -30.0f, 2.0f, -10.0f);
    Run(3); // in the physics, sensed, then chosen
    ASSERT_EQ(TargetingOf(bot)->GetTarget(), enemy);
    BehaviorSeekTarget seek;
    seek.Bind(TreeOf(bot)->GetInjector());
    EXPECT_EQ(TickAndRun(seek), BehaviorStatus::Running);
    EXPECT_NE(dynamic_cast<MotorSeekEntity*>(SteeringOf(bot)->GetBehavior()), nullptr);
    EXPECT_EQ(TickAndRun(seek), BehaviorStatus::Running);
    // Toward +z, planar, unit length.
    EXPECT_GT(MoveInput().z, 0.9f);
    EXPECT_EQ(MoveInput().y, 0.0f);
    EXPECT_NEAR(std::hypot(MoveInput().x, MoveInput().z), 1.0f, 1e-5f);
    EXPECT_EQ(AnimationOf(bot)->GetMoveY(), MoveInput().z);
    EXPECT_EQ(TickAndRun(seek, 56), BehaviorStatus::Running);
    BehaviorStatus status = TickAndRun(seek);
    for (int tick = 0; tick < 2 && status == BehaviorStatus::Running; ++tick)
        status = TickAndRun(seek);
    EXPECT_EQ(status, BehaviorStatus::Success) << "a burst is 1.0 s of ticks";
    ExpectStill("after the burst");
    EXPECT_EQ(SteeringOf(bot)->GetBehavior(), nullptr);

    // Aborted mid-burst: the same.
    TickAndRun(seek, 3);
    ASSERT_NE(MoveInput().z, 0.0f);
    seek.Abort();
    ExpectStill("after the abort");
    EXPECT_EQ(SteeringOf(bot)->GetBehavior(), nullptr);
}

TEST_F(BotMovementTest, AWallOnTheRolledSideMakesTheStrafePickTheOpenSideForTheWholeBurst)
{
    BehaviorStrafeLeftRight strafe;
    strafe.Bind(TreeOf(bot)->GetInjector());
    // A burst of 2.5 s to side 1 (facing × up: -x, toward the west wall 10 units away).
    random.Script({5000, 1});
    ASSERT_EQ(TickAndRun(strafe), BehaviorStatus::Running);
    EXPECT_EQ(strafe.GetSide(), 0u);
    EXPECT_FLOAT_EQ(strafe.GetTimeLeft(), 2.5f);
    EXPECT_EQ(MoveInput().x, 1.0f);
    EXPECT_EQ(MoveInput().z, 0.0f);
    EXPECT_EQ(AnimationOf(bot)->GetMoveX(), 1.0f);
    for (int tick = 0; tick < 120; ++tick) {
        ASSERT_EQ(TickAndRun(strafe), BehaviorStatus::Running) << tick;
        ASSERT_EQ(strafe.GetSide(), 0u) << tick;
        ASSERT_EQ(MoveInput().x, 1.0f) << tick;
    }
    EXPECT_EQ(random.Draws(), 2u) << "one roll for the burst";
    EXPECT_GT(BodyOf(bot)->GetCenterOfMass().x, -25.0f) << "the bot went east";

    // The same roll with the open side first: kept as rolled.
    BehaviorStrafeLeftRight again;
    again.Bind(TreeOf(bot)->GetInjector());
    random.Script({5000, 0});
    EXPECT_EQ(again.Tick(kDt), BehaviorStatus::Running);
    EXPECT_EQ(again.GetSide(), 0u);

    again.Abort();
    ExpectStill("after the strafe ended");
}

TEST_F(BotMovementTest, AKnockedBackBotsStrafeKeepsRunningAndLeavesTheMoveInputAlone)
{
    BehaviorStrafeLeftRight strafe;
    strafe.Bind(TreeOf(bot)->GetInjector());
    PlayerOf(bot)->m_stunTimer = 1.0f;
    MotorOf(bot)->m_moveInput = Vec4(0.25f, 0.0f, 0.5f, 0.0f);
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(strafe.Tick(kDt), BehaviorStatus::Running);
    EXPECT_EQ(MoveInput().x, 0.25f);
    EXPECT_EQ(MoveInput().z, 0.5f);
    EXPECT_EQ(random.Draws(), 0u);
}

TEST_F(BotMovementTest, AStrafeBlockedOnBothSidesHandsOverToTheSeek)
{
    Wall("east", -25.0f, 5.0f, -30.0f, Vec4(0.5f, 5.0f, 3.0f, 0.0f));
    Entity* enemy = Player("enemy", "orange", -30.0f, 2.0f, -10.0f);
    Run(3); // in the physics, sensed, then chosen
    ASSERT_EQ(TargetingOf(bot)->GetTarget(), enemy);
    Selector* choice = Holding<Selector>({new BehaviorStrafeLeftRight, new BehaviorSeekTarget});
    std::unique_ptr<Behavior> owner(choice);
    choice->Bind(TreeOf(bot)->GetInjector());
    EXPECT_EQ(TickAndRun(*choice), BehaviorStatus::Running);
    EXPECT_EQ(choice->GetChild(0)->GetStatus(), BehaviorStatus::Failure);
    EXPECT_EQ(choice->GetChild(1)->GetStatus(), BehaviorStatus::Running);
    EXPECT_EQ(TickAndRun(*choice), BehaviorStatus::Running);
    EXPECT_GT(MoveInput().z, 0.9f) << "seeking the enemy ahead";
}

} // namespace
} // namespace quellor::test
