#include "platform/SdlDisplay.h"

#include <gtest/gtest.h>

using platform::DisplayModeDesc;
using platform::SdlDisplay;

TEST(SdlDisplay, ArrangeSortsLargestFirstListAscendingAndDropsEmptySizes)
{
    // SDL's own order: largest first, higher refresh rates first within a size.
    const std::vector<DisplayModeDesc> listed = {
        {1920, 1080, 75, 1}, {1920, 1080, 60, 1}, {1280, 1024, 60, 1}, {1280, 720, 60, 1},
        {0, 0, 0, 1},        {800, 600, 75, 1},   {800, 600, 60, 1},   {640, 480, 60, 1},
    };
    const auto arranged = SdlDisplay::Arrange(listed, {1920, 1080, 60, 1});
    const std::vector<DisplayModeDesc> expected = {
        {640, 480, 60, 1},   {800, 600, 60, 1},   {800, 600, 75, 1},    {1280, 720, 60, 1},
        {1280, 1024, 60, 1}, {1920, 1080, 60, 1}, {1920, 1080, 75, 1},
    };
    EXPECT_EQ(arranged, expected);
}

TEST(SdlDisplay, ArrangeOffersTheDesktopWhenOnlyEmptySizesAreListed)
{
    // The offscreen driver lists a single 0 x 0 mode on a 1024 x 768 desktop.
    const auto arranged = SdlDisplay::Arrange({{0, 0, 0, 0}}, {1024, 768, 0, 7});
    ASSERT_EQ(arranged.size(), 1u);
    EXPECT_EQ(arranged[0], (DisplayModeDesc{1024, 768, 0, 7}));

    EXPECT_TRUE(SdlDisplay::Arrange({}, {0, 0, 0, 0}).empty());
    EXPECT_TRUE(SdlDisplay::Arrange({{1024, 0, 60, 0}, {0, 768, 60, 0}}, {0, 0, 0, 0}).empty());
}

TEST(SdlDisplay, OffscreenDriverOffersItsDesktopMode)
{
    SdlDisplay display;
    std::vector<DisplayModeDesc> modes;
    std::string error;
    ASSERT_TRUE(display.GetModes(modes, error)) << error;
    ASSERT_FALSE(modes.empty());
    for (const DisplayModeDesc& mode : modes) {
        EXPECT_GT(mode.width, 0u);
        EXPECT_GT(mode.height, 0u);
    }
    DisplayModeDesc desktop;
    ASSERT_TRUE(display.GetDesktopMode(desktop, error)) << error;
    EXPECT_GT(desktop.width, 0u);
}
