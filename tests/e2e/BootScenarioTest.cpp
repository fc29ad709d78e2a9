// S1 and S2: the game's own start-up on the built content, untouched and skipped; bad save
// files and settings on the way in.
#include "engine/Engine.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "engine/System.h"
#include "engine/Transform3D.h"
#include "frontend/screens/MainMenu.h"
#include "platform/ScriptedInputSource.h"
#include "tests/e2e/Scenario.h"
#include "tests/support/ContentDir.h"

#include <algorithm>
#include <fstream>

namespace tarsel::test {
namespace {

constexpr float kDt = 1.0f / 60.0f;
const char* const kPictures[] = {"corvath_splash", "vantrell_splash", "xbox_controller_splash"};

// The frame after which start-up time t is read.
std::uint32_t FrameAt(float seconds)
{
    return static_cast<std::uint32_t>(seconds * 60.0f + 0.5f) + 1;
}

class BootScenario : public Scenario {
protected:
    // Runs to the ready main menu and checks it: the cursor on Play at full size, the theme.
    void ExpectMainMenu()
    {
        auto* menu = static_cast<quellor::MainMenu*>(WaitForScreen("MainMenu", 1500));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->GetIndex(), quellor::MainMenu::Play);
        auto* cursor = game->FindTransform3D("cursor");
        ASSERT_NE(cursor, nullptr);
        EXPECT_NEAR(cursor->m_scaleX, quellor::MainMenu::kCursorScale, 1e-4f);
        if (!ContentHasFile("theme_menu.ogg"))
            return;
        quellor::SoundSystem* sound = game->GetGame().GetSoundSystem();
        ASSERT_TRUE(sound->IsPlaying("theme_menu.ogg", quellor::SoundSystem::SongTable));
        const int channel = sound->GetChannel("theme_menu.ogg", quellor::SoundSystem::SongTable)->channel;
        const auto& state = game->GetSoundRecord().channels.at(static_cast<std::size_t>(channel));
        EXPECT_EQ(state.loops, -1);
        EXPECT_FLOAT_EQ(state.volume, 0.5f);
        EXPECT_EQ(game->CountPlays("theme_menu.ogg"), 1);
    }
};

TEST_F(BootScenario, S1BootWithoutInputReachesTheMainMenu)
{
    Boot(ContentSetup(), false);
    // The systems in their update order; the feather system joins with the feathers.
    const std::vector<std::string> order = {"System",        "Input",          "PhysicsSystem3D", "AISystem",
                                            "ResourceSystem", "ObjectSystem",  "ActionSystem",    "CameraSystem",
                                            "FeatherSystem",  "GameLogicSystem", "SoundSystem",   "UISystem",
                                            "GraphicsSystem"};
    std::vector<std::string> systems;
    for (const quellor::System* system : quellor::Engine::Instance()->GetSpace("default")->GetUpdateList())
        systems.push_back(system->GetName());
    std::vector<std::string> expected = order;
    if (std::find(systems.begin(), systems.end(), "FeatherSystem") == systems.end())
        expected.erase(std::find(expected.begin(), expected.end(), "FeatherSystem"));
    EXPECT_EQ(systems, expected);
    EXPECT_EQ(game->ReadSaveContent().size(), 220u);

    // Each picture alone at its middle, then the loading screen.
    for (std::size_t picture = 0; picture < 3; ++picture) {
        while (game->GetGame().GetFrameCount() < FrameAt(0.5f + 3.0f * static_cast<float>(picture)))
            ASSERT_TRUE(game->Frame());
        for (std::size_t other = 0; other < 3; ++other)
            EXPECT_EQ(game->FindEntity(kPictures[other]) != nullptr, other == picture) << kPictures[other];
        if (picture == 0) {
            ASSERT_TRUE(game->RunUntil([&] { return game->GetFadeFactor() >= 1.0f; }, 60));
            Shot("s1_corvath_splash");
        }
    }
    ASSERT_TRUE(game->RunUntil([&] { return game->FindEntity("loading_text") != nullptr; }, 240));
    ExpectMainMenu();
    Shot("s1_main_menu");
    ExpectCleanLog(MenuContentGaps());
}

// A save file cut short, or not one at all, and settings out of their range: the menu still
// comes, with the warnings those provoke.
class BadInputBoot : public BootScenario, public ::testing::WithParamInterface<int> {};

TEST_P(BadInputBoot, S1VariantsStillReachTheMainMenu)
{
    FlowSetup setup = ContentSetup();
    const std::string save(220, '\x07');
    if (GetParam() == 0)
        setup.saveContent = save.substr(0, 37);
    else if (GetParam() == 1)
        setup.saveContent = "not a save file at all\n";
    Create(std::move(setup));
    if (GetParam() == 2) {
        // QUALITY values no level names: the game reads no quality from them.
        std::string config = game->ReadConfig();
        for (const char* key : {"GRAPHICS=", "PARTICLE="}) {
            const auto at = config.find(key);
            ASSERT_NE(at, std::string::npos) << key;
            config.replace(at, config.find('\n', at) - at, std::string(key) + "\x01junk\xff");
        }
        std::ofstream(game->GetDocuments() / "Corvath/Tarsel/config.ini", std::ios::binary | std::ios::trunc) << config;
    }
    Launch();
    ExpectMainMenu();
    if (GetParam() < 2) {
        EXPECT_EQ(game->ReadSaveContent().size(), 220u); // the partial load, written back whole
    }
    std::vector<std::string> allowed = MenuContentGaps();
    allowed.push_back("SaveContent.data");
    allowed.push_back("QUALITY");
    ExpectCleanLog(allowed);
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputBoot, ::testing::Values(0, 1, 2));

TEST_F(BootScenario, S2SpaceAtFrameTenSkipsToTheLoadingScreen)
{
    Boot(ContentSetup(), false);
    game->RunFrames(9);
    ASSERT_NE(game->FindEntity("corvath_splash"), nullptr);
    game->Input().TapKey(kSpaceKey);
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(game->FindEntity("corvath_splash"), nullptr);
    EXPECT_NEAR(game->GetFadeFactor(), kDt, 1e-4f); // from 0, one frame of the fade-in
    EXPECT_NE(game->FindEntity("loading_text"), nullptr);
    ExpectMainMenu();
    ExpectCleanLog(MenuContentGaps());
}

// Left click, and A on connected pad 2, skip as Space does.
class OtherSkips : public BootScenario, public ::testing::WithParamInterface<bool> {};

TEST_P(OtherSkips, S2AClickOrPadTwoSkips)
{
    Boot(ContentSetup(), false);
    game->RunFrames(9);
    if (GetParam()) {
        game->Input().TapKey(1); // the left button's virtual key
    } else {
        game->Input().SetPadConnected(2, true);
        game->Input().SetPadButton(2, kPadA, true);
    }
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(game->FindEntity("corvath_splash"), nullptr);
    EXPECT_NE(game->FindEntity("loading_text"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Inputs, OtherSkips, ::testing::Bool());

TEST_F(BootScenario, S2NoSkipFromAnUnpluggedPadOrAfterNineSeconds)
{
    Boot(ContentSetup(), false);
    game->RunFrames(9);
    game->Input().SetPadButton(3, kPadA, true);
    game->Input().SetPadConnected(3, false);
    game->RunFrames(3);
    EXPECT_NE(game->FindEntity("corvath_splash"), nullptr);
    // Past the 9 s limit the press does nothing: the pictures run their course.
    while (game->GetGame().GetFrameCount() < FrameAt(9.05f))
        ASSERT_TRUE(game->Frame());
    const float fade = game->GetFadeFactor();
    game->Input().TapKey(kSpaceKey);
    ASSERT_TRUE(game->Frame());
    EXPECT_NEAR(game->GetFadeFactor(), fade, 2.0f * kDt); // no jump to 0
    ExpectMainMenu();
    ExpectCleanLog(MenuContentGaps());
}

} // namespace
} // namespace tarsel::test
