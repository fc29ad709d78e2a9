// The options screen on the flow harness, opened from the main menu or started in the menu
// level: the highlight, the mute toggles with their check marks, sound and config.ini, and
// leaving.
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/OptionsMenu.h"
#include "platform/ScriptedInputSource.h"
#include "tests/frontend/MenuLevelFixture.h"
#include "renderer/Camera.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using tarsel::test::ConfigValue;
using tarsel::test::FlowGame;

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kDown = 40;
constexpr int kSongs = quellor::SoundSystem::SongTable;
// 1.6 s at 60 frames a second: the 1.5 s glide is over.
constexpr int kAfterGlide = 96;
// A check mark's 0.5 s and a frame.
constexpr int kAfterCheck = 31;

class OptionsMenuTest : public ::testing::Test {
protected:
    void Launch()
    {
        game.emplace(tarsel::test::MenuLevelSetup([this] { return screen = new quellor::OptionsMenu; }));
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(game->RunUntil([&] { return !game->RunningScreens().empty(); }, 600));
    }
    // A press, then a frame without it (a tap in the very next frame would not be a new press).
    void Tap(int key)
    {
        game->Input().TapKey(key);
        game->RunFrames(2);
    }
    bool ThemePaused()
    {
        quellor::SoundSystem* sound = game->GetGame().GetSoundSystem();
        const int channel = sound->GetChannel("theme_menu.ogg", kSongs)->channel;
        return game->GetSoundRecord().channels.at(static_cast<std::size_t>(channel)).paused;
    }
    float CheckScaleY(const char* check) { return game->FindTransform3D(check)->m_scaleY; }

    quellor::OptionsMenu* screen = nullptr;
    std::optional<FlowGame> game;
};

TEST_F(OptionsMenuTest, MuteTogglesReachSoundAndConfigAtOnceAndWaitForTheirCheckMarks)
{
    // From the main menu: Down, Enter.
    game.emplace(tarsel::test::MainMenuSetup());
    ASSERT_TRUE(game->Start());
    ASSERT_TRUE(tarsel::test::RunUntilMainMenuReady(*game));
    Tap(kDown);
    game->RunFrames(10); // the cursor's glide
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    ASSERT_EQ(game->RunningScreens(), std::vector<std::string>{"OptionsMenu"});
    screen = static_cast<quellor::OptionsMenu*>(tarsel::test::FindScreen(*game, "OptionsMenu"));
    // The main menu's own cues so far.
    const int selects = game->CountPlays("menu_select.ogg");
    const int highlights = game->CountPlays("menu_highlight.ogg");
    // Nothing is muted: the check marks fold away at the start; the highlight is there at once.
    EXPECT_FLOAT_EQ(CheckScaleY("muteMusicCheck"), 0.0f);
    EXPECT_FLOAT_EQ(CheckScaleY("muteAllCheck"), 0.0f);
    EXPECT_EQ(game->FindMaterial("muteMusic"), "arrow_menu_selected.mat");
    EXPECT_EQ(game->FindMaterial("back"), "arrow_menu.mat");
    EXPECT_FALSE(screen->IsReady());
    ASSERT_FALSE(ThemePaused());

    // Input during the glide is ignored.
    Tap(kDown);
    EXPECT_EQ(screen->GetCursor(), 0u);
    game->RunFrames(kAfterGlide);
    ASSERT_TRUE(screen->IsReady());

    Tap(kEnter);
    // Written before the next frame, and the theme paused.
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "MUTE_MUSIC"), "1");
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "MUTE_ALL"), "0");
    EXPECT_TRUE(game->GetGame().GetSoundSystem()->IsMuteMusic());
    EXPECT_TRUE(ThemePaused());
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), selects + 1);
    // The check mark unfolds; input waits for it.
    EXPECT_FLOAT_EQ(game->FindTransform3D("muteMusicCheck")->m_scaleX, 0.4f);
    Tap(kDown);
    EXPECT_EQ(screen->GetCursor(), 0u);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), highlights);
    game->RunFrames(kAfterCheck);
    EXPECT_FLOAT_EQ(CheckScaleY("muteMusicCheck"), 0.4f);

    Tap(kDown);
    EXPECT_EQ(game->FindMaterial("muteAll"), "arrow_menu_selected.mat");
    EXPECT_EQ(game->FindMaterial("muteMusic"), "arrow_menu.mat");
    Tap(kEnter);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "MUTE_ALL"), "1");
    game->RunFrames(kAfterCheck);

    // Mute all off while music stays muted: the music stays paused.
    Tap(kEnter);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "MUTE_ALL"), "0");
    EXPECT_FALSE(game->GetGame().GetSoundSystem()->IsMuteAll());
    EXPECT_TRUE(ThemePaused());
    game->RunFrames(kAfterCheck);
    EXPECT_FLOAT_EQ(CheckScaleY("muteAllCheck"), 0.0f);
    EXPECT_FLOAT_EQ(game->FindTransform3D("muteAllCheck")->m_scaleX, 0.0f);

    // Music back on resumes the theme.
    Tap(38);
    Tap(kEnter);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "MUTE_MUSIC"), "0");
    EXPECT_FALSE(ThemePaused());
    game->RunFrames(kAfterCheck);

    Tap(kBackspace);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
    // The camera glides back.
    game->RunFrames(90);
    const ZOR::float3 camera = game->GetGame().GetGraphicsSystem()->GetActiveCamera(-1).GetPosition();
    EXPECT_NEAR(camera.z, quellor::MainMenu::kCameraPosition.z, 1e-3f);
    // The press that turned mute all off was still muted: four of the five cues played.
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), selects + 4);
}

TEST_F(OptionsMenuTest, EachVisitShowsTheSoundSystemsMutesAndTwoPadsOpenOneSuccessor)
{
    Launch();
    game->GetGame().GetSoundSystem()->SetMuteAll(true);
    game->RunFrames(kAfterGlide);
    Tap(kDown);
    Tap(kDown);
    // Two presses in one frame (pad 0 A, then pad 1 A): one successor.
    game->Input().SetPadButton(0, 10, true);
    game->Input().SetPadButton(1, 10, true);
    game->RunFrames(1);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"GraphicsOptionsMenu"});
    game->Input().SetPadButton(0, 10, false);
    game->Input().SetPadButton(1, 10, false);
    game->RunFrames(kAfterGlide);
    Tap(kBackspace);
    // The next visit reads the sound system again.
    ASSERT_EQ(game->RunningScreens(), std::vector<std::string>{"OptionsMenu"});
    EXPECT_FLOAT_EQ(CheckScaleY("muteAllCheck"), 0.4f);
    EXPECT_FLOAT_EQ(CheckScaleY("muteMusicCheck"), 0.0f);
}

TEST_F(OptionsMenuTest, AConfigThatCannotBeSavedWarnsAndTheChangeStands)
{
    Launch();
    const std::filesystem::path config = game->GetDocuments() / "Corvath/Tarsel/config.ini";
    const std::string before = game->ReadConfig();
    // The save writes config.ini.tmp beside it first: a folder of that name makes it fail.
    std::filesystem::create_directory(config.string() + ".tmp");
    game->RunFrames(kAfterGlide);
    tarsel::test::StdoutCapture capture;
    Tap(kEnter);
    EXPECT_NE(capture.Text().find("Warning: cannot save the settings to \"" + config.string() + "\""),
              std::string::npos)
        << capture.Text();
    EXPECT_EQ(game->ReadConfig(), before);
    EXPECT_TRUE(game->GetGame().GetSoundSystem()->IsMuteMusic());
    game->RunFrames(kAfterCheck);
    EXPECT_TRUE(screen->IsReady());
}

} // namespace
