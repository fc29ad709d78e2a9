// The pause request: Escape or a connected pad's Start, only with players and while the match
// is active.
#include "GameplayTestKit.h"

#include "engine/ActionSystem.h"
#include "engine/graphics/TextComponent.h"
#include "platform/ScriptedInputSource.h"

namespace quellor::test {
namespace {

constexpr int kEscape = 27;
constexpr int kStart = 4;

int g_menusMade = 0;
Action* g_lastMenu = nullptr;
Action* MakeMenu()
{
    ++g_menusMade;
    g_lastMenu = new Action;
    return g_lastMenu;
}

class GameLogicPause : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        g_menusMade = 0;
        g_lastMenu = nullptr;
        world->logic->SetPauseMenuFactory(Delegate<Action*>(&MakeMenu));
    }

    // Joins a player and runs past the start-up and tag set-up frames.
    void StartMatch()
    {
        world->JoinPlayer("p0", "red", 0);
        world->Step(2);
    }

    int RootCount() { return world->actions->GetRootList().GetCount(); }
};

TEST_F(GameLogicPause, NothingWithoutPlayersOrWhileInactive)
{
    world->Step(2);
    world->keys->TapKey(kEscape);
    world->keys->SetPadButton(0, kStart, true);
    world->Step();
    EXPECT_FALSE(world->logic->m_paused);
    EXPECT_EQ(g_menusMade, 0);

    StartMatch();
    world->logic->m_active = false;
    world->keys->TapKey(kEscape);
    world->Step();
    EXPECT_FALSE(world->logic->m_paused);
    EXPECT_EQ(g_menusMade, 0);
}

TEST_F(GameLogicPause, EscapeFlipsPauseOpensOneMenuInLaneZeroAndBlanksTheScores)
{
    StartMatch();
    Entity* text = world->SpawnText("score0");
    auto* component = text->GetComponent<TextComponent>();
    component->SetValue("3");
    ASSERT_EQ(component->GetValue(), "3");
    world->logic->AddScoreHud(world->Spawn("background0"), text);
    const int before = RootCount();

    world->keys->TapKey(kEscape);
    world->Step();
    EXPECT_TRUE(world->logic->m_paused);
    EXPECT_EQ(g_menusMade, 1);
    EXPECT_EQ(RootCount(), before + 1);
    EXPECT_EQ(component->GetValue(), " ");

    world->Step();
    EXPECT_EQ(g_menusMade, 1) << "a press opens one menu";
    EXPECT_EQ(g_lastMenu->GetOwnerList(), &world->actions->GetRootList());
    EXPECT_EQ(g_lastMenu->GetLane(), 0);
    world->keys->TapKey(kEscape);
    world->Step();
    EXPECT_FALSE(world->logic->m_paused) << "it flips";
}

TEST_F(GameLogicPause, WithoutAFactoryOnlyThePauseFlagFlips)
{
    world->logic->SetPauseMenuFactory(Delegate<Action*>());
    StartMatch();
    const int before = RootCount();
    world->keys->TapKey(kEscape);
    world->Step();
    EXPECT_TRUE(world->logic->m_paused);
    EXPECT_EQ(RootCount(), before);
}

TEST_F(GameLogicPause, OnlyAConnectedPadsStartPauses)
{
    StartMatch();
    // Start held as the pad is pulled out: its last state is stale.
    world->keys->SetPadButton(1, kStart, true);
    world->keys->SetPadConnected(1, false);
    world->Step();
    EXPECT_FALSE(world->logic->m_paused);
    world->Step();
    EXPECT_FALSE(world->logic->m_paused);

    world->keys->SetPadButton(2, kStart, true);
    world->Step();
    EXPECT_TRUE(world->logic->m_paused);
    EXPECT_EQ(g_menusMade, 1);
}

} // namespace
} // namespace quellor::test
