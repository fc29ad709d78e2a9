#include "tests/support/ManualClock.h"

#include "engine/PerformanceCounter.h"

namespace tarsel::test {

namespace {

std::int64_t g_ticks = 0;
std::int64_t g_step = 0;
std::int64_t g_readings = 0;

std::int64_t Read()
{
    ++g_readings;
    g_ticks += g_step;
    return g_ticks;
}

} // namespace

ManualClock::ManualClock(std::int64_t ticks, std::int64_t stepPerReading)
{
    g_ticks = ticks;
    g_step = stepPerReading;
    g_readings = 0;
    quellor::SetPerformanceCounterSource(&Read);
}

ManualClock::~ManualClock()
{
    quellor::SetPerformanceCounterSource(nullptr);
}

void ManualClock::Set(std::int64_t ticks)
{
    g_ticks = ticks;
}

void ManualClock::Advance(std::int64_t ticks)
{
    g_ticks += ticks;
}

void ManualClock::SetStepPerReading(std::int64_t step)
{
    g_step = step;
}

std::int64_t ManualClock::Ticks() const
{
    return g_ticks;
}

std::int64_t ManualClock::Readings() const
{
    return g_readings;
}

} // namespace tarsel::test
