#include "engine/Stopwatch.h"

#include "engine/PerformanceCounter.h"

namespace quellor {

Stopwatch::Stopwatch()
    : m_secondsPerTick(1.0f / static_cast<float>(PerformanceFrequency()))
{
}

void Stopwatch::Start()
{
    if (m_running)
        return;
    m_start = PerformanceCounter();
    m_running = true;
}

float Stopwatch::Elapsed() const
{
    if (!m_running)
        return 0.0f;
    const std::int64_t ticks = PerformanceCounter() - m_start;
    return static_cast<float>(ticks) * m_secondsPerTick;
}

float Stopwatch::Stop()
{
    const float seconds = Elapsed();
    m_running = false;
    return seconds;
}

} // namespace quellor
