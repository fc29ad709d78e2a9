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

TEST_F(FixedClock, StopBeforeStartIsZeroAndStaysStopped)
{
    Stopwatch watch;
    g_ticks += 5000;
    EXPECT_EQ(watch.Stop(), 0.0f);
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(watch.Elapsed(), 0.0f);
}

TEST_F(FixedClock, SecondStartKeepsTheFirst)
{
    Stopwatch watch;
    watch.Start();
    g_ticks += 250'000'000;
    watch.Start();
    g_ticks += 250'000'000;
    EXPECT_FLOAT_EQ(watch.Elapsed(), 0.5f);
    EXPECT_FLOAT_EQ(watch.Stop(), 0.5f);
}

TEST_F(FixedClock, ElapsedAfterStopIsZeroUntilNextStart)
{
    Stopwatch watch;
    watch.Start();
    g_ticks += 2'000'000'000;
    EXPECT_FLOAT_EQ(watch.Stop(), 2.0f);
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

TEST(RealClock, ElapsedNeverDecreasesAndStopIsAtLeastTheLastElapsed)
{
    Stopwatch watch;
    watch.Start();
    float last = 0.0f;
    for (int i = 0; i < 10000; ++i) {
        const float now = watch.Elapsed();
        ASSERT_GE(now, last);
        last = now;
    }
    EXPECT_GE(watch.Stop(), last);
    EXPECT_EQ(watch.Elapsed(), 0.0f);
}

TEST(RealClock, CounterAndTimerNeverDecrease)
{
    const Timer timer;
    std::int64_t lastTicks = PerformanceCounter();
    float lastTime = timer.GetTime();
    EXPECT_GE(lastTicks, 0);
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t ticks = PerformanceCounter();
        const float time = timer.GetTime();
        ASSERT_GE(ticks, lastTicks);
        ASSERT_GE(time, lastTime);
        lastTicks = ticks;
        lastTime = time;
    }
    EXPECT_EQ(PerformanceFrequency(), 1'000'000'000);
}

} // namespace
} // namespace quellor
