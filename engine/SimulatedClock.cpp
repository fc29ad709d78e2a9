#include "engine/SimulatedClock.h"

#include "engine/PerformanceCounter.h"

#include <atomic>
#include <cmath>

namespace quellor {

namespace {

std::atomic<std::int64_t> g_ticks{0};
std::atomic<bool> g_installed{false};

std::int64_t ReadTicks()
{
    return g_ticks.load(std::memory_order_relaxed);
}

} // namespace

void SimulatedClock::Install()
{
    g_ticks.store(0, std::memory_order_relaxed);
    g_installed.store(true, std::memory_order_release);
    SetPerformanceCounterSource(&ReadTicks);
}

void SimulatedClock::Uninstall()
{
    if (!g_installed.exchange(false, std::memory_order_acq_rel))
        return;
    SetPerformanceCounterSource(nullptr);
}

bool SimulatedClock::IsInstalled()
{
    return g_installed.load(std::memory_order_acquire);
}

void SimulatedClock::Advance(float seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0.0f)
        return;
    const double ticks = static_cast<double>(seconds) * static_cast<double>(PerformanceFrequency());
    g_ticks.fetch_add(std::llround(ticks), std::memory_order_relaxed);
}

std::int64_t SimulatedClock::Ticks()
{
    return ReadTicks();
}

} // namespace quellor
