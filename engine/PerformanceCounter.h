#pragma once
#include <cstdint>

namespace quellor {

// The engine's high-resolution clock: steady_clock nanoseconds since a process-wide origin
// taken at first use, so counter values stay small and converted floats keep their resolution.
std::int64_t PerformanceCounter();

// Ticks per second of PerformanceCounter (one tick per nanosecond).
std::int64_t PerformanceFrequency();

// Test hook: a function to read ticks from instead of the clock; null restores the clock.
using PerformanceCounterSource = std::int64_t (*)();
void SetPerformanceCounterSource(PerformanceCounterSource source);

} // namespace quellor
