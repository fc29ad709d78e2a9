// The content store at start-up: the game reads the save file and writes it back at once.
#include "frontend/content/ContentSystem.h"
#include "tarsel/Game.h"
#include "tests/support/flow/FlowGame.h"
#include "tools/writers/SaveContentWriter.h"

#include <gtest/gtest.h>

namespace {

using Names = quellor::ContentSystem::Names;

const Names kHair = {"hair_tarsel:hair_black", "hair_tarsel:mask_purple", "hair_tarsel:mask_red"};
const Names kMasks = {"mask_default:mask_default", "mask_fox:mask_fox0", "mask_default:mask_fox1",
                      "mask_bunny:mask_bunny"};

TEST(ContentStartupTest, AFirstStartWritesTheTwoHundredTwentyByteFile)
{
    tarsel::test::FlowGame game({});
    EXPECT_EQ(game.ReadSaveContent(), "");
    ASSERT_TRUE(game.Start());
    const std::string bytes = game.ReadSaveContent();
    EXPECT_EQ(bytes.size(), 220u);
    EXPECT_EQ(bytes, tarsel::tools::SaveContentFile({"birthday_halo_hat"}, kHair, kMasks));
    ASSERT_NE(game.GetGame().GetContentSystem(), nullptr);
    // The harness's own seed: a first run's config.ini with the cheap test settings.
    const std::string config = game.ReadConfig();
    for (const char* line : {"FULLSCREEN=0", "WIDTH=800", "HEIGHT=450", "SHADOWS=0", "GOD_RAYS=0", "ANISOTROPY=1",
                             "LIGHTING=1", "MUTE_ALL=0"})
        EXPECT_NE(config.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << config;
}

TEST(ContentStartupTest, ASeededBirthdayHatComesBackWithBothHats)
{
    tarsel::test::FlowSetup setup;
    setup.saveContent = tarsel::tools::SaveContentFile({"birthday_hat"}, {}, {});
    tarsel::test::FlowGame game(std::move(setup));
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(game.GetGame().GetContentSystem()->GetUnlockedHats(), (Names{"birthday_halo_hat", "birthday_hat"}));
    EXPECT_EQ(game.ReadSaveContent(),
              tarsel::tools::SaveContentFile({"birthday_halo_hat", "birthday_hat"}, kHair, kMasks));
}

} // namespace
