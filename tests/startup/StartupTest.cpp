// The game's start-up and frame loop in process: offscreen window, dummy audio, a temporary
// documents folder, the built content as working directory, a fixed frame time and scripted input.
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Input.h"
#include "engine/PerformanceCounter.h"
#include "engine/SimulatedClock.h"
#include "engine/Timer.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/cameras/CameraSystem.h"
#include "platform/ScriptedInputSource.h"
#include "tarsel/Game.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using tarsel::Game;
using tarsel::Options;
using tarsel::test::TempDir;

namespace {

class StartupTest : public testing::Test {
protected:
    StartupTest() : documents(true)
    {
        cwd.emplace(tarsel::test::ContentDir());
    }

    // A game with a fixed frame time and, when given, a script; started.
    Game& Make(const std::string& script = "", std::uint32_t frames = 0, float dt = 0.1f, bool simulatedClock = false)
    {
        Options options;
        options.fixedDt = dt;
        options.simulatedClock = simulatedClock;
        options.frames = frames;
        if (!script.empty()) {
            documents.Write("input.txt", script);
            options.inputFile = (documents / "input.txt").string();
        } else {
            // Scripted input with no events: focus on, nothing pressed.
            documents.Write("input.txt", "# nothing\n");
            options.inputFile = (documents / "input.txt").string();
        }
        game.emplace(options);
        std::string error;
        EXPECT_TRUE(game->LoadInputScript(error)) << error;
        EXPECT_TRUE(game->Start());
        return *game;
    }

    TempDir documents;
    std::optional<tarsel::test::WorkingDirectory> cwd;
    std::optional<Game> game;
};

} // namespace

TEST_F(StartupTest, SystemsInOrderWithTheSavedSettingsApplied)
{
    Game& g = Make();
    const quellor::Space* space = quellor::Engine::Instance()->GetSpace("default");
    ASSERT_NE(space, nullptr);
    std::vector<std::string> names;
    for (const quellor::System* system : space->GetUpdateList())
        names.push_back(system->GetName());
    EXPECT_EQ(names, (std::vector<std::string>{"System", "Input", "PhysicsSystem3D", "AISystem", "ResourceSystem",
                                               "ObjectSystem", "ActionSystem", "CameraSystem", "FeatherSystem",
                                               "GameLogicSystem", "SoundSystem", "UISystem", "GraphicsSystem"}));
    // No camera path plays in the menus.
    auto* cameras = quellor::Engine::Instance()->GetSystem<quellor::CameraSystem>("default");
    ASSERT_NE(cameras, nullptr);
    EXPECT_TRUE(cameras->IsAutomatedCameraDisabled());
    // The first run wrote the defaults, and they reached both systems.
    EXPECT_TRUE(std::filesystem::exists(documents / "Corvath/Tarsel/config.ini"));
    ASSERT_NE(g.GetSoundSystem(), nullptr);
    EXPECT_FALSE(g.GetSoundSystem()->IsMuteAll()); // muted until the settings arrive
    quellor::GraphicsSystem* graphics = g.GetGraphicsSystem();
    ASSERT_NE(graphics, nullptr);
    EXPECT_TRUE(graphics->ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::Bloom, -1));
    EXPECT_FALSE(graphics->ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::SSAO, -1));
    EXPECT_FLOAT_EQ(graphics->GetFadeFactor(), 0.0f);
}

TEST_F(StartupTest, FadeRisesDropsOnceLoadedAndRisesAgain)
{
    // Space in the first frame skips the pictures before they start.
    Game& g = Make("1 32 down\n", 0, 0.1f);
    float& fade = g.GetGraphicsSystem()->GetFadeFactor();
    std::vector<float> fades;
    // Loading takes what the loader threads need; the frames only wait for it. The main menu
    // then fades in and stays.
    bool dropped = false;
    for (int i = 0; i < 200000 && !(dropped && fade >= 1.0f); ++i) {
        ASSERT_TRUE(g.Frame());
        dropped = dropped || (!fades.empty() && fade < fades.back());
        fades.push_back(fade);
    }
    ASSERT_GE(fades.size(), 2u);
    // A linear rise of 0.1 a frame, held at full until loading is over (the loader threads may
    // finish within the first second, since the frames draw for real), then a drop to the start
    // of a new rise, and the rise to 1.
    std::size_t drop = 1;
    while (drop < fades.size() && fades[drop] >= fades[drop - 1])
        ++drop;
    ASSERT_LT(drop, fades.size()) << "the fade never dropped";
    for (std::size_t i = 0; i < drop; ++i)
        EXPECT_NEAR(fades[i], std::min(1.0f, 0.1f * static_cast<float>(i + 1)), 1e-4f) << i;
    EXPECT_NEAR(fades[drop], 0.1f, 1e-4f);
    EXPECT_NEAR(fades.back(), 1.0f, 1e-4f);
    EXPECT_EQ(quellor::Engine::Instance()->GetEntity("loading_text", "default"), nullptr);
}

TEST_F(StartupTest, AltHeldWithF4PressedEndsTheLoopAfterThatFrame)
{
    Game& g = Make("3 18 down\n3 115 down\n", 50);
    EXPECT_EQ(g.Run(), 3u);
}

TEST_F(StartupTest, F4HeldSinceBeforeAltDoesNotEndTheLoop)
{
    Game& g = Make("2 115 down\n4 18 down\n", 8);
    EXPECT_EQ(g.Run(), 8u);
}

TEST_F(StartupTest, ScriptedLinesReachInputInTheirFrame)
{
    Game& g = Make("2 65 down\n"
                   "3 pad 1 button 10 down\n"
                   "4 pad 2 axis lt 255\n"
                   "5 focus off\n");
    quellor::Input* input = g.GetInput();
    ASSERT_TRUE(g.Frame());
    EXPECT_FALSE(input->KeyIsDown(65, -1));
    ASSERT_TRUE(g.Frame());
    EXPECT_TRUE(input->KeyIsPressed(65, -1));
    EXPECT_FALSE(input->KeyIsDown(10, 1));
    ASSERT_TRUE(g.Frame());
    EXPECT_TRUE(input->KeyIsPressed(10, 1));
    EXPECT_EQ(input->GetLeftTrigger(2), 0);
    ASSERT_TRUE(g.Frame());
    EXPECT_EQ(input->GetLeftTrigger(2), 255);
    EXPECT_TRUE(input->KeyIsDown(65, -1));
    EXPECT_TRUE(g.GetLastCursorDecision().clip);
    ASSERT_TRUE(g.Frame());
    // Without focus the cursor is let go.
    EXPECT_FALSE(g.GetLastCursorDecision().clip);
}

TEST_F(StartupTest, PadZeroReleasesTheCursor)
{
    Game& g = Make("1 pad 1 button 4 down\n3 pad 0 button 4 down\n");
    ASSERT_TRUE(g.Frame());
    ASSERT_TRUE(g.Frame());
    ASSERT_TRUE(g.Frame()); // the cursor is decided before this frame's poll
    EXPECT_TRUE(g.GetLastCursorDecision().clip);
    ASSERT_TRUE(g.Frame());
    EXPECT_FALSE(g.GetLastCursorDecision().clip);
}

TEST_F(StartupTest, UnderASimulatedClockEveryReadingFollowsTheFramesUntilShutdown)
{
    Game& g = Make("", 0, 0.016f, true);
    ASSERT_TRUE(quellor::SimulatedClock::IsInstalled());
    const quellor::Timer timer;
    for (int frame = 1; frame <= 25; ++frame) {
        ASSERT_TRUE(g.Frame());
        EXPECT_FLOAT_EQ(timer.GetTime(), 0.016f * static_cast<float>(frame)) << frame;
    }
    g.Shutdown();
    EXPECT_FALSE(quellor::SimulatedClock::IsInstalled());
    // The steady clock again: it moves without frames.
    const std::int64_t first = quellor::PerformanceCounter();
    std::int64_t later = first;
    for (int i = 0; i < 100'000'000 && later == first; ++i)
        later = quellor::PerformanceCounter();
    EXPECT_GT(later, first);
}

TEST_F(StartupTest, AFixedFrameTimeAloneKeepsTheRealClock)
{
    Make("", 0, 0.016f);
    EXPECT_FALSE(quellor::SimulatedClock::IsInstalled());
}
