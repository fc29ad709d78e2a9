#pragma once
// The peer: the Boost Graph Library's astar_search over a copy of a NavGraph with dense ids.
#include "ai/pathfinding/NavGraph.h"

#include <cstdint>
#include <memory>

namespace astarbench {

class BoostSearch {
public:
    // Copies the graph's nodes 0..bound-1 and their edges.
    explicit BoostSearch(const quellor::NavGraph& graph);
    ~BoostSearch();
    BoostSearch(const BoostSearch&) = delete;
    BoostSearch& operator=(const BoostSearch&) = delete;

    // The cost of the cheapest path, or a negative number when there is none.
    float Search(std::uint32_t start, std::uint32_t goal);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace astarbench
