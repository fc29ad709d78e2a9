// The explore leaf on a bot at the red spawn point (-30, -30) of the arena: asking for paths,
// walking them to within 10 units of each node, jump edges, the dead flag, a graph without
// nodes and a node that leaves the graph mid-path. Paths are given by hand once the planner's
// own answer has come (its connections are one-shot).
#include "tests/ai/BotWorldKit.h"

#include "ai/behavior/BehaviorExplore.h"
#include "ai/steering/MotorSeekPosition.h"
#include "ai/steering/Steering.h"
#include "tests/support/StdoutCapture.h"

#include <gmock/gmock.h>

#include <cmath>

namespace quellor::test {
namespace {

constexpr float kDt = tarsel::test::GameWorld::kDt;

class BotExploreTest : public HeldBotTest {
protected:
    void SetUp() override
    {
        HeldBotTest::SetUp();
        if (HasFatalFailure())
            return;
        random.Script({4}); // goals at node 4 (25, 25), across the arena
        explore.Bind(TreeOf(bot)->GetInjector());
    }

    // Past the first tick's failure and the planner's own path: the leaf follows a path.
    void StartFollowing()
    {
        ASSERT_EQ(explore.Tick(kDt), BehaviorStatus::Failure) << "the first tick fails";
        ASSERT_EQ(explore.Tick(kDt), BehaviorStatus::Running);
        ASSERT_EQ(explore.GetState(), BehaviorExplore::kWaiting);
        for (int frame = 0; frame < 60 && explore.GetState() == BehaviorExplore::kWaiting; ++frame)
            Run(1);
        ASSERT_EQ(explore.GetState(), BehaviorExplore::kFollowing);
    }

    float AcrossTo(const Vec4& point) const
    {
        const Vec4 c = BodyOf(bot)->GetCenterOfMass();
        return std::hypot(point.x - c.x, point.z - c.z);
    }
    const Vec4& NodeAt(std::uint32_t id) { return ai->GetNavGraph().GetNode(id)->position; }

    BehaviorExplore explore;
};

TEST_F(BotExploreTest, WithoutNodesTheRequestFailsAndTheLeafFailsEveryTick)
{
    for (std::uint32_t id = 0; id < 8; ++id)
        ai->GetNavGraph().RemoveNode(id);
    for (int tick = 0; tick < 5; ++tick) {
        EXPECT_EQ(explore.Tick(kDt), BehaviorStatus::Failure) << tick;
        EXPECT_EQ(explore.GetState(), BehaviorExplore::kStopped) << tick;
        Run(1);
    }
    EXPECT_EQ(SteeringOf(bot)->GetBehavior(), nullptr);
    // Every start asked anew; no search ever ran.
    EXPECT_EQ(bot->GetComponent<PathPlanner>()->GetRequestCount(), 5u);
    EXPECT_EQ(bot->GetComponent<PathPlanner>()->GetSliceCount(), 0u);
}

TEST_F(BotExploreTest, APathIsWalkedNodeByNodeAndTheTickWithinTenUnitsOfTheLastNodeSucceeds)
{
    StartFollowing();
    // Node 0 (-25, -25) lies within 10 units: the first tick moves on to node 7 (-28, 0).
    explore.OnPathFound({Edge(0, 7, 25.0f, 0)});
    EXPECT_EQ(explore.GetWaypoint().x, NodeAt(0).x);
    ASSERT_EQ(explore.Tick(kDt), BehaviorStatus::Running);
    EXPECT_EQ(explore.GetWaypoint().z, NodeAt(7).z);
    EXPECT_EQ(explore.GetNext(), 1u);
    ASSERT_NE(dynamic_cast<MotorSeekPosition*>(SteeringOf(bot)->GetBehavior()), nullptr);
    Run(1);

    // While exploring, facing is the body's forward: behind the way the bot walks once its
    // legs have turned, which this test leaves to the motor alone.
    ASSERT_EQ(explore.Tick(kDt), BehaviorStatus::Running);
    const Vec4 forward = steering::Normalize(BodyOf(bot)->GetForward());
    EXPECT_FLOAT_EQ(DataOf(bot)->facing.x, forward.x);
    EXPECT_FLOAT_EQ(DataOf(bot)->facing.z, forward.z);
    EXPECT_FLOAT_EQ(AnimationOf(bot)->GetAimX(), forward.x);
    EXPECT_GT(MotorOf(bot)->m_moveInput.z, 0.9f) << "north to node 7";
    Run(1);

    BehaviorStatus status = BehaviorStatus::Running;
    int frames = 0;
    for (; frames < 600 && status == BehaviorStatus::Running; ++frames) {
        const float before = AcrossTo(NodeAt(7));
        status = explore.Tick(kDt);
        if (status == BehaviorStatus::Running) {
            ASSERT_GT(before, 10.0f) << frames;
        } else {
            ASSERT_LE(before, 10.0f);
        }
        Run(1);
    }
    EXPECT_EQ(status, BehaviorStatus::Success);
    EXPECT_EQ(explore.GetState(), BehaviorExplore::kStopped) << "terminated";
    EXPECT_EQ(SteeringOf(bot)->GetBehavior(), nullptr);
    EXPECT_EQ(MotorOf(bot)->m_moveInput.z, 0.0f);
}

TEST_F(BotExploreTest, AJumpEdgeAsksForAJumpEveryTickOnTheGroundButNotWhenLiftedOrInTheAir)
{
    StartFollowing();
    explore.OnPathFound({Edge(0, 1, 25.0f, 1)});
    ASSERT_TRUE(PlayerOf(bot)->m_onGround);
    ASSERT_EQ(explore.Tick(kDt), BehaviorStatus::Running);
    EXPECT_EQ(explore.GetEdgeType(), 1u);
    EXPECT_TRUE(MotorOf(bot)->m_jumpRequested);
    MotorOf(bot)->m_jumpRequested = false;
    explore.Tick(kDt);
    EXPECT_TRUE(MotorOf(bot)->m_jumpRequested) << "renewed";

    MotorOf(bot)->m_jumpRequested = false;
    PlayerOf(bot)->m_isLifted = true;
    explore.Tick(kDt);
    EXPECT_FALSE(MotorOf(bot)->m_jumpRequested) << "lifted";
    PlayerOf(bot)->m_isLifted = false;
    PlayerOf(bot)->m_onGround = false;
    explore.Tick(kDt);
    EXPECT_FALSE(MotorOf(bot)->m_jumpRequested) << "in the air";
}

TEST_F(BotExploreTest, TheDeadFlagEndsTheExploration)
{
    StartFollowing();
    ASSERT_NE(SteeringOf(bot)->GetBehavior(), nullptr);
    PlayerOf(bot)->m_dying = true;
    EXPECT_EQ(explore.Tick(kDt), BehaviorStatus::Failure);
    EXPECT_EQ(explore.GetState(), BehaviorExplore::kStopped);
    EXPECT_EQ(SteeringOf(bot)->GetBehavior(), nullptr);
    EXPECT_EQ(MotorOf(bot)->m_moveInput.x, 0.0f);
    EXPECT_EQ(MotorOf(bot)->m_moveInput.z, 0.0f);
}

TEST_F(BotExploreTest, ANodeThatLeavesTheGraphMidPathStopsTheWalkAndTheNextStartAsksAgain)
{
    StartFollowing();
    explore.OnPathFound({Edge(0, 7, 25.0f, 0)});
    ai->GetNavGraph().RemoveNode(7);
    tarsel::test::StdoutCapture capture;
    EXPECT_EQ(explore.Tick(kDt), BehaviorStatus::Failure);
    EXPECT_THAT(capture.Text(), ::testing::HasSubstr("node 7"));
    EXPECT_EQ(explore.GetState(), BehaviorExplore::kStopped);
    EXPECT_EQ(SteeringOf(bot)->GetBehavior(), nullptr);
    EXPECT_EQ(MotorOf(bot)->m_moveInput.x, 0.0f);
    EXPECT_EQ(MotorOf(bot)->m_moveInput.z, 0.0f);
    EXPECT_EQ(explore.Tick(kDt), BehaviorStatus::Running) << "a new request";
    EXPECT_EQ(explore.GetState(), BehaviorExplore::kWaiting);

    // The entry node itself gone: the path is refused as it comes.
    ai->GetNavGraph().RemoveNode(0);
    explore.OnPathFound({Edge(0, 1, 25.0f, 0)});
    EXPECT_EQ(explore.GetState(), BehaviorExplore::kStopped);
    EXPECT_EQ(explore.Tick(kDt), BehaviorStatus::Failure);
}

TEST_F(BotExploreTest, ADeletedLeafIsNoLongerCalledByThePlanner)
{
    auto leaf = std::make_unique<BehaviorExplore>();
    leaf->Bind(TreeOf(bot)->GetInjector());
    leaf->Tick(kDt);
    ASSERT_EQ(leaf->Tick(kDt), BehaviorStatus::Running);
    leaf.reset();
    EXPECT_EQ(bot->GetComponent<PathPlanner>()->pathFound.ConnectionCount(), 0u);
    EXPECT_EQ(bot->GetComponent<PathPlanner>()->pathFailed.ConnectionCount(), 0u);
    Run(30);
}

} // namespace
} // namespace quellor::test
