#include "engine/PerformanceCounter.h"

#include <atomic>
#include <chrono>

namespace quellor {

namespace {

std::atomic<PerformanceCounterSource> g_source{nullptr};

std::int64_t SteadyTicks()
{
    static const std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - origin).count();
}

} // namespace

std::int64_t PerformanceCounter()
{
    if (PerformanceCounterSource source = g_source.load(std::memory_order_acquire))
        return source();
    return SteadyTicks();
}

std::int64_t PerformanceFrequency()
{
    return 1000000000;
}

void SetPerformanceCounterSource(PerformanceCounterSource source)
{
    g_source.store(source, std::memory_order_release);
}

} // namespace quellor
