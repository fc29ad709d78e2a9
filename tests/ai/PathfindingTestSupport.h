#pragma once
// Helpers of the path-finding tests: a clock that moves one step per reading, so that time
// slices are counted in readings rather than measured, and ray stubs for NavGraph.
#include "ai/pathfinding/NavGraph.h"
#include "engine/PerformanceCounter.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quellor::test {

// Every reading of the performance counter advances it by `step` ticks (nanoseconds).
class SteppedClock {
public:
    explicit SteppedClock(std::int64_t step)
    {
        s_ticks = 0;
        s_step = step;
        SetPerformanceCounterSource(&Read);
    }
    ~SteppedClock() { SetPerformanceCounterSource(nullptr); }
    SteppedClock(const SteppedClock&) = delete;
    SteppedClock& operator=(const SteppedClock&) = delete;

    static std::int64_t Readings() { return s_readings; }

private:
    static std::int64_t Read()
    {
        ++s_readings;
        s_ticks += s_step;
        return s_ticks;
    }

    static inline std::int64_t s_ticks = 0;
    static inline std::int64_t s_step = 1;
    static inline std::int64_t s_readings = 0;
};

// Rays never blocked.
inline bool NothingInTheWay(const Vec4&, const Vec4&, float)
{
    return false;
}

} // namespace quellor::test
