// S3, S4, S5 and S10: the main menu's items on the built content, from a skipped start-up.
// S4's and S5's halves are two processes on one documents folder (a relaunch), ordered by CTest.
#include "engine/Engine.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/MoreGraphicsOptionsMenu.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/RenderSystem.h"
#include "tests/e2e/Scenario.h"
#include "tools/writers/QuitButton.h"

#include <cstdlib>

namespace tarsel::test {
namespace {

using quellor::MainMenu;

class MenuScenario : public Scenario {
protected:
    MainMenu* ReachMainMenu()
    {
        auto* menu = static_cast<MainMenu*>(WaitForScreen("MainMenu", 1500));
        EXPECT_NE(menu, nullptr);
        return menu;
    }
    std::size_t EntityCount() const
    {
        return quellor::Engine::Instance()->GetSpace("default")->GetEntityMap().size();
    }
    // The theme's channel as the audio backend has it.
    const RecordingAudioBackend::ChannelState* Theme()
    {
        auto* channel = game->GetGame().GetSoundSystem()->GetChannel("theme_menu.ogg", quellor::SoundSystem::SongTable);
        if (!channel)
            return nullptr;
        return &game->GetSoundRecord().channels.at(static_cast<std::size_t>(channel->channel));
    }
    // Boots one half of a relaunch pair on the documents folder CTest names for the pair; the
    // first half empties it, the second keeps the first one's config.ini.
    void BootHalf(bool first, ConfigSeed config = ConfigSeed::Test)
    {
        const char* folder = std::getenv("TARSEL_E2E_DOCUMENTS");
        ASSERT_NE(folder, nullptr) << "run by CTest, which names the pair's folder";
        FlowSetup setup = ContentSetup();
        setup.documents = folder;
        setup.config = first ? config : ConfigSeed::None;
        if (first) {
            std::error_code ec;
            std::filesystem::remove_all(setup.documents, ec);
        }
        Boot(std::move(setup));
        ASSERT_NE(ReachMainMenu(), nullptr);
    }
};

bool Has(const std::string& config, const std::string& line)
{
    return config.find(line + "\n") != std::string::npos;
}

TEST_F(MenuScenario, S3QuitFromTheMainMenuEndsTheGame)
{
    Boot(ContentSetup());
    MainMenu* menu = ReachMainMenu();
    ASSERT_NE(menu, nullptr);
    Shot("s3_main_menu");
    ExpectSeenWhole(menu->GetCursor(), "MainMenu", "the cursor at play");
    // Up on Play and Down on Quit keep the cursor, with the highlight cue.
    const bool cue = ContentHasFile("menu_highlight.ogg");
    int highlights = game->CountPlays("menu_highlight.ogg");
    Press(kUp);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Play);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), cue ? ++highlights : 0);
    for (int i = 0; i < 4; ++i)
        Press(kDown);
    ASSERT_EQ(menu->GetIndex(), MainMenu::Quit);
    highlights = game->CountPlays("menu_highlight.ogg");
    Press(kDown);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Quit);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), cue ? highlights + 1 : 0);
    // The quit button stands out from the board (its plate is not drawn like the board around
    // it), and no part of it hides the cursor, at quit and, folded out, at back.
    Shot("s3_main_menu_quit");
    ExpectSeenWhole(menu->GetCursor(), "MainMenu", "the cursor at quit");
    const ZOR::float3 plate = tools::quit::kPlateCenter + tools::quit::kPlateHalf;
    EXPECT_GE(ShotContrast(plate - ZOR::float3(0.5f, 0.6f, 0.0f), plate + ZOR::float3(2.0f, -0.6f, -0.4f)), 2.0f);
    Press(kEnter);
    EXPECT_EQ(menu->GetIndex(), MainMenu::QuitBack);
    game->RunFrames(30);
    Shot("s3_main_menu_are_you_sure");
    ExpectSeenWhole(menu->GetCursor(), "MainMenu", "the cursor at back");
    const ZOR::float3 flap = tools::quit::kFlapCenter + tools::quit::kFlapHalf;
    EXPECT_GE(ShotContrast(flap - ZOR::float3(0.5f, 3.5f, 0.0f), flap + ZOR::float3(2.0f, -3.5f, -0.4f)), 2.0f);
    Press(kDown);
    Press(kEnter);
    // The quit frame ran to its end; then the loop is over and the game shuts down normally.
    EXPECT_FALSE(game->Frame());
}

TEST_F(MenuScenario, S4MuteMusicRelaunchFirst)
{
    if (!MenuContentBuilt())
        GTEST_SKIP() << "the built content has no menu level yet: nothing of this screen to check";
    BootHalf(true);
    const std::size_t entities = EntityCount();
    const int themes = game->CountPlays("theme_menu.ogg");
    Press(kDown);
    Press(kEnter);
    ASSERT_NE(WaitForScreen("OptionsMenu"), nullptr);
    Shot("s4_options");
    Press(kEnter);
    EXPECT_TRUE(Has(game->ReadConfig(), "MUTE_MUSIC=1")) << game->ReadConfig();
    ASSERT_NE(Theme(), nullptr);
    EXPECT_TRUE(Theme()->paused);
    // Back glides to the menu without loading its level again.
    Press(kBackspace);
    auto* menu = ReachMainMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->LoadsLevel());
    EXPECT_EQ(EntityCount(), entities);
    EXPECT_EQ(game->CountPlays("theme_menu.ogg"), themes);
}

TEST_F(MenuScenario, S4MuteMusicRelaunchSecond)
{
    if (!MenuContentBuilt())
        GTEST_SKIP() << "the built content has no menu level yet: nothing of this screen to check";
    BootHalf(false);
    EXPECT_TRUE(game->GetGame().GetSoundSystem()->IsMuteMusic());
    ASSERT_NE(Theme(), nullptr);
    EXPECT_TRUE(Theme()->paused); // started, paused
    EXPECT_EQ(game->CountPlays("theme_menu.ogg"), 1);
}

TEST_F(MenuScenario, S5GraphicsRelaunchFirst)
{
    if (!MenuContentBuilt())
        GTEST_SKIP() << "the built content has no menu level yet: nothing of this screen to check";
    BootHalf(true, ConfigSeed::TestWithEffects);
    ASSERT_TRUE(Has(game->ReadConfig(), "SHADOWS=1"));
    Press(kDown);
    Press(kEnter);
    ASSERT_NE(WaitForScreen("OptionsMenu"), nullptr);
    Press(kDown);
    Press(kDown);
    Press(kEnter);
    ASSERT_NE(WaitForScreen("GraphicsOptionsMenu"), nullptr);
    Shot("s5_graphics_options");
    Press(kRight);
    Press(kDown);
    Press(kDown);
    Press(kEnter);
    EXPECT_TRUE(Has(game->ReadConfig(), "SHADOWS=0")) << game->ReadConfig();
    Press(kDown);
    Press(kEnter);
    auto* more = static_cast<quellor::MoreGraphicsOptionsMenu*>(WaitForScreen("MoreGraphicsOptionsMenu"));
    ASSERT_NE(more, nullptr);
    Press(kRight);
    EXPECT_TRUE(Has(game->ReadConfig(), "GRAPHICS=LOW")) << game->ReadConfig();
    quellor::Entity* label = game->FindEntity("gfxName");
    auto* model = label ? label->GetComponent<quellor::GraphicsComponent3D>() : nullptr;
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->m_modelName, quellor::MoreGraphicsOptionsMenu::QualityModel(ZOR::RenderSystem::Low));
    EXPECT_EQ(more->GetReadoutSize(), std::string("800x450").size());
    ASSERT_NE(WaitForScreen("MoreGraphicsOptionsMenu"), nullptr);
    Shot("s5_more_graphics_options");
}

TEST_F(MenuScenario, S5GraphicsRelaunchSecond)
{
    if (!MenuContentBuilt())
        GTEST_SKIP() << "the built content has no menu level yet: nothing of this screen to check";
    BootHalf(false);
    quellor::GraphicsSystem* graphics = game->GetGame().GetGraphicsSystem();
    EXPECT_EQ(graphics->GetGraphicsQuality(), ZOR::RenderSystem::Low);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(graphics->ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::Shadows, screen)) << screen;
}

TEST_F(MenuScenario, S10HowToPlayShowsThePadPageOnceAPadConnects)
{
    if (!MenuContentBuilt())
        GTEST_SKIP() << "the built content has no menu level yet: nothing of this screen to check";
    Boot(ContentSetup());
    ASSERT_NE(ReachMainMenu(), nullptr);
    Press(kDown);
    Press(kDown);
    Press(kEnter);
    ASSERT_NE(WaitForScreen("HowToPlayMenu"), nullptr);
    EXPECT_EQ(game->FindMaterial("dojo"), "dojo_keyboard_menu.mat");
    Shot("s10_how_to_play");
    game->Input().SetPadConnected(1, true);
    ASSERT_TRUE(game->Frame());
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(game->FindMaterial("dojo"), "dojo_xbox_menu.mat");
    game->Input().SetPadConnected(1, false);
    ASSERT_TRUE(game->RunUntil([&] { return game->FindMaterial("dojo") == "dojo_keyboard_menu.mat"; }, 3));
    Press(kEscape);
    ASSERT_NE(ReachMainMenu(), nullptr);
    ExpectCleanLog(MenuContentGaps());
}

TEST_F(MenuScenario, S10CreditsCloseOnEscapeOrByThemselves)
{
    FlowSetup setup = ContentSetup();
    setup.drawEvery = 30;
    Boot(std::move(setup));
    ASSERT_NE(ReachMainMenu(), nullptr);
    for (int i = 0; i < 3; ++i)
        Press(kDown);
    Press(kEnter);
    ASSERT_NE(WaitForScreen("CreditsMenu"), nullptr);
    // The first page over the panel.
    Shot("s10_credits");
    Press(kEscape);
    ASSERT_NE(ReachMainMenu(), nullptr);

    // Untouched, the credits close 107 s after they are ready. The menu is back on Play.
    for (int i = 0; i < 3; ++i)
        Press(kDown);
    Press(kEnter);
    ASSERT_NE(WaitForScreen("CreditsMenu"), nullptr);
    const std::uint32_t ready = game->GetGame().GetFrameCount();
    ASSERT_TRUE(game->RunUntil([&] { return game->FindScreen("CreditsMenu") == nullptr; }, 110 * 60));
    // 107 s, then the 1 s fade-out and its few frames.
    const std::uint32_t closed = game->GetGame().GetFrameCount();
    EXPECT_GE(closed - ready, 108u * 60u);
    EXPECT_LE(closed - ready, 108u * 60u + 10u);
    ASSERT_NE(ReachMainMenu(), nullptr);
    ExpectCleanLog(MenuContentGaps());
}

} // namespace
} // namespace tarsel::test
