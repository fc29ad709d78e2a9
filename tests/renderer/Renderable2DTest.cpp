// Sprites: animation timing, cells on the sheet, stopping, and unknown animation names.
#include "renderer/Renderable2D.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using ZOR::Renderable2D;

Renderable2D::Animation2D FourFrames(bool loop)
{
    Renderable2D::Animation2D animation;
    animation.duration = 1.0f;
    animation.loop = loop;
    animation.frames = {0, 1, 2, 3};
    return animation;
}

// Frame indices after each of n updates of dt.
std::vector<unsigned> Advance(Renderable2D& sprite, float dt, int n)
{
    std::vector<unsigned> frames;
    for (int i = 0; i < n; ++i) {
        sprite.Update(dt);
        frames.push_back(sprite.GetCurrentFrame());
    }
    return frames;
}

TEST(Renderable2DTest, FramesAdvanceOncePerQuarterAndDropTheRemainder)
{
    for (const float dt : {0.25f, 0.3f}) {
        Renderable2D sprite;
        sprite.AddAnimation("walk", FourFrames(true));
        sprite.PlayAnimation("walk");
        EXPECT_EQ(Advance(sprite, dt, 5), (std::vector<unsigned>{1, 2, 3, 0, 1})) << dt;
    }
    Renderable2D slow;
    slow.AddAnimation("walk", FourFrames(true));
    slow.PlayAnimation("walk");
    EXPECT_EQ(Advance(slow, 0.1f, 6), (std::vector<unsigned>{0, 0, 1, 1, 1, 2}));
}

TEST(Renderable2DTest, ANonLoopingAnimationHoldsItsLastFrameAndStopReturnsToTheFirstCell)
{
    Renderable2D sprite;
    sprite.SetFrameSize(64, 64);
    sprite.SetSheetSize(ZOR::float2(256, 256));
    Renderable2D::Animation2D animation = FourFrames(false);
    animation.frames = {3, 5, 6, 7};
    sprite.AddAnimation("once", animation);
    sprite.PlayAnimation("once");
    EXPECT_EQ(Advance(sprite, 0.25f, 6), (std::vector<unsigned>{1, 2, 3, 3, 3, 3}));
    EXPECT_TRUE(sprite.IsPlaying());
    const ZOR::float4 last = sprite.GetInstance().frameData;
    EXPECT_FLOAT_EQ(last.x, 0.75f);
    EXPECT_FLOAT_EQ(last.y, 0.25f);

    sprite.StopAnimation();
    sprite.Update(0.0f);
    EXPECT_FALSE(sprite.IsPlaying());
    EXPECT_EQ(sprite.GetCurrentFrame(), 0u);
    EXPECT_FLOAT_EQ(sprite.GetInstance().frameData.x, 0.75f) << "cell 3 is column 3 of row 0";
    EXPECT_FLOAT_EQ(sprite.GetInstance().frameData.y, 0.0f);
}

TEST(Renderable2DTest, CellFiveOfAFourColumnSheetIsColumnOneRowOne)
{
    Renderable2D sprite;
    sprite.SetFrameSize(64, 64);
    sprite.SetSheetSize(ZOR::float2(256, 256));
    Renderable2D::Animation2D animation;
    animation.duration = 1.0f;
    animation.frames = {5};
    sprite.AddAnimation("five", animation);
    // Playing shows the new animation's first cell at the next update.
    sprite.PlayAnimation("five");
    sprite.Update(0.0f);
    const ZOR::float4 r = sprite.GetInstance().frameData;
    EXPECT_FLOAT_EQ(r.x, 0.25f);
    EXPECT_FLOAT_EQ(r.y, 0.25f);
    EXPECT_FLOAT_EQ(r.z, 0.25f);
    EXPECT_FLOAT_EQ(r.w, 0.25f);
}

TEST(Renderable2DTest, AnUnknownNameIsLoggedAndIgnoredAndTheFirstAnimationOfANameStays)
{
    Renderable2D sprite;
    sprite.AddAnimation("walk", FourFrames(true));
    Renderable2D::Animation2D other = FourFrames(false);
    other.duration = 7.0f;
    sprite.AddAnimation("walk", other);
    EXPECT_FLOAT_EQ(sprite.GetAnimation("walk").duration, 1.0f);
    EXPECT_THROW(sprite.GetAnimation("run"), std::out_of_range);

    tarsel::test::StdoutCapture capture;
    sprite.PlayAnimation("run");
    EXPECT_NE(capture.Text().find("run"), std::string::npos);
    EXPECT_FALSE(sprite.IsPlaying());
    sprite.Update(1.0f);
    EXPECT_EQ(sprite.GetCurrentFrame(), 0u);
}

TEST(Renderable2DTest, NoFramesOrZeroColumnsLeaveTheRectangle)
{
    Renderable2D sprite;
    Renderable2D::Animation2D empty;
    empty.duration = 1.0f;
    sprite.AddAnimation("empty", empty);
    sprite.PlayAnimation("empty");
    sprite.Update(0.5f);
    EXPECT_FLOAT_EQ(sprite.GetInstance().frameData.z, 1.0f);

    Renderable2D wide;
    wide.SetFrameSize(512, 64);
    wide.SetSheetSize(ZOR::float2(256, 256));
    wide.AddAnimation("walk", FourFrames(true));
    wide.PlayAnimation("walk");
    wide.Update(0.25f);
    EXPECT_FLOAT_EQ(wide.GetInstance().frameData.x, 0.0f);
    EXPECT_FLOAT_EQ(wide.GetInstance().frameData.z, 1.0f);
}

} // namespace
