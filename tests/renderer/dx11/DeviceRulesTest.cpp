#include "platform/SdlDisplay.h"
#include "renderer/dx11/DeviceRules.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ZOR;

namespace {

std::vector<DisplayMode> Modes(std::initializer_list<std::array<std::uint32_t, 3>> list)
{
    std::vector<DisplayMode> modes;
    for (const auto& m : list)
        modes.emplace_back(Dimension(m[0], m[1]), m[2]);
    return modes;
}

std::vector<std::array<std::uint32_t, 3>> Kept(const std::vector<DisplayMode>& offered)
{
    std::vector<std::array<std::uint32_t, 3>> kept;
    for (std::size_t i : KeepDisplayModes(offered))
        kept.push_back({offered[i].resolution.width, offered[i].resolution.height, offered[i].refreshRate});
    return kept;
}

using Triples = std::vector<std::array<std::uint32_t, 3>>;

} // namespace

TEST(DisplayModeRules, KeepsOneModePerSizeFromAWidthOf800OrAHeightOf600)
{
    // 640x480 is too small both ways; of the two 800x600 modes the later (75 Hz) stays.
    EXPECT_EQ(Kept(Modes({{640, 480, 60}, {800, 600, 60}, {800, 600, 75}})), (Triples{{800, 600, 75}}));
    // Wide enough but low, and tall enough but narrow, are kept; 720x576 is neither.
    EXPECT_EQ(Kept(Modes({{720, 576, 50}, {760, 600, 60}, {1024, 480, 60}})),
              (Triples{{760, 600, 60}, {1024, 480, 60}}));
    EXPECT_TRUE(Kept({}).empty());
}

TEST(DisplayModeRules, SdlsDescendingListEndsWithTheLargestMode)
{
    std::vector<platform::DisplayModeDesc> sdl = {{1920, 1080, 75, 0}, {1920, 1080, 60, 0}, {1280, 720, 60, 0},
                                                  {800, 600, 60, 0},   {640, 480, 60, 0},   {0, 0, 0, 0}};
    std::vector<DisplayMode> offered;
    for (const auto& m : platform::SdlDisplay::Arrange(sdl, {1920, 1080, 60, 0}))
        offered.emplace_back(Dimension(m.width, m.height), m.refreshRate);
    const Triples kept = Kept(offered);
    EXPECT_EQ(kept, (Triples{{800, 600, 60}, {1280, 720, 60}, {1920, 1080, 75}}));
}

TEST(DisplayModeRules, KeepsTheLargestModeWhenAllAreSmall)
{
    EXPECT_EQ(Kept(Modes({{640, 480, 60}, {720, 576, 50}, {720, 576, 60}})), (Triples{{720, 576, 60}}));
}

TEST(DisplayModeRules, StartsInTheConfiguredModeElseTheLastOne)
{
    const auto kept = Modes({{800, 600, 60}, {1024, 768, 60}, {1280, 720, 60}});

    DisplayModeChoice choice = ChooseDisplayMode(kept, Dimension(1024, 768));
    EXPECT_EQ(choice.index, 1u);
    EXPECT_FALSE(choice.saveResolution);

    // An empty size (either side) takes the last mode and saves it.
    choice = ChooseDisplayMode(kept, Dimension(0, 0));
    EXPECT_EQ(choice.index, 2u);
    EXPECT_TRUE(choice.saveResolution);
    choice = ChooseDisplayMode(kept, Dimension(1024, 0));
    EXPECT_EQ(choice.index, 2u);
    EXPECT_TRUE(choice.saveResolution);

    // A size that is not offered (an absurd one too) takes the last mode without saving.
    for (const Dimension& size : {Dimension(1024, 600), Dimension(100000, 100000)}) {
        choice = ChooseDisplayMode(kept, size);
        EXPECT_EQ(choice.index, 2u);
        EXPECT_FALSE(choice.saveResolution);
    }
}

TEST(DeviceRules, AnisotropyLevelsDoubleAndUnknownOnesFilterOnce)
{
    EXPECT_EQ(MaxAnisotropy(Anisotropy::X1), 1u);
    EXPECT_EQ(MaxAnisotropy(Anisotropy::X8), 8u);
    EXPECT_EQ(MaxAnisotropy(Anisotropy::X16), 16u);
    EXPECT_EQ(MaxAnisotropy(static_cast<Anisotropy>(5)), 1u);
}

TEST(DeviceRules, PixelTransformMapsClipSpaceCornersOntoTheViewport)
{
    const Viewport viewport(10, 20, Dimension(200, 100), 0.0f, 1.0f);
    const float4x4 m = PixelTransform(viewport);
    // Clip (-1, 1) is the top-left pixel corner, (1, -1) the bottom-right one.
    const float4 topLeft = m * float4(-1.0f, 1.0f, 0.5f, 1.0f);
    const float4 bottomRight = m * float4(1.0f, -1.0f, 0.5f, 1.0f);
    EXPECT_FLOAT_EQ(topLeft.x, 10.0f);
    EXPECT_FLOAT_EQ(topLeft.y, 20.0f);
    EXPECT_FLOAT_EQ(bottomRight.x, 210.0f);
    EXPECT_FLOAT_EQ(bottomRight.y, 120.0f);
    EXPECT_FLOAT_EQ(topLeft.z, 0.5f);
}

TEST(DeviceRules, CardDescriptionCutsTheNameAndAddsTheMemory)
{
    EXPECT_EQ(GraphicsCardDescription("llvmpipe", 0), "llvmpipe 0MB");
    EXPECT_EQ(GraphicsCardDescription(std::string(200, 'x'), 2048), std::string(128, 'x') + " 2048MB");
}
