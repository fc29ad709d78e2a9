// The pause menu: its layout, and on the flow harness over a running match (two people, one
// computer player) the pause request, resuming, the pages, the devices and both quits.
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/TextComponent.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/PauseMenu.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "platform/ScriptedInputSource.h"
#include "tests/frontend/MatchFixture.h"
#include "tests/frontend/MenuLevelFixture.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using quellor::PauseMenu;
using tarsel::test::FlowGame;
using tarsel::test::Logic;

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kDown = 40;
constexpr int kUp = 38;
constexpr int kPadDown = 1;
constexpr int kPadStart = 4;
constexpr int kSongs = quellor::SoundSystem::SongTable;
// The match's own effect, in a player's group.
constexpr const char* kEffect = "menu_highlight.ogg";
constexpr int kEffectGroup = 2;
// A cursor tween (0.075 s) or a check mark's (0.15 s) is over.
constexpr int kSettle = 10;

TEST(PauseMenuLayout, PanelIsFullHeightFourByThreeCentredAndDesignPointsScaleIntoIt)
{
    const PauseMenu::Panel wide = PauseMenu::PanelFor(ZOR::float2(1920.0f, 1080.0f));
    EXPECT_NEAR(wide.x, 240.0f, 1e-3f);
    EXPECT_NEAR(wide.x + wide.scaleX, 1680.0f, 1e-3f);
    EXPECT_FLOAT_EQ(wide.y, 0.0f);
    EXPECT_FLOAT_EQ(wide.scaleY, 1080.0f);
    const ZOR::float2 entry = PauseMenu::MainEntryPoint(PauseMenu::QuitGame);
    const ZOR::float2 cursor = wide.Place(entry.x, entry.y);
    EXPECT_NEAR(cursor.x, 640.0f, 1e-3f);
    EXPECT_NEAR(cursor.y, 800.0f, 1e-3f);

    const PauseMenu::Panel small = PauseMenu::PanelFor(ZOR::float2(1024.0f, 576.0f));
    EXPECT_NEAR(small.scaleX, 768.0f, 1e-3f);
    EXPECT_NEAR(small.x, 128.0f, 1e-3f);
    EXPECT_FLOAT_EQ(small.scaleY, 576.0f);
    const ZOR::float2 yes = small.Place(PauseMenu::ConfirmPoint(1).x, PauseMenu::ConfirmPoint(1).y);
    EXPECT_NEAR(yes.x, 128.0f + 768.0f * 525.0f / 1440.0f, 1e-3f);
    EXPECT_NEAR(yes.y, 576.0f * 695.0f / 1080.0f, 1e-3f);
}

struct EndCounter {
    int ends = 0;
    void OnEnded() { ++ends; }
};

class PauseMenuFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.emplace(tarsel::test::MatchSetup());
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(tarsel::test::RunUntilArenaLoaded(*game));
        players = {tarsel::test::JoinPlayer("red0", "red", 0), tarsel::test::JoinPlayer("green0", "green", 1),
                   tarsel::test::JoinPlayer("bot0", "orange", -1)};
        game->RunFrames(3);
        ASSERT_TRUE(Logic().m_active);
        ASSERT_EQ(Logic().GetPlayerCount(), 3u);
        Sound().Play(kEffect, kEffectGroup);
        // The first person's score on screen, as the score display leaves it.
        quellor::Entity* text = quellor::Engine::Instance()->CreateEntity("playerScore", "default");
        text->AddComponent<quellor::Transform2D>(true);
        auto* score = new quellor::TextComponent;
        score->m_fontName = "font_64.bff";
        text->AddComponent(quellor::TextComponent::ID, score, true);
        score->SetValue("0 / 5");
        ASSERT_EQ(ScoreText(), "0 / 5");
        Logic().AddScoreHud(quellor::Engine::Instance()->CreateEntity("score_bg", "default"), text);
    }
    std::string ScoreText()
    {
        return game->FindEntity("playerScore")->GetComponent<quellor::TextComponent>()->GetValue();
    }

    quellor::SoundSystem& Sound() { return *game->GetGame().GetSoundSystem(); }
    const tarsel::test::RecordingAudioBackend::ChannelState& ChannelOf(const char* name, int group)
    {
        const int channel = Sound().GetChannel(name, group)->channel;
        return game->GetSoundRecord().channels.at(static_cast<std::size_t>(channel));
    }

    // Escape, and the frame in which the menu starts.
    void Open()
    {
        game->Input().TapKey(kEscape);
        game->RunFrames(2);
        menu = static_cast<PauseMenu*>(tarsel::test::FindScreen(*game, "PauseMenu"));
        ASSERT_NE(menu, nullptr);
        menu->m_onEnded.Connect(quellor::MakeDelegate(&counter, &EndCounter::OnEnded), 0);
    }
    void Tap(int key)
    {
        game->Input().TapKey(key);
        game->RunFrames(2);
    }
    // A key, then time for the tween it starts.
    void Step(int key)
    {
        Tap(key);
        game->RunFrames(kSettle);
    }
    void PadTap(int pad, int code)
    {
        game->Input().SetPadButton(pad, code, true);
        game->RunFrames(1);
        game->Input().SetPadButton(pad, code, false);
        game->RunFrames(1);
    }
    bool IsOpen() { return tarsel::test::FindScreen(*game, "PauseMenu") != nullptr; }
    std::string Panel() { return MaterialOf(menu->GetBackground()); }
    static std::string MaterialOf(quellor::Entity* entity)
    {
        auto* sprite = entity ? entity->GetComponent<quellor::GraphicsComponent2D>() : nullptr;
        return sprite ? sprite->m_materialName : "";
    }
    static float AlphaOf(quellor::Entity* entity)
    {
        return entity->GetComponent<quellor::GraphicsComponent2D>()->GetAlpha();
    }
    float CursorY() { return menu->GetCursor()->GetComponent<quellor::Transform2D>()->m_y; }
    float EntryY(unsigned entry)
    {
        const auto panel = PauseMenu::PanelFor(game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1));
        return panel.Place(0.0f, PauseMenu::MainEntryPoint(entry).y).y;
    }
    int Lane(int lane)
    {
        int count = 0;
        game->GetGame().GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
            if (action.GetLane() == lane && action.GetOwnerList() == &game->GetGame().GetActionSystem()->GetRootList())
                ++count;
        });
        return count;
    }
    bool Controls(bool expected)
    {
        for (quellor::Entity* player : players)
            if (player->GetComponent<quellor::PlayerDataComponent>()->canControl != expected)
                return false;
        return true;
    }

    EndCounter counter;
    std::optional<FlowGame> game;
    std::vector<quellor::Entity*> players;
    PauseMenu* menu = nullptr;
};

TEST_F(PauseMenuFlow, EscapeStopsTheMatchAndShowsThePanelAndEnterAtOnceRestoresIt)
{
    const int selects = game->CountPlays("menu_select.ogg");
    Open();
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"PauseMenu"});
    EXPECT_EQ(Panel(), "2d_pause.mat");
    EXPECT_EQ(MaterialOf(menu->GetCursor()), "2d_cursor.mat");
    EXPECT_EQ(tarsel::test::LiveEntitiesNamed("bg").size(), 1u);
    EXPECT_EQ(tarsel::test::LiveEntitiesNamed("cursor").size(), 1u);
    EXPECT_EQ(tarsel::test::LiveEntitiesNamed("check").size(), 3u);
    for (unsigned i = 0; i < PauseMenu::SettingCount; ++i) {
        EXPECT_EQ(MaterialOf(menu->GetCheck(static_cast<PauseMenu::Setting>(i))), "2d_checkmark.mat");
        EXPECT_FLOAT_EQ(AlphaOf(menu->GetCheck(static_cast<PauseMenu::Setting>(i))), 0.0f);
    }
    EXPECT_NEAR(CursorY(), EntryY(PauseMenu::Resume), 1e-3f);
    EXPECT_FALSE(game->IsSystemActive("GameLogicSystem"));
    EXPECT_FALSE(game->IsSystemActive("PhysicsSystem3D"));
    EXPECT_TRUE(Logic().m_paused);
    EXPECT_TRUE(Controls(false));
    EXPECT_TRUE(ChannelOf(kEffect, kEffectGroup).paused);
    EXPECT_FALSE(ChannelOf("theme_gameplay.ogg", kSongs).paused) << "songs are not paused";
    EXPECT_FLOAT_EQ(ChannelOf("theme_menu.ogg", kSongs).volume, PauseMenu::kThemeVolume);
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), selects + 1);
    EXPECT_EQ(ScoreText(), " ");

    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(counter.ends, 1);
    EXPECT_TRUE(game->IsSystemActive("GameLogicSystem"));
    EXPECT_TRUE(game->IsSystemActive("PhysicsSystem3D"));
    EXPECT_FALSE(Logic().m_paused);
    EXPECT_TRUE(Controls(true));
    EXPECT_FALSE(ChannelOf(kEffect, kEffectGroup).paused);
    EXPECT_FLOAT_EQ(ChannelOf("theme_menu.ogg", kSongs).volume, 0.5f);
    EXPECT_EQ(ScoreText(), "0 / 5") << "red's score is back";
    game->RunFrames(1);
    EXPECT_TRUE(tarsel::test::LiveEntitiesNamed("bg").empty());
    EXPECT_TRUE(tarsel::test::LiveEntitiesNamed("cursor").empty());
    EXPECT_TRUE(tarsel::test::LiveEntitiesNamed("check").empty());

    // Within three frames of closing, a pause request opens nothing; later it does.
    game->Input().TapKey(kEscape);
    game->RunFrames(2);
    EXPECT_FALSE(IsOpen());
    game->RunFrames(2);
    game->Input().TapKey(kEscape);
    game->RunFrames(2);
    EXPECT_TRUE(IsOpen());
}

TEST_F(PauseMenuFlow, CursorStopsAtQuitGameIgnoresPressesWhileItMovesAndEverySubPageReturnsToResume)
{
    Open();
    const int highlights = game->CountPlays("menu_highlight.ogg");
    Tap(kDown);
    EXPECT_TRUE(menu->IsBusy());
    Tap(kDown); // within the 0.075 s tween: ignored
    game->RunFrames(kSettle);
    EXPECT_EQ(menu->GetCursorIndex(), 1u);
    EXPECT_NEAR(CursorY(), EntryY(1), 1e-3f);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), highlights + 1);
    for (int i = 0; i < 4; ++i)
        Step(kDown);
    EXPECT_EQ(menu->GetCursorIndex(), static_cast<unsigned>(PauseMenu::QuitGame));
    EXPECT_NEAR(CursorY(), EntryY(PauseMenu::QuitGame), 1e-3f);
    Step(kDown);
    EXPECT_EQ(menu->GetCursorIndex(), static_cast<unsigned>(PauseMenu::QuitGame));
    EXPECT_FALSE(menu->IsBusy());
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), highlights + 6);

    struct SubPage {
        unsigned entry;
        unsigned page;
    };
    for (const SubPage sub : {SubPage{PauseMenu::HowToPlay, PauseMenu::HowToPlayPage},
                              SubPage{PauseMenu::Options, PauseMenu::OptionsPage},
                              SubPage{PauseMenu::Credits, PauseMenu::CreditsPage}}) {
        while (menu->GetCursorIndex() > sub.entry)
            Step(kUp);
        while (menu->GetCursorIndex() < sub.entry)
            Step(kDown);
        Tap(kEnter);
        EXPECT_EQ(menu->GetPage(), sub.page);
        EXPECT_FLOAT_EQ(AlphaOf(menu->GetCursor()), 0.0f);
        if (sub.page == PauseMenu::HowToPlayPage) {
            EXPECT_EQ(Panel(), "2d_htp_keyboard.mat") << "no pad is connected";
        } else if (sub.page == PauseMenu::CreditsPage) {
            EXPECT_EQ(Panel(), "2d_credits.mat");
        }
        Tap(kBackspace);
        EXPECT_EQ(menu->GetPage(), static_cast<unsigned>(PauseMenu::MainPage));
        EXPECT_EQ(menu->GetCursorIndex(), static_cast<unsigned>(PauseMenu::Resume));
        EXPECT_NEAR(CursorY(), EntryY(PauseMenu::Resume), 1e-3f);
        EXPECT_FLOAT_EQ(AlphaOf(menu->GetCursor()), 1.0f);
        EXPECT_EQ(Panel(), "2d_pause.mat");
        EXPECT_FLOAT_EQ(AlphaOf(menu->GetCheck(PauseMenu::MuteMusic)), 0.0f);
    }
    // How to play with a pad plugged in shows the pad's picture.
    Step(kDown);
    game->Input().SetPadConnected(0, true);
    Tap(kEnter);
    EXPECT_EQ(Panel(), "2d_htp_xbox.mat");
    EXPECT_TRUE(IsOpen());
}

TEST_F(PauseMenuFlow, PagesThatFollowThePadsOrTheCursorSetTheirPictureOnlyWhenItChanges)
{
    Open();
    const quellor::GraphicsSystem& graphics = *game->GetGame().GetGraphicsSystem();
    for (const unsigned entry :
         {static_cast<unsigned>(PauseMenu::HowToPlay), static_cast<unsigned>(PauseMenu::Options)}) {
        while (menu->GetCursorIndex() < entry)
            Step(kDown);
        Tap(kEnter);
        const std::string picture = Panel();
        // A drawn frame has sorted the overlays; the page's own update leaves them sorted.
        game->RunFrames(2);
        ASSERT_FALSE(graphics.List2DNeedsSorting());
        menu->Update(1.0f / 60.0f);
        EXPECT_FALSE(graphics.List2DNeedsSorting()) << entry;
        EXPECT_EQ(Panel(), picture);
        if (entry == PauseMenu::HowToPlay)
            Tap(kBackspace);
    }
    // A change still shows: the options picture follows the cursor.
    Step(kDown);
    EXPECT_EQ(Panel(), "2d_options_0.mat");
}

TEST_F(PauseMenuFlow, OptionsShowTheSettingsAndTogglesReachSoundAndDisplayButNotTheMuteLines)
{
    Open();
    Step(kDown);
    Step(kDown);
    const std::string configBefore = game->ReadConfig();
    Tap(kEnter);
    ASSERT_EQ(menu->GetPage(), static_cast<unsigned>(PauseMenu::OptionsPage));
    EXPECT_EQ(Panel(), "2d_options.mat");
    EXPECT_FLOAT_EQ(AlphaOf(menu->GetCursor()), 0.0f);
    auto checkScale = [&](PauseMenu::Setting setting) {
        return menu->GetCheck(setting)->GetComponent<quellor::Transform2D>()->m_scaleY;
    };
    for (unsigned i = 0; i < PauseMenu::SettingCount; ++i) {
        EXPECT_FLOAT_EQ(AlphaOf(menu->GetCheck(static_cast<PauseMenu::Setting>(i))), 1.0f);
        EXPECT_FLOAT_EQ(checkScale(static_cast<PauseMenu::Setting>(i)), 0.0f) << i;
    }
    // Mute music on: both themes pause; off again: both resume.
    Step(kEnter);
    EXPECT_TRUE(Sound().IsMuteMusic());
    EXPECT_FLOAT_EQ(checkScale(PauseMenu::MuteMusic), 50.0f);
    EXPECT_TRUE(ChannelOf("theme_menu.ogg", kSongs).paused);
    EXPECT_TRUE(ChannelOf("theme_gameplay.ogg", kSongs).paused);
    Step(kEnter);
    EXPECT_FALSE(Sound().IsMuteMusic());
    EXPECT_FLOAT_EQ(checkScale(PauseMenu::MuteMusic), 0.0f);
    EXPECT_FALSE(ChannelOf("theme_menu.ogg", kSongs).paused);
    EXPECT_FALSE(ChannelOf("theme_gameplay.ogg", kSongs).paused);

    // With mute all on, turning music back on leaves the themes paused.
    Step(kDown);
    EXPECT_EQ(Panel(), "2d_options_0.mat");
    Step(kEnter);
    EXPECT_TRUE(Sound().IsMuteAll());
    Step(kUp);
    EXPECT_EQ(Panel(), "2d_options.mat");
    Step(kEnter);
    Step(kEnter);
    EXPECT_FALSE(Sound().IsMuteMusic());
    EXPECT_TRUE(ChannelOf("theme_menu.ogg", kSongs).paused);
    EXPECT_TRUE(ChannelOf("theme_gameplay.ogg", kSongs).paused);
    EXPECT_EQ(game->ReadConfig(), configBefore) << "the mutes are not written";

    // Full screen goes through the render context, which keeps it in config.ini.
    Step(kDown);
    Step(kDown);
    EXPECT_EQ(Panel(), "2d_options_1.mat");
    Step(kEnter);
    EXPECT_TRUE(game->GetGame().GetGraphicsSystem()->GetFullscreen());
    EXPECT_FLOAT_EQ(checkScale(PauseMenu::Fullscreen), 50.0f);
    EXPECT_EQ(tarsel::test::ConfigValue(game->ReadConfig(), "FULLSCREEN"), "1");
}

TEST_F(PauseMenuFlow, PadStartClosesFromAnyPageAndPadsThatAreOutAreNotRead)
{
    Open();
    for (int i = 0; i < 4; ++i)
        Step(kDown);
    Tap(kEnter);
    ASSERT_EQ(menu->GetPage(), static_cast<unsigned>(PauseMenu::QuitToMenuPage));
    EXPECT_EQ(Panel(), "2d_cda.mat");
    game->Input().SetPadButton(2, kPadStart, true);
    game->Input().SetPadConnected(2, false);
    game->RunFrames(2);
    EXPECT_TRUE(IsOpen()) << "pad 2 is out";
    PadTap(0, kPadStart);
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(counter.ends, 1);
    EXPECT_TRUE(Controls(true));
}

TEST_F(PauseMenuFlow, ADeviceAfterTheOneThatClosedTheMenuDoesNothing)
{
    // Keyboard Down, then pad 1's Start in the same frame: the move and the close.
    Open();
    game->Input().TapKey(kDown);
    game->Input().SetPadButton(1, kPadStart, true);
    game->RunFrames(1);
    game->Input().SetPadButton(1, kPadStart, false);
    EXPECT_FALSE(IsOpen());
    game->RunFrames(kSettle);
    EXPECT_EQ(counter.ends, 1);
    EXPECT_EQ(Lane(PauseMenu::kTweenLane), 0) << "the cursor tween went with the menu";

    // Keyboard Enter (resume), then pad 1's Down in the same frame: nothing queued after End.
    game->RunFrames(4);
    counter.ends = 0;
    Open();
    game->Input().TapKey(kEnter);
    game->Input().SetPadButton(1, kPadDown, true);
    const int highlights = game->CountPlays("menu_highlight.ogg");
    game->RunFrames(1);
    game->Input().SetPadButton(1, kPadDown, false);
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(counter.ends, 1);
    EXPECT_EQ(Lane(PauseMenu::kTweenLane), 0);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), highlights);
    game->RunFrames(kSettle);
}

TEST_F(PauseMenuFlow, QuitToMainMenuBoxesInClearsTheMatchAndStartsTheMenuWithItsLevel)
{
    Open();
    for (int i = 0; i < 4; ++i)
        Step(kDown);
    Tap(kEnter);
    Step(kDown);
    EXPECT_EQ(menu->GetCursorIndex(), 1u);
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    EXPECT_TRUE(Logic().GetScores().empty());
    EXPECT_TRUE(menu->IsBusy());
    // Input is over for good.
    Tap(kUp);
    EXPECT_EQ(menu->GetCursorIndex(), 1u);

    ASSERT_TRUE(game->RunUntil([&] { return game->FindAlpha2D("fadeOut").value_or(0.0f) >= 1.0f; }, 64));
    EXPECT_EQ(counter.ends, 0);
    // The frame after the box-in: "default" is emptied; the menu goes three frames later.
    ASSERT_TRUE(game->RunUntil([&] { return game->FindEntity("red0") == nullptr; }, 3));
    EXPECT_EQ(game->FindEntity("fadeOut"), nullptr);
    EXPECT_EQ(counter.ends, 0);
    ASSERT_TRUE(game->RunUntil([&] { return counter.ends == 1; }, 4));
    game->RunFrames(1);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
    auto* mainMenu = static_cast<quellor::MainMenu*>(tarsel::test::FindScreen(*game, "MainMenu"));
    ASSERT_NE(mainMenu, nullptr);
    EXPECT_TRUE(mainMenu->LoadsLevel());
    EXPECT_NE(game->FindEntity("menu_board"), nullptr);
    EXPECT_EQ(Logic().GetPlayerCount(), 0u);
    EXPECT_EQ(game->GetScreenCount(), 1u);
    EXPECT_TRUE(Logic().GetScores().empty());
    EXPECT_EQ(counter.ends, 1);
}

TEST_F(PauseMenuFlow, QuitGameEndsTheLoopAfterThatFrame)
{
    Open();
    for (int i = 0; i < 5; ++i)
        Step(kDown);
    Tap(kEnter);
    ASSERT_EQ(menu->GetPage(), static_cast<unsigned>(PauseMenu::QuitGamePage));
    Step(kDown);
    game->Input().TapKey(kEnter);
    EXPECT_TRUE(game->Frame()) << "the frame that quits runs to its end";
    EXPECT_FALSE(game->Frame());
    EXPECT_EQ(counter.ends, 0) << "the menu ends with the teardown";
    game.reset();
    EXPECT_EQ(counter.ends, 1);
}

} // namespace
