// The game's own start-up tree on the flow harness: the three pictures with their fades, the
// loading screen and the main menu, untouched; and a skip press, which removes the picture on
// screen and fades from black into the loading screen. Fixed dt of 1/60 s: the chain starts
// one frame after the skip, so chain time t is read after frame 60 t + 1.
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "frontend/screens/MainMenu.h"
#include "platform/ScriptedInputSource.h"
#include "tests/frontend/ScreenFixtures.h"
#include "tests/support/ContentDir.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr int kSpace = 32;
constexpr int kPadA = 10;
const std::array<const char*, 3> kPictures = {"corvath_splash", "vantrell_splash", "xbox_controller_splash"};

// The frame after which chain time t is read.
int FrameAt(float seconds)
{
    return static_cast<int>(seconds * 60.0f + 0.5f) + 1;
}

FlowSetup BootSetup()
{
    FlowSetup setup;
    setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
    setup.writeFixtures = [](const std::filesystem::path& folder) {
        // The pictures as the game has them.
        const std::filesystem::path content = std::filesystem::absolute(tarsel::test::ContentDir());
        for (const char* part : {"materials/splash", "textures/ui/splash"}) {
            std::filesystem::create_directories((folder / part).parent_path());
            std::filesystem::create_directory_symlink(content / part, folder / part);
        }
        tarsel::test::WriteMenuSounds(folder);
        tarsel::test::WriteQuitButton(folder);
    };
    return setup;
}

// What the tests read after each frame.
struct FrameRecord {
    float fade = 0.0f;
    std::array<bool, 3> pictures{};
    bool loading = false;
};

FrameRecord Record(const FlowGame& game)
{
    FrameRecord record;
    record.fade = game.GetFadeFactor();
    for (std::size_t i = 0; i < kPictures.size(); ++i)
        record.pictures[i] = game.FindEntity(kPictures[i]) != nullptr;
    record.loading = game.FindEntity("loading_text") != nullptr;
    return record;
}

TEST(StartupFlow, ThePicturesFadeInAndOutInTurnThenTheLoadingScreenAndTheMainMenu)
{
    FlowGame game(BootSetup());
    ASSERT_TRUE(game.Start());
    // records[f] is read after frame f.
    std::vector<FrameRecord> records(1);
    const int chainEnd = FrameAt(9.0f);
    while (static_cast<int>(records.size()) <= chainEnd + 3) {
        ASSERT_TRUE(game.Frame());
        records.push_back(Record(game));
    }

    for (std::size_t picture = 0; picture < kPictures.size(); ++picture) {
        SCOPED_TRACE(kPictures[picture]);
        const float start = 3.0f * static_cast<float>(picture);
        // Only this picture shows from its start to its end.
        for (float t : {0.5f, 1.5f, 2.5f, 2.95f}) {
            const FrameRecord& at = records[static_cast<std::size_t>(FrameAt(start + t))];
            for (std::size_t other = 0; other < kPictures.size(); ++other)
                EXPECT_EQ(at.pictures[other], other == picture) << "t " << start + t << ", " << kPictures[other];
        }
        EXPECT_FALSE(records[static_cast<std::size_t>(FrameAt(start + 3.0f) + 1)].pictures[picture]);
        // The fade rises over the first second, holds, and falls over the third.
        EXPECT_NEAR(records[static_cast<std::size_t>(FrameAt(start + 0.5f))].fade, 0.5f, kDt + 1e-3f);
        EXPECT_NEAR(records[static_cast<std::size_t>(FrameAt(start + 1.5f))].fade, 1.0f, 1e-3f);
        EXPECT_NEAR(records[static_cast<std::size_t>(FrameAt(start + 2.5f))].fade, 0.5f, kDt + 1e-3f);
    }
    // The loading screen fades in from black.
    std::size_t loading = 1;
    while (loading < records.size() && !records[loading].loading)
        ++loading;
    ASSERT_LT(loading, records.size());
    EXPECT_GE(static_cast<int>(loading), chainEnd - 1);
    EXPECT_NEAR(records[loading].fade, kDt, 1e-4f);
    EXPECT_NEAR(records.back().fade, kDt * static_cast<float>(records.size() - loading), 1e-3f);

    // A skip press after the time limit does nothing: the rise goes on.
    game.Input().TapKey(kSpace);
    ASSERT_TRUE(game.Frame());
    EXPECT_NEAR(game.GetFadeFactor(), kDt * static_cast<float>(records.size() + 1 - loading), 1e-3f);

    // Then, once loading is over, the main menu.
    ASSERT_TRUE(game.RunUntil([&] { return game.RunningScreens() == std::vector<std::string>{"MainMenu"}; }, 1200));
    auto* cursor = game.FindTransform3D("cursor");
    ASSERT_NE(cursor, nullptr);
    EXPECT_FLOAT_EQ(cursor->m_scaleX, 0.0f);
    game.RunFrames(60); // one frame, then 0.5 s of growth; the fade-in takes 1 s
    EXPECT_NEAR(cursor->m_scaleX, quellor::MainMenu::kCursorScale, 1e-4f);
    EXPECT_NEAR(cursor->m_scaleZ, quellor::MainMenu::kCursorScale, 1e-4f);
    EXPECT_NEAR(game.GetFadeFactor(), 1.0f, 1e-4f);
    quellor::SoundSystem* sound = game.GetGame().GetSoundSystem();
    ASSERT_TRUE(sound->IsPlaying("theme_menu.ogg", quellor::SoundSystem::SongTable));
    const int channel = sound->GetChannel("theme_menu.ogg", quellor::SoundSystem::SongTable)->channel;
    const auto& state = game.GetSoundRecord().channels.at(static_cast<std::size_t>(channel));
    EXPECT_EQ(state.loops, -1);
    EXPECT_FLOAT_EQ(state.volume, 0.5f);
    EXPECT_EQ(game.CountPlays("theme_menu.ogg"), 1);
}

TEST(StartupFlow, SpaceRemovesTheMakerPictureAtOnceAndTheLoadingScreenFadesInFromBlack)
{
    FlowGame game(BootSetup());
    ASSERT_TRUE(game.Start());
    game.RunFrames(9);
    ASSERT_NE(game.FindEntity("corvath_splash"), nullptr);
    EXPECT_GT(game.GetFadeFactor(), 0.1f);
    game.Input().TapKey(kSpace);
    ASSERT_TRUE(game.Frame());
    EXPECT_EQ(game.FindEntity("corvath_splash"), nullptr);
    EXPECT_NEAR(game.GetFadeFactor(), kDt, 1e-4f);
    EXPECT_NE(game.FindEntity("loading_text"), nullptr);
    game.RunFrames(3);
    EXPECT_NEAR(game.GetFadeFactor(), 4.0f * kDt, 1e-4f);
    for (const char* picture : kPictures)
        EXPECT_EQ(game.FindEntity(picture), nullptr) << picture;
}

TEST(StartupFlow, PadTwoSkipsOnlyWhileConnected)
{
    FlowGame game(BootSetup());
    ASSERT_TRUE(game.Start());
    game.RunFrames(2);
    // A held while unplugged: not read.
    game.Input().SetPadButton(2, kPadA, true);
    game.Input().SetPadConnected(2, false);
    game.RunFrames(5);
    EXPECT_NE(game.FindEntity("corvath_splash"), nullptr);
    game.Input().SetPadButton(2, kPadA, false); // plugs it in, released
    game.RunFrames(1);
    EXPECT_NE(game.FindEntity("corvath_splash"), nullptr);
    game.Input().SetPadButton(2, kPadA, true);
    game.RunFrames(1);
    EXPECT_EQ(game.FindEntity("corvath_splash"), nullptr);
    EXPECT_NEAR(game.GetFadeFactor(), kDt, 1e-4f);
}

class StartupMouseSkip : public ::testing::TestWithParam<int> {};

TEST_P(StartupMouseSkip, AMouseButtonSkips)
{
    FlowGame game(BootSetup());
    ASSERT_TRUE(game.Start());
    game.RunFrames(4);
    game.Input().TapKey(GetParam());
    game.RunFrames(1);
    EXPECT_EQ(game.FindEntity("corvath_splash"), nullptr);
    EXPECT_NE(game.FindEntity("loading_text"), nullptr);
}

// Left, middle and X1, by their virtual-key codes.
INSTANTIATE_TEST_SUITE_P(Buttons, StartupMouseSkip, ::testing::Values(1, 4, 5));

} // namespace
