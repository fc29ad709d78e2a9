// The BehaviorTree component: binding a tree to its agent, replacing and refusing roots, being
// ticked by the AI system with the frame time between steering and targeting, the control
// decorator on a real player record, and the tree going with its entity.
#include "tests/ai/AITestKit.h"
#include "tests/ai/AIWorldKit.h"
#include "tests/ai/BehaviorTestKit.h"

#include "ai/behavior/BehaviorTree.h"
#include "ai/behavior/BehaviorWeaponSelector.h"
#include "ai/behavior/DecoratorActive.h"
#include "ai/behavior/Invert.h"
#include "ai/behavior/Parallel.h"
#include "ai/behavior/Selector.h"
#include "tests/support/StdoutCapture.h"

#include <gmock/gmock.h>

namespace quellor::test {
namespace {

using ::testing::ElementsAre;

class BehaviorTreeTest : public AITest {
protected:
    BehaviorTree* TreeOn(Entity* entity) { return entity->AddComponent<BehaviorTree>(true); }
    ScriptedLeaf* Leaf(const std::string& name, BehaviorStatus result = BehaviorStatus::Running)
    {
        return new ScriptedLeaf(name, log, result);
    }

    Log log;
};

TEST_F(BehaviorTreeTest, SetRootBindsEveryNodeToTheAgentsInjector)
{
    Entity* agent = Agent("agent", ZOR::float3(), false);
    BehaviorTree* tree = TreeOn(agent);
    ScriptedLeaf* deep = Leaf("deep");
    ScriptedLeaf* weapon = Leaf("weapon");
    auto* invert = Over<Invert>(deep);
    auto* weapons = Holding<BehaviorWeaponSelector>({weapon});
    auto* parallel = Holding<Parallel>({weapons}, Parallel::RequireOne, Parallel::RequireOne);
    auto* root = Holding<Selector>({invert, parallel});
    tree->SetRoot(root);
    EXPECT_EQ(tree->GetRoot(), root);
    for (Behavior* node : std::initializer_list<Behavior*>{root, invert, deep, parallel, weapons, weapon}) {
        EXPECT_EQ(node->GetInjector(), tree->GetInjector());
        EXPECT_EQ(node->GetEntity(), agent);
        EXPECT_EQ(node->GetMeta(), QLObject::StaticMeta()) << "nodes have no record of their own";
    }
}

TEST_F(BehaviorTreeTest, ANullRootIsRefusedAndANewRootReplacesAndDeletesTheOld)
{
    BehaviorTree* tree = TreeOn(Agent("agent", ZOR::float3(), false));
    bool oldGone = false;
    ScriptedLeaf* old = Leaf("old");
    old->destroyed = &oldGone;
    tree->SetRoot(old);
    tarsel::test::StdoutCapture capture;
    tree->SetRoot(nullptr);
    EXPECT_NE(capture.Text().find("Warning: BehaviorTree of \"agent\": no root given; the tree is kept"),
              std::string::npos)
        << capture.Text();
    EXPECT_EQ(tree->GetRoot(), old);
    tree->SetRoot(old); // the same root again is kept
    EXPECT_FALSE(oldGone);
    tree->SetRoot(Leaf("new"));
    EXPECT_TRUE(oldGone);
}

TEST_F(BehaviorTreeTest, TheAISystemTicksEveryTreeWithTheFrameTimeAndATreeGoesWithItsEntity)
{
    Entity* agent = Agent("agent", ZOR::float3(), false);
    ScriptedLeaf* leaf = Leaf("leaf");
    bool freed = false;
    leaf->destroyed = &freed;
    TreeOn(agent)->SetRoot(leaf);
    TreeOn(Agent("rootless", ZOR::float3(), false)); // does nothing
    EXPECT_EQ(ai->GetBehaviorTrees().Count(), 2u);
    ai->Update(0.25f);
    EXPECT_EQ(leaf->lastDt, 0.25f);
    Frames(1);
    EXPECT_EQ(leaf->lastDt, 1.0f / 60.0f);
    EXPECT_THAT(log, ElementsAre("init leaf", "update leaf", "update leaf"));

    agent->Destroy();
    Frames(1);
    EXPECT_TRUE(freed);
    EXPECT_EQ(ai->GetBehaviorTrees().Count(), 1u);
}

TEST_F(BehaviorTreeTest, DecoratorActiveStopsTheSubtreeWhenControlIsLostAndRestartsItWhenItReturns)
{
    Entity* agent = Agent("agent", ZOR::float3(), false);
    auto* data = agent->AddComponent<PlayerDataComponent>(true);
    ScriptedLeaf* leaf = Leaf("leaf");
    auto* active = Over<DecoratorActive>(leaf);
    TreeOn(agent)->SetRoot(active);
    Frames(2);
    EXPECT_EQ(active->GetStatus(), BehaviorStatus::Running);

    data->canControl = false;
    Frames(1);
    EXPECT_EQ(active->GetStatus(), BehaviorStatus::Failure);
    EXPECT_EQ(leaf->GetStatus(), BehaviorStatus::Aborted);
    Frames(1);
    EXPECT_THAT(log, ElementsAre("init leaf", "update leaf", "update leaf", "term leaf"));

    data->canControl = true;
    Frames(1);
    EXPECT_THAT(log, ElementsAre("init leaf", "update leaf", "update leaf", "term leaf", "init leaf", "update leaf"));
}

TEST_F(BehaviorTreeTest, DecoratorActiveOnAnAgentWithoutAPlayerRecordFailsWithOneWarning)
{
    Entity* agent = Agent("agent", ZOR::float3(), false);
    ScriptedLeaf* leaf = Leaf("leaf");
    auto* active = Over<DecoratorActive>(leaf);
    TreeOn(agent)->SetRoot(active);
    tarsel::test::StdoutCapture capture;
    Frames(3);
    EXPECT_EQ(active->GetStatus(), BehaviorStatus::Failure);
    EXPECT_TRUE(log.empty());
    const std::string& text = capture.Text();
    const std::string warning = "DecoratorActive of \"agent\": \"agent\" has no usable PlayerDataComponent";
    EXPECT_NE(text.find(warning), std::string::npos) << text;
    EXPECT_EQ(text.find(warning), text.rfind(warning));
}

// Trees run after steering and before targeting and the memory refresh, all in one frame.
class BehaviorTreePassTest : public AIWorldTest {};

TEST_F(BehaviorTreePassTest, TreesSeeThisFramesSteeringAndTheLastFramesTargetAndMemory)
{
    Entity* bot = Agent("bot", "red");
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 6.0f);
    DataOf(bot)->facing = Vec4(0.0f, 0.0f, -1.0f, 0.0f); // looking away while the scene settles
    Log log;
    auto* steering = bot->AddComponent<SteeringComponent>(true);
    steering->SetBehavior(new ScriptedBehavior("steer", &log));
    auto* leaf = new ScriptedLeaf("tree", log);
    leaf->hook = [&] {
        log.push_back(std::string("target ") + (TargetingOf(bot)->HasTarget() ? "yes" : "no") + ", visible " +
                      (MemoryOf(bot)->IsVisible(enemy) ? "yes" : "no"));
    };
    bot->AddComponent<BehaviorTree>(true)->SetRoot(leaf);
    world->Step(2);

    DataOf(bot)->facing = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
    log.clear();
    world->Step();
    EXPECT_THAT(log, ElementsAre("steer", "update tree", "target no, visible no"));
    EXPECT_TRUE(MemoryOf(bot)->IsVisible(enemy));
    EXPECT_FALSE(TargetingOf(bot)->HasTarget()) << "targeting ran before the memory saw the enemy";
    log.clear();
    world->Step();
    EXPECT_THAT(log, ElementsAre("steer", "update tree", "target no, visible yes"));
    EXPECT_TRUE(TargetingOf(bot)->HasTarget());
    EXPECT_EQ(leaf->lastDt, tarsel::test::GameWorld::kDt);
}

} // namespace
} // namespace quellor::test
