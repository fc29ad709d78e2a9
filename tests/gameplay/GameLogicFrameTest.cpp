// The game logic's frame: its slots in their fixed order, the start-up and tag set-up frames,
// the delayed score display request and the skinned models before the components.
#include "GameplayTestKit.h"

#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/CharacterController.h"
#include "gameplay/SpawnPointComponent.h"

#include <memory>

namespace quellor::test {
namespace {

using tarsel::test::GameWorldTest;

class GameLogicFrame : public GameWorldTest {
protected:
    // Past the start-up and tag set-up frames.
    void StepIntoPlay() { world->Step(2); }
};

TEST_F(GameLogicFrame, SlotsRunInTableOrderEachHeadToTail)
{
    Log log;
    std::vector<std::unique_ptr<LogicSpy>> spies;
    Log expected;
    constexpr int kSlots = static_cast<int>(LogicSlot::Count);
    for (int slot = 0; slot < kSlots; ++slot)
        for (const char* which : {"head", "tail"})
            expected.push_back(std::to_string(slot) + which);
    // Registered from the last slot back, so only the system can put them in order.
    for (int slot = kSlots - 1; slot >= 0; --slot)
        for (const char* which : {"head", "tail"}) {
            spies.push_back(std::make_unique<LogicSpy>(static_cast<LogicSlot>(slot), &log,
                                                       std::to_string(slot) + which));
            world->logic->Register(spies.back().get());
        }
    StepIntoPlay();
    EXPECT_TRUE(log.empty());
    world->Step();
    EXPECT_EQ(log, expected);
}

TEST_F(GameLogicFrame, RegisteringTwiceAndUnregisteringUnlinkedAreHarmless)
{
    Log log;
    LogicSpy a(LogicSlot::OrbComponent, &log, "a");
    LogicSpy b(LogicSlot::OrbComponent, &log, "b");
    GameLogicSystem& logic = *world->logic;
    logic.Unregister(&a);
    logic.Register(&a);
    logic.Register(&b);
    logic.Register(&a);
    EXPECT_EQ(logic.GetSlot(LogicSlot::OrbComponent).Count(), 2u);
    StepIntoPlay();
    world->Step();
    EXPECT_EQ(log, (Log{"a", "b"}));

    logic.Unregister(&a);
    logic.Unregister(&a);
    EXPECT_EQ(logic.GetSlot(LogicSlot::OrbComponent).Count(), 1u);
    log.clear();
    world->Step();
    EXPECT_EQ(log, (Log{"b"}));
}

TEST_F(GameLogicFrame, ComponentsJoinTheirSlotsAndLeaveWithTheirEntity)
{
    Entity* entity = world->Spawn("mover", 1.0f, 2.0f, 3.0f);
    auto* controller = entity->AddComponent<CharacterController>(true);
    auto* spawn = entity->AddComponent<SpawnPointComponent>(true);
    const GameLogicSystem& logic = *world->logic;
    EXPECT_EQ(logic.GetSlot(LogicSlot::CharacterController).Front(), controller);
    EXPECT_EQ(logic.GetSlot(LogicSlot::SpawnPointComponent).Front(), spawn);
    entity->Destroy();
    world->Step();
    EXPECT_TRUE(logic.GetSlot(LogicSlot::CharacterController).Empty());
    EXPECT_TRUE(logic.GetSlot(LogicSlot::SpawnPointComponent).Empty());
}

// A skinned model that logs its update.
class SkinnedSpy : public GraphicsComponent3DSkinned {
public:
    explicit SkinnedSpy(Log* log) : m_log(log) {}
    void Update(float) override { m_log->push_back("skinned"); }

private:
    Log* m_log;
};

TEST_F(GameLogicFrame, SkinnedModelsAdvanceBeforeTheFirstSlot)
{
    Log log;
    SkinnedSpy skinned(&log);
    LogicSpy first(LogicSlot::CharacterController, &log, "first");
    world->graphics->RegisterGraphicsComponent3DSkinned(&skinned);
    world->logic->Register(&first);
    StepIntoPlay();
    log.clear();
    world->Step();
    world->graphics->UnregisterGraphicsComponent3DSkinned(&skinned);
    EXPECT_EQ(log, (Log{"skinned", "first"}));
}

TEST_F(GameLogicFrame, StartupAndTagSetupFramesUpdateNoComponent)
{
    Log log;
    LogicSpy spy(LogicSlot::AimAssistComponent, &log, "spy");
    GameLogicSystem& logic = *world->logic;
    logic.Register(&spy);

    world->Step(); // start-up: only arms the tag set-up
    EXPECT_TRUE(logic.IsTagSetupPending());
    EXPECT_TRUE(log.empty());
    world->Step(); // tag set-up
    EXPECT_FALSE(logic.IsTagSetupPending());
    EXPECT_TRUE(log.empty());
    world->Step();
    EXPECT_EQ(log, (Log{"spy"}));

    // A join gives the next frame to the tag set-up again.
    world->JoinPlayer("p0", "red", 0);
    EXPECT_TRUE(logic.IsTagSetupPending());
    world->Step();
    EXPECT_EQ(log.size(), 1u);
    world->Step();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(GameLogicFrame, ScoreDisplayRequestIsServedOneFrameLater)
{
    GameLogicSystem& logic = *world->logic;
    StepIntoPlay();
    logic.m_scoreHudRequested = true;
    world->Step();
    EXPECT_TRUE(logic.m_scoreHudRequested);
    world->Step();
    EXPECT_FALSE(logic.m_scoreHudRequested);
    EXPECT_FALSE(logic.IsScoreTextDirty()) << "the texts are rewritten in the same frame";
}

} // namespace
} // namespace quellor::test
