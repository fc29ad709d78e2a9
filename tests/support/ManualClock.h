#pragma once
// A hand-driven performance counter for tests, so intervals are exact and no test depends on
// how fast it runs. Installed for the object's lifetime (one at a time); the steady clock comes
// back when it goes.
#include <cstdint>

namespace tarsel::test {

class ManualClock {
public:
    // Reads `ticks` until changed; with a step, every reading first moves the clock by it.
    explicit ManualClock(std::int64_t ticks = 0, std::int64_t stepPerReading = 0);
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void Set(std::int64_t ticks);
    void Advance(std::int64_t ticks);
    void SetStepPerReading(std::int64_t step);
    std::int64_t Ticks() const;
    // Readings taken since it was installed.
    std::int64_t Readings() const;
};

} // namespace tarsel::test
