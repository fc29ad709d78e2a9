// The pure steps of the graphics option screens: the cursor on the two-column grid, the
// quality levels, the resolution arrows and the read-out of a resolution.
#include "frontend/screens/GraphicsOptionsMenu.h"
#include "frontend/screens/MoreGraphicsOptionsMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using quellor::GraphicsOptionsCursor;
using quellor::GraphicsOptionsMenu;
using quellor::MoreGraphicsOptionsMenu;

std::string Under(const GraphicsOptionsCursor& cursor)
{
    return GraphicsOptionsMenu::EntryName(cursor.Entry());
}

GraphicsOptionsCursor Right(int row)
{
    return GraphicsOptionsCursor{-1, row};
}

TEST(GraphicsOptionsCursorTest, MovesOnTheGridClampAndKeepTheRowAcrossColumns)
{
    const GraphicsOptionsCursor start;
    EXPECT_EQ(Under(start), "lightingBox");
    EXPECT_EQ(Under(start.MovedRight()), "sunBox");
    EXPECT_EQ(Under(start.MovedUp()), "lightingBox");
    EXPECT_EQ(start.MovedLeft(), start);

    // Down walks the left column and stays on its last row.
    GraphicsOptionsCursor left = start;
    std::vector<std::string> walked;
    for (int i = 0; i < 4; ++i) {
        left = left.MovedDown();
        walked.push_back(Under(left));
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"bloomBox", "DOFBox", "SSAOBox", "SSAOBox"}));

    // The right column: five rows, the last stays on Down and on Left.
    EXPECT_EQ(Under(Right(1)), "fogBox");
    EXPECT_EQ(Under(Right(2)), "shadowBox");
    EXPECT_EQ(Under(Right(3)), "moreGraphicsOptions");
    EXPECT_EQ(Under(Right(4).MovedDown()), "back1");
    EXPECT_EQ(Right(4).MovedLeft(), Right(4));
    EXPECT_EQ(Under(Right(2).MovedLeft()), "DOFBox");
    EXPECT_EQ(Under(Right(3).MovedLeft()), "SSAOBox");
    EXPECT_EQ(Right(2).MovedRight(), Right(2));
    EXPECT_EQ(Under(Right(0).MovedUp()), "sunBox");
    EXPECT_EQ(Under(Right(4).MovedUp()), "moreGraphicsOptions");
    // Exactly one row set after any move.
    for (int row = 0; row < 5; ++row) {
        for (const GraphicsOptionsCursor& moved :
             {Right(row).MovedLeft(), Right(row).MovedDown(), Right(row).MovedUp()}) {
            EXPECT_TRUE((moved.left < 0) != (moved.right < 0)) << row;
        }
    }
}

TEST(MoreGraphicsOptionsStepsTest, QualityLevelsWrapBothWaysAndUnknownLevelsStay)
{
    using Q = ZOR::RenderSystem::Quality;
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepQuality(Q::Ultra, true), Q::Low);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepQuality(Q::Low, false), Q::Ultra);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepQuality(Q::Ultra, false), Q::High);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepQuality(Q::Low, true), Q::Medium);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepQuality(4, true), 4u);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepQuality(0xffffffffu, false), 0xffffffffu);
    EXPECT_EQ(MoreGraphicsOptionsMenu::QualityName(Q::Medium), "MEDIUM");
    EXPECT_EQ(MoreGraphicsOptionsMenu::QualityModel(Q::Low), "setting_low.model");
    EXPECT_EQ(MoreGraphicsOptionsMenu::QualityModel(Q::Ultra), "setting_ultra.model");
    EXPECT_EQ(MoreGraphicsOptionsMenu::QualityName(7), "");
}

TEST(MoreGraphicsOptionsStepsTest, ResolutionArrowsStepThroughTheModes)
{
    const std::vector<ZOR::DisplayMode> modes = {
        {{800, 450}, 60}, {{800, 600}, 60}, {{1024, 576}, 60}, {{800, 600}, 75}};
    auto step = [&](ZOR::Dimension chosen, bool right) {
        return MoreGraphicsOptionsMenu::StepResolution(modes, chosen, right);
    };
    // Listed: from the first mode of that size.
    EXPECT_EQ(step({800, 450}, true), 1u);
    EXPECT_EQ(step({800, 450}, false), 3u);
    EXPECT_EQ(step({800, 600}, true), 2u);
    EXPECT_EQ(step({800, 600}, false), 0u);
    EXPECT_EQ(step({1024, 576}, true), 3u);
    // Unlisted: Right gives 1 mod n, Left the last mode.
    EXPECT_EQ(step({1920, 1080}, true), 1u);
    EXPECT_EQ(step({1920, 1080}, false), 3u);

    const std::vector<ZOR::DisplayMode> one = {{{800, 600}, 60}};
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepResolution(one, {800, 600}, true), 0u);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepResolution(one, {800, 600}, false), 0u);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepResolution(one, {640, 480}, true), 0u);
    EXPECT_EQ(MoreGraphicsOptionsMenu::StepResolution(one, {640, 480}, false), 0u);

    EXPECT_FALSE(MoreGraphicsOptionsMenu::StepResolution({}, {800, 600}, true));
    EXPECT_FALSE(MoreGraphicsOptionsMenu::StepResolution({}, {800, 600}, false));
}

TEST(MoreGraphicsOptionsStepsTest, TheReadoutOfAResolutionHasOneModelPerCharacter)
{
    const auto glyphs = MoreGraphicsOptionsMenu::ResolutionGlyphs(1920, 1080);
    std::vector<std::string> models;
    for (const auto& glyph : glyphs)
        models.push_back(glyph.model);
    EXPECT_EQ(models, (std::vector<std::string>{"num_1.model", "num_9.model", "num_2.model", "num_0.model",
                                                "letter_x.model", "num_1.model", "num_0.model", "num_8.model",
                                                "num_0.model"}));
    ASSERT_EQ(glyphs.size(), 9u);
    EXPECT_FLOAT_EQ(glyphs[0].x, 4.0f);
    for (std::size_t i = 1; i < glyphs.size(); ++i) {
        EXPECT_FLOAT_EQ(glyphs[i].x - glyphs[i - 1].x, 1.5f) << i;
        EXPECT_FLOAT_EQ(glyphs[i].y, -1.5f);
        EXPECT_FLOAT_EQ(glyphs[i].z, 1.5f);
    }
    EXPECT_EQ(MoreGraphicsOptionsMenu::ResolutionGlyphs(800, 600).size(), 7u);
}

} // namespace
