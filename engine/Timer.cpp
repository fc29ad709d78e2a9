#include "engine/Timer.h"

#include "engine/PerformanceCounter.h"

namespace quellor {

Timer::Timer()
    : secondsPerTick(1.0f / static_cast<float>(PerformanceFrequency()))
{
}

float Timer::GetTime() const
{
    return static_cast<float>(PerformanceCounter()) * secondsPerTick;
}

} // namespace quellor
