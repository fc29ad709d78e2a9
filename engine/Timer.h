#pragma once

namespace quellor {

// A clock in float seconds for time stamps. Its origin is the performance counter's, so only
// differences mean anything; being single precision it coarsens as the process runs.
class Timer {
public:
    Timer();

    float GetTime() const;

private:
    float secondsPerTick;
};

} // namespace quellor
