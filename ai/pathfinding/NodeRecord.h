#pragma once
#include "ai/pathfinding/Edge.h"

#include <cstdint>

namespace quellor {

// What a search knows of one node it has reached.
struct NodeRecord {
    static constexpr std::uint32_t kOpen = 1;
    static constexpr std::uint32_t kClosed = 2;

    std::uint32_t id = kNoNavNode;
    Edge parent;     // the edge by which the node was reached (a self-edge for the start)
    float g = 0.0f;  // cost from the start
    float f = 0.0f;  // g plus the heuristic to the goal
    std::uint32_t listState = kOpen;
};

} // namespace quellor
