// The polytope's horizon against a plain list that searches for each edge's twin: the same edges
// in the same order, whatever the mix of twins and repeats.
#include "physics/EpaHorizon3D.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace {

using Edges = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// The horizon as a list: an edge whose twin waits removes the earliest such twin.
void AddToList(Edges& list, std::uint32_t from, std::uint32_t to)
{
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->first == to && it->second == from) {
            list.erase(it);
            return;
        }
    }
    list.emplace_back(from, to);
}

Edges Contents(const quellor::EpaHorizon3D& horizon)
{
    Edges edges;
    horizon.ForEach([&](std::uint32_t from, std::uint32_t to) { edges.emplace_back(from, to); });
    return edges;
}

TEST(EpaHorizon, KeepsTheEdgesAndTheirOrderAsAListThatSearchesForTwins)
{
    // Few vertices make many twins and repeats; some indices lie past the table.
    for (const std::uint32_t vertices : {3u, 6u, 36u, quellor::EpaHorizon3D::kTableVertices + 5}) {
        std::mt19937 random(vertices);
        std::uniform_int_distribution<std::uint32_t> pick(0, vertices - 1);
        quellor::EpaHorizon3D horizon;
        for (int step = 0; step < 20; ++step) {
            Edges list;
            const int adds = 1 + step * 7;
            for (int i = 0; i < adds; ++i) {
                const std::uint32_t from = pick(random), to = pick(random);
                horizon.Add(from, to);
                AddToList(list, from, to);
            }
            ASSERT_EQ(Contents(horizon), list) << vertices << " vertices, step " << step;
            horizon.Clear();
            EXPECT_TRUE(Contents(horizon).empty());
        }
    }
}

} // namespace
