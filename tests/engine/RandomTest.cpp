#include "engine/Random.h"
#include "tests/support/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quellor {
namespace {

TEST(Random, AScriptedSequenceIsDrawnInOrderAndStartsOver)
{
    tarsel::test::ScriptedRandom script({7, 12345, -3});
    EXPECT_EQ(Random(), 7);
    EXPECT_FLOAT_EQ(RandomUnit(), 0.2345f);
    // A negative draw still gives a value in [0, 1).
    const float negative = RandomUnit();
    EXPECT_GE(negative, 0.0f);
    EXPECT_LT(negative, 1.0f);
    EXPECT_EQ(Random(), 7);
    EXPECT_EQ(script.Draws(), 4u);
}

TEST(Random, WithoutAScriptItIsTheRuntimesRand)
{
    {
        tarsel::test::ScriptedRandom script({1});
        EXPECT_EQ(Random(), 1);
    }
    std::srand(41);
    const int first = std::rand();
    const int second = std::rand();
    std::srand(41);
    EXPECT_EQ(Random(), first);
    EXPECT_FLOAT_EQ(RandomUnit(), static_cast<float>(second % 10000) * 0.0001f);
}

} // namespace
} // namespace quellor
