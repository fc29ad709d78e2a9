#include "engine/PerformanceCounter.h"
#include "engine/SimulatedClock.h"
#include "engine/Stopwatch.h"
#include "engine/Timer.h"
#include "tests/support/ManualClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace quellor {
namespace {

class FixedClock : public ::testing::Test {
protected:
    tarsel::test::ManualClock clock{1000};
};

TEST_F(FixedClock, StopwatchMeasuresFromTheFirstStartAndReadsZeroWhenStopped)
{
    Stopwatch watch;
    clock.Advance(5000);
    EXPECT_EQ(watch.Stop(), 0.0f); // before any start
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(watch.Elapsed(), 0.0f);

    watch.Start();
    clock.Advance(250'000'000);
    watch.Start(); // a second start keeps the first
    clock.Advance(250'000'000);
    EXPECT_FLOAT_EQ(watch.Elapsed(), 0.5f);
    EXPECT_FLOAT_EQ(watch.Stop(), 0.5f);
    clock.Advance(1'000'000'000);
    EXPECT_EQ(watch.Elapsed(), 0.0f);
    EXPECT_EQ(watch.Stop(), 0.0f);

    // Frame timing pattern: Stop then Start measures from the new start.
    watch.Start();
    clock.Advance(16'000'000);
    EXPECT_FLOAT_EQ(watch.Stop(), 0.016f);
}

TEST_F(FixedClock, TimerReadsCounterInSeconds)
{
    const Timer timer;
    clock.Set(3'000'000'000);
    EXPECT_FLOAT_EQ(timer.GetTime(), 3.0f);
    clock.Set(3'500'000'000);
    EXPECT_FLOAT_EQ(timer.GetTime(), 3.5f);
}

TEST_F(FixedClock, AStepPerReadingMovesTheClockAtEveryReading)
{
    clock.Set(0);
    clock.SetStepPerReading(500'000'000);
    const Timer timer;
    EXPECT_FLOAT_EQ(timer.GetTime(), 0.5f);
    EXPECT_FLOAT_EQ(timer.GetTime(), 1.0f);
    EXPECT_EQ(clock.Readings(), 2);
}

TEST(SimulatedClockTest, StartsAtZeroAdvancesByWholeFramesAndGivesTheSteadyClockBack)
{
    SimulatedClock::Install();
    ASSERT_TRUE(SimulatedClock::IsInstalled());
    EXPECT_EQ(PerformanceCounter(), 0);
    const Timer timer;
    Stopwatch frame;
    frame.Start();
    for (int i = 0; i < 10; ++i)
        SimulatedClock::Advance(0.016f);
    EXPECT_FLOAT_EQ(timer.GetTime(), 0.16f);
    EXPECT_FLOAT_EQ(frame.Stop(), 0.16f);
    // Nothing moves it backwards or by an undefined amount.
    const std::int64_t before = PerformanceCounter();
    SimulatedClock::Advance(-1.0f);
    SimulatedClock::Advance(std::numeric_limits<float>::quiet_NaN());
    SimulatedClock::Advance(std::numeric_limits<float>::infinity());
    EXPECT_EQ(PerformanceCounter(), before);

    SimulatedClock::Uninstall();
    EXPECT_FALSE(SimulatedClock::IsInstalled());
    SimulatedClock::Uninstall(); // twice is harmless
    // The steady clock runs on without being advanced.
    const std::int64_t first = PerformanceCounter();
    std::int64_t later = first;
    for (int i = 0; i < 100'000'000 && later == first; ++i)
        later = PerformanceCounter();
    EXPECT_GT(later, first);
    EXPECT_EQ(SimulatedClock::Ticks(), before);
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
