#pragma once
#include <cstdint>

namespace quellor {

// The result of ticking a behaviour-tree node.
enum class BehaviorStatus : std::uint32_t {
    Invalid = 0, // never run, or reset
    Success = 1,
    Failure = 2,
    Running = 3,
    Aborted = 4, // stopped by its parent while running
};

} // namespace quellor
