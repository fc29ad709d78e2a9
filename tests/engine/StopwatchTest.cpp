#include "engine/PerformanceCounter.h"
#include "engine/Stopwatch.h"
#include "engine/Timer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quellor {
namespace {

// A hand-driven counter, so intervals are exact and no test depends on how fast it runs.
std::int64_t g_ticks = 0;
std::int64_t FixedTicks() { return g_ticks; }

class FixedClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_ticks = 1000;
        SetPerformanceCounterSource(&FixedTicks);
    }
    void TearDown() override { SetPerformanceCounterSource(nullptr); }
};

TEST_F(FixedClock, StopwatchMeasuresFromTheFirstStartAndReadsZeroWhenStopped)
{
    Stopwatch watch;
    g_ticks += 5000;
    EXPECT_EQ(watch.Stop(), 0.0f); // before any start
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(watch.Elapsed(), 0.0f);

    watch.Start();
    g_ticks += 250'000'000;
    watch.Start(); // a second start keeps the first
    g_ticks += 250'000'000;
    EXPECT_FLOAT_EQ(watch.Elapsed(), 0.5f);
    EXPECT_FLOAT_EQ(watch.Stop(), 0.5f);
    g_ticks += 1'000'000'000;
    EXPECT_EQ(watch.Elapsed(), 0.0f);
    EXPECT_EQ(watch.Stop(), 0.0f);

    // Frame timing pattern: Stop then Start measures from the new start.
    watch.Start();
    g_ticks += 16'000'000;
    EXPECT_FLOAT_EQ(watch.Stop(), 0.016f);
}

TEST_F(FixedClock, TimerReadsCounterInSeconds)
{
    const Timer timer;
    g_ticks = 3'000'000'000;
    EXPECT_FLOAT_EQ(timer.GetTime(), 3.0f);
    g_ticks = 3'500'000'000;
    EXPECT_FLOAT_EQ(timer.GetTime(), 3.5f);
}

TEST(RealClock, CounterTimerAndStopwatchNeverDecrease)
{
    const Timer timer;
    Stopwatch watch;
    watch.Start();
    std::int64_t lastTicks = PerformanceCounter();
    float lastTime = timer.GetTime();
    float lastElapsed = 0.0f;
    EXPECT_GE(lastTicks, 0);
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t ticks = PerformanceCounter();
        const float time = timer.GetTime();
        const float elapsed = watch.Elapsed();
        ASSERT_GE(ticks, lastTicks);
        ASSERT_GE(time, lastTime);
        ASSERT_GE(elapsed, lastElapsed);
        lastTicks = ticks;
        lastTime = time;
        lastElapsed = elapsed;
    }
    EXPECT_GE(watch.Stop(), lastElapsed);
    EXPECT_EQ(PerformanceFrequency(), 1'000'000'000);
}

} // namespace
} // namespace quellor
