#pragma once
// Checks on steering values within a small tolerance.
#include "ai/steering/SteeringOutput.h"

#include <gtest/gtest.h>

namespace quellor::test {

inline void ExpectVec(const Vec4& actual, float x, float y, float z, float w = 0.0f)
{
    EXPECT_NEAR(actual.x, x, 1e-4f);
    EXPECT_NEAR(actual.y, y, 1e-4f);
    EXPECT_NEAR(actual.z, z, 1e-4f);
    EXPECT_NEAR(actual.w, w, 1e-4f);
}

inline void ExpectQuat(const Quat& actual, float x, float y, float z, float w)
{
    EXPECT_NEAR(actual.x, x, 1e-4f);
    EXPECT_NEAR(actual.y, y, 1e-4f);
    EXPECT_NEAR(actual.z, z, 1e-4f);
    EXPECT_NEAR(actual.w, w, 1e-4f);
}

inline void ExpectQuat(const Quat& actual, const Quat& expected)
{
    ExpectQuat(actual, expected.x, expected.y, expected.z, expected.w);
}

// Linear (0, 0, 0, 0), angular the identity.
inline void ExpectZeroOutput(const SteeringOutput& out)
{
    ExpectVec(out.linear, 0.0f, 0.0f, 0.0f, 0.0f);
    ExpectQuat(out.angular, 0.0f, 0.0f, 0.0f, 1.0f);
}

} // namespace quellor::test
