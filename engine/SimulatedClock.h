#pragma once
// A performance counter that moves only when told. A run with a fixed frame time installs it
// and advances it by that time at the start of every frame, so every reading of the clock (the
// frame stopwatch, timers, time slices, time stamps) follows the frames and runs repeat exactly.
#include <cstdint>

namespace quellor {

class SimulatedClock {
public:
    // Feeds the performance counter from this clock, starting at 0 ticks.
    static void Install();
    // Gives the performance counter back to the steady clock; nothing when not installed.
    static void Uninstall();
    static bool IsInstalled();

    // Moves the clock forward by that many seconds (rounded to whole ticks); a negative or
    // non-finite time does not move it.
    static void Advance(float seconds);
    static std::int64_t Ticks();
};

} // namespace quellor
