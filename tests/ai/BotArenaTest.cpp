// Whole bots in the arena at dt 1/60 with the simulated clock and scripted draws: a lone bot's
// explorations, three bots of three teams finding and fighting each other, and what losing
// control does to the tree.
#include "tests/ai/BotWorldKit.h"

#include "ai/behavior/BehaviorExplore.h"
#include "ai/behavior/Composite.h"
#include "ai/behavior/Decorator.h"
#include "ai/steering/Steering.h"
#include "gameplay/LiftComponent.h"

#include <cmath>
#include <vector>

namespace quellor::test {
namespace {

// Draws for goals and strafes that cycle through the arena's nodes.
const std::vector<int> kDraws = {4, 1, 6, 3, 2, 7, 5, 0, 5003, 2501, 7777, 1234};

class BotArenaTest : public BotWorldTest {
protected:
    void SetUp() override
    {
        BotWorldTest::SetUp();
        LoadArena();
        random.Script(kDraws);
    }

    // Root, Selector, its roam Parallel, the Sequence, the explore leaf.
    static BehaviorExplore* ExploreOf(Entity* bot)
    {
        auto* active = dynamic_cast<Decorator*>(TreeOf(bot)->GetRoot());
        auto* selector = active ? dynamic_cast<Composite*>(active->GetChild()) : nullptr;
        auto* roam = selector ? dynamic_cast<Composite*>(selector->GetChild(1)) : nullptr;
        auto* sequence = roam ? dynamic_cast<Composite*>(roam->GetChild(1)) : nullptr;
        return sequence ? dynamic_cast<BehaviorExplore*>(sequence->GetChild(0)) : nullptr;
    }
    // The strafe/seek selector of the fight branch.
    static Composite* FightMovesOf(Entity* bot)
    {
        auto* active = dynamic_cast<Decorator*>(TreeOf(bot)->GetRoot());
        auto* selector = active ? dynamic_cast<Composite*>(active->GetChild()) : nullptr;
        auto* fight = selector ? dynamic_cast<Composite*>(selector->GetChild(0)) : nullptr;
        auto* repeat = fight ? dynamic_cast<Decorator*>(fight->GetChild(3)) : nullptr;
        return repeat ? dynamic_cast<Composite*>(repeat->GetChild()) : nullptr;
    }
    static bool Finite(const Vec4& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
};

TEST_F(BotArenaTest, ALoneBotKeepsExploringItsRootSucceedingForOneTickPerExploration)
{
    Entity* bot = StartedBot("lone", "red");
    ASSERT_NE(TreeOf(bot), nullptr);
    int successes = 0;
    bool lastSucceeded = false;
    for (int frame = 0; frame < 60 * 40; ++frame) {
        Run(1);
        const bool succeeded = TreeOf(bot)->GetRoot()->GetStatus() == BehaviorStatus::Success;
        ASSERT_FALSE(succeeded && lastSucceeded) << "two successes in a row at frame " << frame;
        if (succeeded) {
            ++successes;
            ASSERT_EQ(ExploreOf(bot)->GetStatus(), BehaviorStatus::Success);
        }
        lastSucceeded = succeeded;
        ASSERT_TRUE(Finite(BodyOf(bot)->GetCenterOfMass())) << frame;
    }
    EXPECT_GE(successes, 2);
    EXPECT_FALSE(TargetingOf(bot)->HasTarget());
}

TEST_F(BotArenaTest, ThreeBotsOfThreeTeamsTravelHoldTargetsAndShoot)
{
    const char* names[] = {"redBot", "orangeBot", "purpleBot"};
    std::vector<Entity*> bots;
    for (int i = 0; i < 3; ++i)
        bots.push_back(CloneBot(names[i], bot_documents::kArenaTeams[i]));
    Run(2);
    std::vector<Vec4> start;
    for (Entity* bot : bots) {
        ASSERT_NE(TreeOf(bot), nullptr);
        start.push_back(BodyOf(bot)->GetCenterOfMass());
    }
    std::vector<float> travelled(3, 0.0f);
    std::vector<bool> targeted(3, false);
    std::vector<bool> shotOrb(3, false);
    std::vector<bool> beamed(3, false);
    for (int frame = 0; frame < 60 * 60; ++frame) {
        Run(1);
        for (std::size_t i = 0; i < bots.size(); ++i) {
            Entity* bot = bots[i];
            const Vec4 centre = BodyOf(bot)->GetCenterOfMass();
            ASSERT_TRUE(Finite(centre)) << names[i] << " at frame " << frame;
            ASSERT_LT(std::max(std::fabs(centre.x), std::fabs(centre.z)), 40.0f)
                << names[i] << " left the arena at frame " << frame;
            ASSERT_TRUE(Finite(BodyOf(bot)->GetForward())) << names[i] << " at frame " << frame;
            ASSERT_TRUE(Finite(DataOf(bot)->facing)) << names[i] << " at frame " << frame;
            travelled[i] = std::max(travelled[i], std::hypot(centre.x - start[i].x, centre.z - start[i].z));
            targeted[i] = targeted[i] || TargetingOf(bot)->HasTarget();
            shotOrb[i] = shotOrb[i] || !bot->GetComponent<OrbComponent>()->GetOrbs().empty();
            beamed[i] = beamed[i] || bot->GetComponent<LiftComponent>()->GetBeamEntity() != nullptr;
        }
    }
    for (std::size_t i = 0; i < bots.size(); ++i) {
        EXPECT_GT(travelled[i], 10.0f) << names[i];
        EXPECT_TRUE(targeted[i]) << names[i];
        EXPECT_TRUE(shotOrb[i]) << names[i];
        EXPECT_TRUE(beamed[i]) << names[i];
    }
}

TEST_F(BotArenaTest, LosingControlFailsTheRootAndStopsTheRunningMovementButLeavesTheExploreAsItWas)
{
    Entity* bot = StartedBot("lone", "red");
    BehaviorExplore* explore = ExploreOf(bot);
    ASSERT_NE(explore, nullptr);
    for (int frame = 0; frame < 600 && explore->GetState() != BehaviorExplore::kFollowing; ++frame)
        Run(1);
    Run(10);
    ASSERT_EQ(explore->GetState(), BehaviorExplore::kFollowing);
    ASSERT_EQ(explore->GetStatus(), BehaviorStatus::Running);

    PlayerOf(bot)->canControl = false;
    Run(1);
    EXPECT_EQ(TreeOf(bot)->GetRoot()->GetStatus(), BehaviorStatus::Failure);
    // The sequence does not abort its child: the leaf keeps its status, state and walk.
    EXPECT_EQ(explore->GetStatus(), BehaviorStatus::Running);
    EXPECT_EQ(explore->GetState(), BehaviorExplore::kFollowing);
    const std::size_t next = explore->GetNext();
    const Vec4 waypoint = explore->GetWaypoint();
    Run(120);
    EXPECT_EQ(TreeOf(bot)->GetRoot()->GetStatus(), BehaviorStatus::Failure);
    EXPECT_EQ(explore->GetNext(), next) << "not ticked";
    EXPECT_EQ(explore->GetWaypoint().x, waypoint.x);

    // A path found while the leaf is left behind still installs its seek.
    SteeringOf(bot)->ClearBehavior();
    explore->OnPathFound({Edge(0, 7, 25.0f, 0)});
    EXPECT_NE(SteeringOf(bot)->GetBehavior(), nullptr);

    PlayerOf(bot)->canControl = true;
    Run(1);
    EXPECT_NE(TreeOf(bot)->GetRoot()->GetStatus(), BehaviorStatus::Failure);
}

TEST_F(BotArenaTest, LosingControlMidFightClearsTheMoveInputOfTheRunningStrafeOrSeek)
{
    Entity* fighter = StartedBot("fighter", "red");
    Player("enemy", "orange", -30.0f, 2.0f, -10.0f);
    DataOf(fighter)->facing = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
    Composite* moves = FightMovesOf(fighter);
    ASSERT_NE(moves, nullptr);
    bool moving = false;
    for (int frame = 0; frame < 600 && !moving; ++frame) {
        Run(1);
        moving = (moves->GetChild(0)->IsRunning() || moves->GetChild(1)->IsRunning()) &&
                 steering::Length(MotorOf(fighter)->m_moveInput) > 0.5f;
    }
    ASSERT_TRUE(moving) << "the fight's movement never ran";
    PlayerOf(fighter)->canControl = false;
    Run(1);
    EXPECT_EQ(TreeOf(fighter)->GetRoot()->GetStatus(), BehaviorStatus::Failure);
    EXPECT_EQ(MotorOf(fighter)->m_moveInput.x, 0.0f);
    EXPECT_EQ(MotorOf(fighter)->m_moveInput.z, 0.0f);
    EXPECT_EQ(AnimationOf(fighter)->GetMoveX(), 0.0f);
    EXPECT_EQ(AnimationOf(fighter)->GetMoveY(), 0.0f);
}

} // namespace
} // namespace quellor::test
