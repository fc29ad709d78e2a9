// The steering formulas on plain values, with the engine's random source scripted.
#include "ai/steering/Steering.h"
#include "tests/ai/SteeringExpect.h"
#include "tests/support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quellor::test {
namespace {

using tarsel::test::ScriptedRandom;

const Vec4 kHere(1.0f, 2.0f, 3.0f, 1.0f);
const Vec4 kVelocity(0.5f, -1.0f, 2.0f, 0.0f);

TEST(SteeringFormulas, SeekAndFleeGoAlongTheUnitDirectionAndStayZeroAtTheTarget)
{
    const Vec4 target(1.0f, 2.0f, 7.0f, 1.0f); // 4 along +z
    ExpectVec(steering::Seek(kHere, target, 3.0f), 0.0f, 0.0f, 3.0f);
    ExpectVec(steering::Flee(kHere, target, 3.0f), 0.0f, 0.0f, -3.0f);
    ExpectVec(steering::SeekMatchingVelocity(kHere, kVelocity, target, 3.0f), -0.5f, 1.0f, 1.0f);

    ExpectVec(steering::Seek(kHere, kHere, 3.0f), 0.0f, 0.0f, 0.0f);
    ExpectVec(steering::Flee(kHere, kHere, 3.0f), 0.0f, 0.0f, 0.0f);
    ExpectVec(steering::SeekMatchingVelocity(kHere, kVelocity, kHere, 3.0f), -0.5f, 1.0f, -2.0f);
}

TEST(SteeringFormulas, ArriveSlowsLinearlyInsideTheSlowRadius)
{
    const Vec4 target(5.0f, 2.0f, 3.0f, 1.0f); // 4 along +x
    ExpectVec(steering::Arrive(kHere, target, 6.0f, 4.0f), 6.0f, 0.0f, 0.0f);  // at the radius: full speed
    ExpectVec(steering::Arrive(kHere, target, 6.0f, 8.0f), 3.0f, 0.0f, 0.0f);  // half the radius: half
    ExpectVec(steering::Arrive(kHere, target, 6.0f, 2.0f), 6.0f, 0.0f, 0.0f);  // outside: full speed
    ExpectVec(steering::Arrive(kHere, kHere, 6.0f, 8.0f), 0.0f, 0.0f, 0.0f);   // at the target
    const Vec4 still = steering::Arrive(kHere, kHere, 6.0f, 0.0f);             // no radius at all
    EXPECT_FALSE(std::isnan(still.x) || std::isnan(still.y) || std::isnan(still.z) || std::isnan(still.w));
    ExpectVec(still, 0.0f, 0.0f, 0.0f);
}

TEST(SteeringFormulas, PursueAndEvadeLeadAMovingTargetAndMatchSeekAndFleeForAStillOne)
{
    const Vec4 target(1.0f, 2.0f, 9.0f, 1.0f); // 6 along +z
    const Vec4 still;
    ExpectVec(steering::Pursue(kHere, target, still, 2.0f), 0.0f, 0.0f, 2.0f);
    ExpectVec(steering::Evade(kHere, target, still, 2.0f), 0.0f, 0.0f, -2.0f);
    const Vec4 seek = steering::Seek(kHere, Vec4(4.0f, 0.0f, -1.0f, 1.0f), 2.0f);
    const Vec4 pursue = steering::Pursue(kHere, Vec4(4.0f, 0.0f, -1.0f, 1.0f), still, 2.0f);
    ExpectVec(pursue, seek.x, seek.y, seek.z, seek.w);

    // Look-ahead 6 / (1 + 2) = 2 s: the target will be 2 along +x.
    const Vec4 sideways(1.0f, 0.0f, 0.0f, 0.0f);
    const float k = 2.0f / std::sqrt(40.0f);
    ExpectVec(steering::Pursue(kHere, target, sideways, 2.0f), 2.0f * k, 0.0f, 6.0f * k);
    ExpectVec(steering::Evade(kHere, target, sideways, 2.0f), -2.0f * k, 0.0f, -6.0f * k);

    // No speed at all on either side: the look-ahead has no value, the output is zero.
    ExpectVec(steering::Pursue(kHere, target, still, 0.0f), 0.0f, 0.0f, 0.0f);
    ExpectVec(steering::Evade(kHere, target, still, 0.0f), 0.0f, 0.0f, 0.0f);
}

TEST(SteeringFormulas, HamiltonProductKeepsTheRunningValueOnTheLeft)
{
    const Quat i(1.0f, 0.0f, 0.0f, 0.0f);
    const Quat j(0.0f, 1.0f, 0.0f, 0.0f);
    ExpectQuat(steering::Multiply(i, j), 0.0f, 0.0f, 1.0f, 0.0f);  // i j = k
    ExpectQuat(steering::Multiply(j, i), 0.0f, 0.0f, -1.0f, 0.0f); // j i = -k
    const Quat a(0.1f, 0.2f, 0.3f, 0.9f);
    const Quat b(-0.4f, 0.5f, 0.2f, 0.7f);
    // w = aw bw - a·b; x = ax bw + bx aw + (ay bz - az by).
    const Quat ab = steering::Multiply(a, b);
    EXPECT_NEAR(ab.w, 0.9f * 0.7f - (0.1f * -0.4f + 0.2f * 0.5f + 0.3f * 0.2f), 1e-6f);
    EXPECT_NEAR(ab.x, 0.1f * 0.7f + -0.4f * 0.9f + (0.2f * 0.2f - 0.3f * 0.5f), 1e-6f);
    ExpectQuat(steering::Scale(a, 2.0f), 0.2f, 0.4f, 0.6f, 1.8f);
}

TEST(SteeringFormulas, WanderTurnRotatesAboutXByTheDrawnAngleInPlace)
{
    // Draw 7500 of 10000 over [-0.8, 0.8]: θ = -0.8 + 0.75 · 1.6 = 0.4.
    ScriptedRandom random({7500});
    Quat rotation;
    ExpectVec(steering::WanderTurn(rotation, 0.8f), 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(random.Draws(), 1u);
    ExpectQuat(rotation, std::sin(0.2f), 0.0f, 0.0f, std::cos(0.2f));

    // A negative maximum gives the same range; a turn is applied on top of the current one.
    random.Script({7500});
    steering::WanderTurn(rotation, -0.8f);
    ExpectQuat(rotation, std::sin(0.4f), 0.0f, 0.0f, std::cos(0.4f));

    // Rows 1 and 2 mix, so the new turn comes before the old rotation (R' = Rx(θ) · R).
    random.Script({7500});
    Quat yaw(0.0f, std::sin(0.5f), 0.0f, std::cos(0.5f)); // 1 rad about y
    steering::WanderTurn(yaw, 0.8f);
    const Quat expected = steering::Multiply(Quat(std::sin(0.2f), 0.0f, 0.0f, std::cos(0.2f)),
                                             Quat(0.0f, std::sin(0.5f), 0.0f, std::cos(0.5f)));
    const float sign = (yaw.w * expected.w < 0.0f) ? -1.0f : 1.0f;
    ExpectQuat(yaw, sign * expected.x, sign * expected.y, sign * expected.z, sign * expected.w);
}

TEST(SteeringFormulas, RandomClampedStaysInItsRangeAtBothEnds)
{
    ScriptedRandom random({9999});
    const float top = RandomClamped();
    EXPECT_LT(top, 1.0f);
    EXPECT_NEAR(top, 0.9998f, 1e-5f);
    EXPECT_EQ(random.Draws(), 3u);

    random.Script({0});
    EXPECT_FLOAT_EQ(RandomClamped(), -1.0f);

    random.Script({5000, 2500, 7500});
    EXPECT_NEAR(RandomClamped(), 0.0f, 1e-6f);
    random.Script({9999});
    EXPECT_NEAR(RandomClampedScaled(10.0f), 9.998f, 1e-4f);
}

} // namespace
} // namespace quellor::test
