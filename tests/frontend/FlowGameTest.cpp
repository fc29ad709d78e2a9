// The flow harness's own choices: the built content as working directory, the first run's
// configuration, a script of input lines and the game's own start-up tree.
#include "engine/Input.h"
#include "tests/support/ContentDir.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

TEST(FlowGameTest, BuiltContentFirstRunConfigAndAnInputScript)
{
    tarsel::test::FlowSetup setup;
    setup.workingDirectory = tarsel::test::ContentDir();
    setup.config = tarsel::test::ConfigSeed::FirstRun;
    setup.inputScript = "2 13 down\n";
    tarsel::test::FlowGame game(std::move(setup));
    EXPECT_EQ(game.GetWorkingDirectory(), tarsel::test::ContentDir());
    ASSERT_TRUE(game.Start());
    const std::string config = game.ReadConfig();
    EXPECT_NE(config.find("ANISOTROPY=16\n"), std::string::npos) << config;
    EXPECT_NE(config.find("SHADOWS=1\n"), std::string::npos) << config;
    ASSERT_TRUE(game.Frame());
    EXPECT_FALSE(game.GetGame().GetInput()->KeyIsDown(13, -1));
    ASSERT_TRUE(game.Frame());
    EXPECT_TRUE(game.GetGame().GetInput()->KeyIsPressed(13, -1));
    // The game's own tree: Enter skips the pictures, and the loading screen fades in from black.
    EXPECT_NEAR(game.GetFadeFactor(), 1.0f / 60.0f, 1e-4f);
    EXPECT_NE(game.FindEntity("loading_text"), nullptr);
    EXPECT_TRUE(game.IsSystemActive("UISystem"));
    EXPECT_FALSE(game.IsSystemActive("NoSuchSystem"));
}

TEST(FlowGameTest, TheLowSeedTurnsBloomOffAndBothQualitiesDown)
{
    tarsel::test::FlowSetup setup;
    setup.workingDirectory = tarsel::test::ContentDir();
    setup.config = tarsel::test::ConfigSeed::TestLow;
    tarsel::test::FlowGame game(std::move(setup));
    const std::string config = game.ReadConfig();
    for (const char* line : {"BLOOM=0\n", "SHADOWS=0\n", "GOD_RAYS=0\n", "GRAPHICS=LOW\n", "PARTICLE=LOW\n",
                             "ANISOTROPY=1\n", "WIDTH=800\n", "HEIGHT=450\n"})
        EXPECT_NE(config.find(line), std::string::npos) << line << " in\n" << config;
}
