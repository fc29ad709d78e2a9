#include "gameplay/ShotPose.h"

#include <gtest/gtest.h>

#include <vector>

namespace quellor {
namespace {

TEST(ShotPose, OrbShotRisesHoldsAndFalls)
{
    ShotPose pose;
    EXPECT_EQ(pose.Advance(0.1f), 0.0f) << "no pose before a shot";
    pose.SetOrbBlast(0.5f, 0.3f);
    EXPECT_NEAR(pose.Advance(0.05f), 0.0f, 1e-6f) << "the first update after the call";
    EXPECT_NEAR(pose.GetOrbRemaining(), 0.45f, 1e-6f);
    EXPECT_NEAR(pose.Advance(0.15f), 0.5f, 1e-5f) << "0.45 s left";
    EXPECT_NEAR(pose.GetOrbRemaining(), 0.3f, 1e-6f);
    EXPECT_NEAR(pose.Advance(0.25f), 1.0f, 1e-6f) << "0.3 s left";
    EXPECT_NEAR(pose.GetOrbRemaining(), 0.05f, 1e-6f);
    EXPECT_NEAR(pose.Advance(1.0f), 0.5f, 1e-5f) << "0.05 s left";
    EXPECT_EQ(pose.Advance(0.1f), 0.0f) << "over";

    // A new call restarts the pose from its rise.
    pose.SetOrbBlast(0.5f, 0.3f);
    pose.Advance(0.2f);
    pose.SetOrbBlast(0.5f, 0.3f);
    EXPECT_NEAR(pose.Advance(0.05f), 0.0f, 1e-6f);
}

TEST(ShotPose, LiftRampRisesWhileRequestedHoldsAndFalls)
{
    // Binary fractions keep the level's steps exact.
    const float dt = 0.0625f;
    ShotPose pose;
    std::vector<float> b;
    for (int frame = 0; frame < 6; ++frame) {
        pose.SetLiftBlast(0.25f);
        b.push_back(pose.Advance(dt));
    }
    for (int frame = 0; frame < 6; ++frame)
        b.push_back(pose.Advance(dt));
    const std::vector<float> expected = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 1.0f, // rising, then held
                                         1.0f, 0.75f, 0.5f, 0.25f, 0.0f, 0.0f}; // falling once the requests stop
    EXPECT_EQ(b, expected);
}

TEST(ShotPose, OrbShotLeavesTheLiftRampAsItIs)
{
    ShotPose pose;
    for (int frame = 0; frame < 3; ++frame) {
        pose.SetLiftBlast(0.25f);
        pose.Advance(0.0625f);
    }
    ASSERT_EQ(pose.GetLiftLevel(), 0.1875f);
    pose.SetOrbBlast(0.5f, 0.3f);
    for (int frame = 0; frame < 8; ++frame) { // 8 x 0.0625 s = the shot's length
        pose.SetLiftBlast(0.25f); // held during the shot: the level does not move
        const float b = pose.Advance(0.0625f);
        if (frame == 4) {
            EXPECT_EQ(b, 1.0f) << "the orb pose is the one served";
        }
        EXPECT_EQ(pose.GetLiftLevel(), 0.1875f);
    }
    ASSERT_EQ(pose.GetOrbRemaining(), 0.0f);
    EXPECT_EQ(pose.Advance(0.0625f), 0.75f) << "the ramp goes on from where the shot left it";
    EXPECT_EQ(pose.Advance(0.0625f), 1.0f);
}

TEST(ShotPose, ResetEndsBothPoses)
{
    ShotPose pose;
    pose.SetOrbBlast(0.5f, 0.3f);
    pose.Advance(0.2f);
    pose.SetLiftBlast(0.25f);
    pose.Reset();
    EXPECT_EQ(pose.Advance(0.05f), 0.0f);
    EXPECT_EQ(pose.GetLiftLevel(), 0.0f);

    for (int frame = 0; frame < 3; ++frame) {
        pose.SetLiftBlast(0.25f);
        pose.Advance(0.0625f);
    }
    pose.SetLiftBlast(0.25f);
    pose.Reset();
    EXPECT_EQ(pose.Advance(0.0625f), 0.0f);
    EXPECT_EQ(pose.Advance(0.0625f), 0.0f);
}

TEST(ShotPose, TheFactorStaysAShareWhenTheLevelStepsPastTheRamp)
{
    // Frames longer than the ramp's steps carry the level above its length and below 0.
    ShotPose pose;
    const float dt = 0.1875f;
    for (const float expected : {0.0f, 0.75f, 1.0f}) {
        pose.SetLiftBlast(0.25f);
        EXPECT_EQ(pose.Advance(dt), expected);
    }
    ASSERT_EQ(pose.GetLiftLevel(), 0.375f);
    EXPECT_EQ(pose.Advance(0.25f), 1.0f) << "level 0.375 over length 0.25";
    EXPECT_EQ(pose.Advance(0.25f), 0.5f);
    ASSERT_EQ(pose.GetLiftLevel(), -0.125f);
    pose.SetLiftBlast(0.25f);
    EXPECT_EQ(pose.Advance(0.0625f), 0.0f) << "a new request over a level below 0";
}

} // namespace
} // namespace quellor
