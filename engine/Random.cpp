#include "engine/Random.h"

#include <atomic>
#include <cstdlib>

namespace quellor {

namespace {

std::atomic<RandomSource> g_source{nullptr};

} // namespace

int Random()
{
    if (RandomSource source = g_source.load(std::memory_order_acquire))
        return source();
    return std::rand();
}

float RandomUnit()
{
    // Taken as unsigned so that a scripted negative draw still lands in range.
    return static_cast<float>(static_cast<unsigned>(Random()) % 10000u) * 0.0001f;
}

void SetRandomSource(RandomSource source)
{
    g_source.store(source, std::memory_order_release);
}

} // namespace quellor
