// The computer player's set-up: the tree it builds, the shapes and parts it gives the entity,
// joining and leaving the match, and archetypes or tuning it must refuse or mend.
#include "tests/ai/BotWorldKit.h"

#include "ai/behavior/BehaviorTreeBuilder.h"
#include "ai/behavior/Composite.h"
#include "ai/behavior/Decorator.h"
#include "ai/behavior/Parallel.h"
#include "ai/behavior/Selector.h"
#include "ai/behavior/UntilFail.h"
#include "gameplay/AttackManager.h"
#include "gameplay/PlayerBody.h"
#include "physics/BoxColliderComponent3D.h"
#include "tests/support/StdoutCapture.h"

#include <gmock/gmock.h>

#include <cmath>
#include <cxxabi.h>
#include <limits>
#include <memory>
#include <typeinfo>

namespace quellor::test {
namespace {

using ::testing::HasSubstr;

std::string TypeName(const Behavior& node)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(node).name(), nullptr, nullptr, &status),
                                                std::free);
    std::string text = status == 0 ? name.get() : typeid(node).name();
    const auto colon = text.rfind("::");
    return colon == std::string::npos ? text : text.substr(colon + 2);
}

// "<depth> <type>" of every node in pre-order.
void Walk(const Behavior* node, int depth, std::vector<std::string>& out, std::vector<const Behavior*>& nodes)
{
    if (!node)
        return;
    out.push_back(std::to_string(depth) + " " + TypeName(*node));
    nodes.push_back(node);
    if (const auto* composite = dynamic_cast<const Composite*>(node))
        for (std::size_t i = 0; i < composite->GetChildCount(); ++i)
            Walk(composite->GetChild(i), depth + 1, out, nodes);
    if (const auto* decorator = dynamic_cast<const Decorator*>(node))
        Walk(decorator->GetChild(), depth + 1, out, nodes);
}

const std::vector<std::string> kBotTree = {
    "0 DecoratorActive",
    "1 Selector",
    "2 Parallel",
    "3 UntilFail",
    "4 BehaviorHasTarget",
    "3 BehaviorLookAtTarget",
    "3 BehaviorWeaponSelector",
    "4 BehaviorShootLift",
    "4 BehaviorShootOrb",
    "3 UntilFail",
    "4 Selector",
    "5 BehaviorStrafeLeftRight",
    "5 BehaviorSeekTarget",
    "3 UntilFail",
    "4 BehaviorAlignWithMovement",
    "2 Parallel",
    "3 UntilFail",
    "4 Invert",
    "5 BehaviorHasTarget",
    "3 Sequence",
    "4 BehaviorExplore",
    "3 UntilFail",
    "4 BehaviorAlignWithMovement",
};

TEST(BehaviorTreeBuilderTest, BuildsTheBotTreeWithItsParallelPoliciesAndRefusesMisplacedNodes)
{
    std::unique_ptr<Behavior> root(BehaviorTreeBuilder::BuildBotTree());
    std::vector<std::string> shape;
    std::vector<const Behavior*> nodes;
    Walk(root.get(), 0, shape, nodes);
    EXPECT_EQ(shape, kBotTree);
    const auto* selector = dynamic_cast<const Composite*>(nodes[1]);
    ASSERT_NE(selector, nullptr);
    const auto* fight = dynamic_cast<const Parallel*>(selector->GetChild(0));
    const auto* roam = dynamic_cast<const Parallel*>(selector->GetChild(1));
    ASSERT_NE(fight, nullptr);
    ASSERT_NE(roam, nullptr);
    EXPECT_EQ(fight->GetSuccessPolicy(), Parallel::RequireAll);
    EXPECT_EQ(fight->GetFailurePolicy(), Parallel::RequireOne);
    EXPECT_EQ(roam->GetSuccessPolicy(), Parallel::RequireOne);
    EXPECT_EQ(roam->GetFailurePolicy(), Parallel::RequireOne);

    // A second child of a decorator and a child of a leaf are dropped; the cursor keeps its
    // pairs, so what follows lands where it belongs, and End stops at the root.
    tarsel::test::StdoutCapture capture;
    Log log;
    BehaviorTreeBuilder builder;
    builder.Add<Selector>()
        .Add<UntilFail>()
        .Leaf<ScriptedLeaf>("a", log)
        .Leaf<ScriptedLeaf>("refused", log)
        .End()
        .Add<ScriptedLeaf>("leaf", log)
        .Leaf<ScriptedLeaf>("under a leaf", log)
        .End()
        .End()
        .End()
        .Leaf<Selector>();
    std::unique_ptr<Behavior> built(builder.Release());
    EXPECT_EQ(builder.Release(), nullptr);
    shape.clear();
    nodes.clear();
    Walk(built.get(), 0, shape, nodes);
    EXPECT_EQ(shape, (std::vector<std::string>{"0 Selector", "1 UntilFail", "2 ScriptedLeaf", "1 ScriptedLeaf", "1 Selector"}));
    EXPECT_THAT(capture.Text(), HasSubstr("takes no further child"));
}

class BotSetupTest : public BotWorldTest {};

TEST_F(BotSetupTest, TheStartedBotHasItsShapesBodyPartsAimAndTreeBoundToIt)
{
    Entity* bot = CloneBot("bot", "red");
    ASSERT_NE(bot, nullptr);
    const Vec4 centre = BodyOf(bot)->GetCenterOfMass();
    ASSERT_NE(SetupOf(bot), nullptr);
    EXPECT_FALSE(SetupOf(bot)->started);
    Run(1);
    ASSERT_TRUE(SetupOf(bot)->started);

    const auto* box = dynamic_cast<BoxColliderComponent3D*>(bot->GetComponent(BoxColliderComponent3D::ID));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->m_halfExtents.x, 0.5f);
    EXPECT_EQ(box->m_halfExtents.y, 2.0f);
    EXPECT_EQ(box->m_halfExtents.z, 0.5f);
    EXPECT_EQ(box->m_center.x, 0.0f);
    EXPECT_EQ(box->m_center.y, 2.0f);
    EXPECT_EQ(box->m_center.z, 0.0f);
    EXPECT_EQ(box->m_pType, 1);
    const auto* sensor = dynamic_cast<BoxColliderComponent3D*>(bot->GetComponent(PlayerBody::kFloorSensorKey));
    ASSERT_NE(sensor, nullptr);
    EXPECT_EQ(sensor->m_halfExtents.x, 0.5f);
    EXPECT_EQ(sensor->m_halfExtents.y, 0.5f);
    EXPECT_EQ(sensor->m_halfExtents.z, 0.5f);
    EXPECT_EQ(sensor->m_center.x, 0.0f);
    EXPECT_EQ(sensor->m_center.y, 0.0f);
    EXPECT_EQ(sensor->m_center.z, 0.0f);
    EXPECT_EQ(sensor->m_pType, BoxColliderComponent3D().m_pType);
    EXPECT_TRUE(sensor->IsSensor());
    EXPECT_EQ(MotorOf(bot)->GetFloorSensor(), sensor);

    const RigidBodyComponent3D* body = BodyOf(bot);
    EXPECT_EQ(body->GetType(), 2);
    EXPECT_FALSE(body->m_allowRotation);
    EXPECT_FALSE(body->m_hasGravity);
    const PlayerDataComponent* data = PlayerOf(bot);
    EXPECT_FLOAT_EQ(data->m_spawnRefPoint.x, centre.x);
    EXPECT_FLOAT_EQ(data->m_spawnRefPoint.y, centre.y + 20.0f);
    EXPECT_FLOAT_EQ(data->m_spawnRefPoint.z, centre.z);
    EXPECT_FALSE(data->m_liftInUse);

    EXPECT_NE(bot->GetComponent<OrbComponent>(), nullptr);
    EXPECT_NE(bot->GetComponent<AttackManager>(), nullptr);
    EXPECT_NE(bot->GetComponent<PathPlanner>(), nullptr);
    EXPECT_NE(SteeringOf(bot), nullptr);
    EXPECT_NE(TargetingOf(bot), nullptr);
    EXPECT_NE(MemoryOf(bot), nullptr);
    ASSERT_NE(TreeOf(bot), nullptr);
    EXPECT_EQ(ai->GetBehaviorTrees().Count(), 1u);

    // The aim comes from the body's forward: the bot faces away from where it aims.
    const Vec4 forward = body->GetForward();
    EXPECT_FLOAT_EQ(AnimationOf(bot)->GetAimX(), -forward.x);
    EXPECT_FLOAT_EQ(AnimationOf(bot)->GetAimY(), -forward.z);
    EXPECT_EQ(AnimationOf(bot)->GetAimPitch(), 0.0f);

    std::vector<std::string> shape;
    std::vector<const Behavior*> nodes;
    Walk(TreeOf(bot)->GetRoot(), 0, shape, nodes);
    EXPECT_EQ(shape, kBotTree);
    for (const Behavior* node : nodes)
        EXPECT_EQ(node->GetEntity(), bot) << TypeName(*node);
}

TEST_F(BotSetupTest, BotsJoinAsComputerPlayersAndACancelTakesOneOutExactlyOnce)
{
    const unsigned screens = world->graphics->GetActiveScreens();
    Entity* first = StartedBot("first", "red");
    Entity* second = StartedBot("second", "orange");
    ASSERT_EQ(world->logic->GetPlayerCount(), 2u);
    for (const auto& entry : world->logic->GetPlayerList())
        EXPECT_FALSE(entry.person);
    EXPECT_EQ(Listed(first), 1u);
    EXPECT_EQ(world->graphics->GetActiveScreens(), screens);

    BotBehavior* setup = SetupOf(first);
    ASSERT_NE(setup, nullptr);
    setup->Cancel();
    EXPECT_EQ(Listed(first), 0u);
    EXPECT_EQ(Listed(second), 1u);
    EXPECT_FALSE(setup->started);
    // A second teardown finds nothing to undo.
    setup->Teardown();
    EXPECT_EQ(Listed(second), 1u);
    EXPECT_EQ(world->logic->GetPlayerCount(), 1u);
    Run(2);

    // An action cancelled before it started removes nothing, not even a player it names.
    {
        auto unstarted = std::make_unique<BotBehavior>();
        unstarted->SetInjector(SetupOf(second)->GetInjector());
        unstarted->Cancel();
    }
    EXPECT_EQ(Listed(second), 1u);
}

TEST_F(BotSetupTest, ABotJoiningWhileTheMatchIsHeldHasNoControlUntilItIsGiven)
{
    // A running match: the bot keeps the control its archetype gives.
    Entity* early = StartedBot("early", "red");
    EXPECT_TRUE(PlayerOf(early)->canControl);
    // Held, as by the level intro that began before the bot was spawned.
    world->logic->m_active = false;
    Entity* late = StartedBot("late", "orange");
    ASSERT_EQ(Listed(late), 1u);
    EXPECT_FALSE(PlayerOf(late)->canControl);
    EXPECT_TRUE(PlayerOf(early)->canControl);
}

TEST_F(BotSetupTest, DestroyingEveryEntityTakesEachBotOutOfTheListOnce)
{
    LoadArena();
    StartedBot("a", "red");
    StartedBot("b", "orange");
    StartedBot("c", "purple");
    Run(30);
    ASSERT_EQ(world->logic->GetPlayerCount(), 3u);
    world->engine->DestroyDefaultEntities();
    world->Step(1);
    EXPECT_EQ(world->logic->GetPlayerCount(), 0u);
}

TEST_F(BotSetupTest, AnArchetypeMissingAPartWarnsNamingItAndTheBotStaysOut)
{
    std::string text = bot_documents::kBotArchetype;
    const std::string part = "  <AnimationControllerComponent/>\n";
    text.erase(text.find(part), part.size());
    world->WriteFile("archetypes/partial.arch", text);
    world->resources->ScanDirectory("");
    Entity* bot = world->objects->Clone("partial.arch", "partial", "default");
    ASSERT_NE(bot, nullptr);
    tarsel::test::StdoutCapture capture;
    Run(2);
    const std::string log = capture.Text();
    EXPECT_THAT(log, HasSubstr("\"partial\""));
    EXPECT_THAT(log, HasSubstr("AnimationControllerComponent"));
    EXPECT_EQ(world->logic->GetPlayerCount(), 0u);
    ASSERT_NE(SetupOf(bot), nullptr);
    EXPECT_FALSE(SetupOf(bot)->started);
    EXPECT_EQ(TreeOf(bot), nullptr);
    // Its cancel has nothing to undo.
    world->engine->DestroyDefaultEntities();
    world->Step(1);
    EXPECT_EQ(world->logic->GetPlayerCount(), 0u);
}

// A world whose "GameLogicSystem" is some other system: there is no game logic to join.
class BotWithoutGameLogicTest : public BotWorldTest {
protected:
    std::vector<tarsel::test::GameWorld::Extra> ExtraSystems() const override
    {
        std::vector<tarsel::test::GameWorld::Extra> extras = BotWorldTest::ExtraSystems();
        extras.push_back({"GameLogicSystem", "GameLogicSystem", [] { return new System; }});
        return extras;
    }
};

TEST_F(BotWithoutGameLogicTest, TheBotWarnsAndStaysOut)
{
    Entity* bot = CloneBot("lost", "red");
    tarsel::test::StdoutCapture capture;
    world->Step(2);
    EXPECT_THAT(capture.Text(), HasSubstr("GameLogicSystem"));
    ASSERT_NE(SetupOf(bot), nullptr);
    EXPECT_FALSE(SetupOf(bot)->started);
    EXPECT_EQ(bot->GetComponent<PathPlanner>(), nullptr);
    world->engine->DestroyDefaultEntities();
    world->Step(1);
    EXPECT_EQ(world->logic->GetPlayerCount(), 0u);
}

TEST_F(BotSetupTest, TuningValuesThatAreNoNumbersTakeTheirDefaultsWithAWarning)
{
    Entity* bot = CloneBot("odd", "red");
    AIDataComponent* data = DataOf(bot);
    data->reactionTime = std::numeric_limits<float>::quiet_NaN();
    data->liftBias = std::numeric_limits<float>::infinity();
    data->accuracy = -3.0f; // a number: kept
    tarsel::test::StdoutCapture capture;
    Run(1);
    EXPECT_THAT(capture.Text(), HasSubstr("reactionTime"));
    EXPECT_EQ(data->reactionTime, AIDataComponent().reactionTime);
    EXPECT_EQ(data->liftBias, AIDataComponent().liftBias);
    EXPECT_EQ(data->accuracy, -3.0f);
    EXPECT_EQ(world->logic->GetPlayerCount(), 1u);
}

} // namespace
} // namespace quellor::test
