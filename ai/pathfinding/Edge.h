#pragma once
#include <cstdint>

namespace quellor {

// Navigation node ids are unsigned; this one names no node.
constexpr std::uint32_t kNoNavNode = 0xFFFFFFFFu;

// A directed edge of the navigation graph, and one step of a found path. `type` is the level's
// edge type: 1 marks a jump edge.
struct Edge {
    std::uint32_t to = kNoNavNode;
    std::uint32_t from = kNoNavNode;
    float cost = 0.0f;
    std::uint32_t type = 0;

    Edge() = default;
    // Arguments run from-to, the fields to-from.
    Edge(std::uint32_t from_, std::uint32_t to_, float cost_, std::uint32_t type_)
        : to(to_), from(from_), cost(cost_), type(type_)
    {
    }

    bool operator==(const Edge&) const = default;
};

} // namespace quellor
