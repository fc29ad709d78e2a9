#pragma once
#include <cstdint>

namespace quellor {

// Measures short intervals (a frame, one system call) in float seconds.
class Stopwatch {
public:
    Stopwatch();

    // Starts when not running; a running stopwatch keeps its first start.
    void Start();
    // Seconds since the start, 0 when not running; keeps running.
    float Elapsed() const;
    // Seconds since the start, 0 when not running; stops.
    float Stop();

    bool IsRunning() const { return m_running; }

private:
    float m_secondsPerTick;
    bool m_running = false;
    std::int64_t m_start = 0;
};

} // namespace quellor
