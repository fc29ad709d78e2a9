// The main menu's items 1 to 3 on the flow harness: each opens its screen, and each screen
// returns to a main menu that glides back, without loading the level again.
#include "engine/Engine.h"
#include "engine/Space.h"
#include "frontend/screens/CreditsMenu.h"
#include "frontend/screens/GraphicsOptionsMenu.h"
#include "frontend/screens/HowToPlayMenu.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/MoreGraphicsOptionsMenu.h"
#include "frontend/screens/OptionsMenu.h"
#include "platform/ScriptedInputSource.h"
#include "tests/frontend/MenuLevelFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using tarsel::test::FindScreen;
using tarsel::test::FlowGame;

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kDown = 40;
constexpr int kPadB = 11;

class MainMenuSubScreensTest : public ::testing::Test {
protected:
    void WaitForMenu() { ASSERT_TRUE(tarsel::test::RunUntilMainMenuReady(*game)); }
    // From the first item of a ready main menu down to the item, then Enter.
    void Open(unsigned item, const std::string& screen)
    {
        for (unsigned i = 0; i < item; ++i) {
            game->Input().TapKey(kDown);
            game->RunFrames(12); // the press, then the cursor's glide
        }
        game->Input().TapKey(kEnter);
        game->RunFrames(1);
        ASSERT_EQ(game->RunningScreens(), std::vector<std::string>{screen});
    }
    std::size_t EntityCount()
    {
        return quellor::Engine::Instance()->GetSpace("default")->GetEntityMap().size();
    }

    std::optional<FlowGame> game;
};

TEST_F(MainMenuSubScreensTest, EachItemOpensItsScreenAndEachScreenReturns)
{
    game.emplace(tarsel::test::MainMenuSetup());
    ASSERT_TRUE(game->Start());
    WaitForMenu();
    const std::size_t entities = EntityCount();

    // Options: back with Backspace once its glide is over.
    Open(quellor::MainMenu::Options, "OptionsMenu");
    game->RunFrames(92);
    game->Input().TapKey(kBackspace);
    game->RunFrames(1);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
    EXPECT_FALSE(static_cast<quellor::MainMenu*>(FindScreen(*game, "MainMenu"))->LoadsLevel());
    WaitForMenu();

    // How to play: pad B during its glide.
    Open(quellor::MainMenu::HowToPlay, "HowToPlayMenu");
    game->RunFrames(10);
    game->Input().SetPadButton(0, kPadB, true);
    game->RunFrames(1);
    game->Input().SetPadButton(0, kPadB, false);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
    WaitForMenu();

    // Credits: Escape once faded in, then the fade-out and three frames.
    Open(quellor::MainMenu::Credits, "CreditsMenu");
    game->RunFrames(62);
    game->Input().TapKey(kEscape);
    game->RunFrames(1);
    EXPECT_FALSE(static_cast<quellor::CreditsMenu*>(FindScreen(*game, "CreditsMenu"))->IsActive());
    ASSERT_TRUE(game->RunUntil([&] { return FindScreen(*game, "MainMenu") != nullptr; }, 70));
    WaitForMenu();
    // Each return made a new cursor and quit button for the old ones; the level was not loaded
    // again, and the credits and the read-outs left nothing behind.
    EXPECT_EQ(EntityCount(), entities);
    EXPECT_EQ(game->CountPlays("theme_menu.ogg"), 1);
}

// Level props that go while a screen that restyles them runs: the screen keeps working on
// what is left and never touches the ones that went.
struct PropsGoing {
    const char* screen;
    std::function<quellor::Action*()> make;
    std::vector<std::string> going;
    std::vector<int> keys;   // pressed one by one once the glide is over
    const char* stillStyled; // a prop that stays, with the material it should end with
    const char* stillMaterial;
};

// Listed by its screen's name, not its bytes, so the test list reads and stays the same.
void PrintTo(const PropsGoing& run, std::ostream* out) { *out << run.screen; }

class PropsGoingMidScreenTest : public ::testing::TestWithParam<PropsGoing> {};

TEST_P(PropsGoingMidScreenTest, TheScreenKeepsStylingWhatIsLeft)
{
    const PropsGoing& run = GetParam();
    FlowGame game(tarsel::test::MenuLevelSetup(run.make));
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.RunUntil([&] { return !game.RunningScreens().empty(); }, 600));
    game.RunFrames(2);
    for (const std::string& name : run.going) {
        quellor::Entity* prop = quellor::Engine::Instance()->GetEntity(name, "default");
        ASSERT_NE(prop, nullptr) << name;
        prop->Destroy();
    }
    game.RunFrames(100); // past the glide, every frame restyling
    for (int key : run.keys) {
        game.Input().TapKey(key);
        game.RunFrames(40);
    }
    EXPECT_EQ(game.RunningScreens(), std::vector<std::string>{run.screen});
    if (run.stillStyled) {
        EXPECT_EQ(game.FindMaterial(run.stillStyled), run.stillMaterial);
    }
}

constexpr int kRight = 39;

INSTANTIATE_TEST_SUITE_P(
    OptionScreens, PropsGoingMidScreenTest,
    ::testing::Values(
        PropsGoing{"OptionsMenu",
                   [] { return new quellor::OptionsMenu; },
                   {"muteMusic", "muteMusicCheck", "graphicsOptionsButton"},
                   {kEnter, kDown},
                   "muteAll",
                   "arrow_menu_selected.mat"},
        PropsGoing{"GraphicsOptionsMenu",
                   [] { return new quellor::GraphicsOptionsMenu; },
                   {"lightingBox", "lightingCheck", "back1"},
                   {kEnter, kRight},
                   "sunBox",
                   "arrow_menu_selected.mat"},
        PropsGoing{"MoreGraphicsOptionsMenu",
                   [] { return new quellor::MoreGraphicsOptionsMenu; },
                   {"arrowLRes", "back2", "arrowLGraphics"},
                   {kRight, kDown, kDown, kRight, kDown},
                   nullptr,
                   nullptr},
        PropsGoing{"HowToPlayMenu", [] { return new quellor::HowToPlayMenu(true); }, {"dojo"}, {}, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<PropsGoing>& info) { return std::string(info.param.screen); });

} // namespace
