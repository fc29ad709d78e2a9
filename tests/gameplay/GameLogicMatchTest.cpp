// Scores and the end of a match: the point sound, the win test with its debug shortcut, the end
// sequence and the score reset.
#include "GameplayTestKit.h"

#include "engine/Engine.h"
#include "engine/SoundSystem.h"
#include "platform/ScriptedInputSource.h"

namespace quellor::test {
namespace {

constexpr int kControl = 17;
constexpr int kW = 87;

int g_mainMenus = 0;
bool g_loadsLevel = false;
Action* MakeMainMenu(bool loadLevel)
{
    ++g_mainMenus;
    g_loadsLevel = loadLevel;
    return new Action;
}

class GameLogicMatch : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        for (const char* effect : {"score_point.ogg", "game_over.ogg", "music_bed_sfx.ogg"})
            world->LoadEffect(effect);
        g_mainMenus = 0;
        g_loadsLevel = false;
    }
    GameLogicSystem& Logic() { return *world->logic; }
    void Score(const std::string& team, int points)
    {
        for (int i = 0; i < points; ++i)
            Logic().AddScore(team);
    }
};

TEST_F(GameLogicMatch, APointForAnUnknownTeamAddsNoEntryButSoundsAndRefreshes)
{
    world->Step(2);
    Logic().AddScore("nobody");
    EXPECT_TRUE(Logic().GetScores().empty());
    EXPECT_TRUE(Logic().IsScoreTextDirty());
    EXPECT_TRUE(world->sound->IsPlaying("score_point.ogg", 0));
    EXPECT_FALSE(world->sound->IsPlaying("score_point.ogg", 1));
    EXPECT_EQ(world->PlayCount("score_point.ogg"), 1u);
}

TEST_F(GameLogicMatch, TwoTeamsReachingFiveInOneFrameGiveTheLowerIndexOneWin)
{
    Entity* red = world->JoinPlayer("red0", "red", 0);
    world->JoinPlayer("blue0", "blue", 1);
    world->Step(2);
    Score("blue", 5);
    Score("red", 6);
    world->Step();
    EXPECT_EQ(Logic().GetWinner(), red);
    EXPECT_FALSE(Logic().m_winEnabled);
    world->Step(2);
    EXPECT_EQ(world->PlayCount("game_over.ogg"), 1u) << "the end sequence runs once";
}

TEST_F(GameLogicMatch, NoPlayersNoWinAndTheWinTestCountsMissingTeamsAsZero)
{
    world->Step(3);
    EXPECT_EQ(Logic().GetWinner(), nullptr);
    world->JoinPlayer("red0", "red", 0);
    world->Step(3);
    EXPECT_EQ(Logic().GetWinner(), nullptr);
    EXPECT_EQ(Logic().GetScores().at("red"), 0);
    EXPECT_TRUE(Logic().m_winEnabled);
}

TEST_F(GameLogicMatch, TheEndSequenceStopsEffectsDestroysTheWorldAndReenablesTheWin)
{
    Logic().SetMainMenuFactory(Delegate<Action*, bool>(&MakeMainMenu));
    world->JoinPlayer("red0", "red", 0);
    world->Step(2);
    world->sound->Play("music_bed_sfx.ogg", 2);
    Entity* prop = world->Spawn("prop");
    const EntityRef propRef(prop);
    Score("red", 5);
    world->Step();
    EXPECT_FALSE(world->sound->IsPlaying("music_bed_sfx.ogg", 2)) << "effects stop";
    EXPECT_TRUE(world->sound->IsPlaying("game_over.ogg", 0));
    EXPECT_EQ(g_mainMenus, 1);
    EXPECT_TRUE(g_loadsLevel);

    // The sequence starts next frame with the winner's 10 s shot, then the destroy step.
    int frames = 0;
    while (propRef.Get() && frames < 1000) {
        world->Step();
        ++frames;
    }
    ASSERT_EQ(propRef.Get(), nullptr);
    EXPECT_NEAR(frames, 601, 1);
    EXPECT_EQ(world->engine->GetEntity("red0", "default"), nullptr);
    for (int frame = 1; frame <= 2; ++frame) {
        world->Step();
        EXPECT_FALSE(Logic().m_winEnabled) << "frame " << frame;
    }
    world->Step();
    EXPECT_TRUE(Logic().m_winEnabled);
}

TEST_F(GameLogicMatch, AWinnerThatGoesCutsTheShotShortAndTheSequenceGoesOn)
{
    Logic().SetMainMenuFactory(Delegate<Action*, bool>(&MakeMainMenu));
    Entity* winner = world->JoinPlayer("red0", "red", 0);
    world->Step(2);
    const EntityRef prop(world->Spawn("prop"));
    Score("red", 5);
    world->Step(3);
    ASSERT_NE(prop.Get(), nullptr) << "the shot runs";
    winner->Destroy();
    world->Step(2);
    EXPECT_EQ(prop.Get(), nullptr);
    world->Step(3);
    EXPECT_TRUE(Logic().m_winEnabled);
}

TEST_F(GameLogicMatch, ControlWEndsTheMatchForPlayerZeroOnlyWhileActive)
{
    world->JoinPlayer("red0", "red", 0);
    world->JoinPlayer("blue0", "blue", 1);
    world->Step(2);
    Logic().m_active = false;
    world->keys->SetKey(kControl, true);
    world->keys->TapKey(kW);
    world->Step();
    EXPECT_EQ(Logic().GetWinner(), nullptr);

    Logic().m_active = true;
    world->Step(); // W comes up
    world->keys->TapKey(kW);
    world->Step();
    EXPECT_EQ(Logic().GetWinner(), Logic().GetPlayer(0));

    // W alone does nothing.
    Logic().m_winEnabled = true;
    world->keys->SetKey(kControl, false);
    world->Step(6);
    world->keys->TapKey(kW);
    world->Step();
    EXPECT_TRUE(Logic().m_winEnabled);
}

TEST_F(GameLogicMatch, ResetScoresEmptiesScoresAndDestroysTheDisplay)
{
    world->JoinPlayer("red0", "red", 0);
    Entity* background = world->Spawn("background");
    Entity* text = world->Spawn("text");
    Logic().AddScoreHud(background, text);
    text->Destroy(); // already on its way: not destroyed twice
    Logic().ResetScores();
    EXPECT_TRUE(Logic().GetScores().empty());
    EXPECT_TRUE(background->IsDestroyed());
    EXPECT_TRUE(Logic().GetScoreTexts().empty());
    EXPECT_TRUE(Logic().GetScoreBackgrounds().empty());
    world->Step();
}

} // namespace
} // namespace quellor::test
