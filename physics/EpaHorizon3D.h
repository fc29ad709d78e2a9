#pragma once
#include <cstdint>
#include <vector>

namespace quellor {

// The horizon of one expansion step of the polytope: the edges of the faces the new support
// point sees. An edge met a second time the other way round is shared by two such faces and
// cancels the earliest waiting one; the edges left come out in the order they were added. The
// waiting edges are found through a table by vertex pair, not by a search, so that a polytope
// with many faces does not make every step quadratic in its horizon.
class EpaHorizon3D {
public:
    // Vertex indices the table covers; larger ones are searched for (nothing breaks, it is slow).
    static constexpr std::uint32_t kTableVertices = 40;

    // Adds from -> to, unless a to -> from waits: then the earliest of those goes instead.
    void Add(std::uint32_t from, std::uint32_t to);
    // Empties the horizon, keeping its storage.
    void Clear();

    // Calls visit(from, to) for each edge left, in the order they were added.
    template <typename Visit>
    void ForEach(Visit&& visit) const
    {
        for (const Entry& entry : m_entries)
            if (entry.live)
                visit(entry.from, entry.to);
    }

private:
    struct Entry {
        std::uint32_t from, to;
        std::int32_t nextSame; // the next live entry with the same from and to, or -1
        bool live;
    };

    static bool InTable(std::uint32_t from, std::uint32_t to) { return from < kTableVertices && to < kTableVertices; }
    static std::size_t Pair(std::uint32_t from, std::uint32_t to) { return from * kTableVertices + to; }

    std::vector<Entry> m_entries;
    // Per (from, to) in the table: the oldest and the newest live entry, -1 for none.
    std::vector<std::int32_t> m_oldest;
    std::vector<std::int32_t> m_newest;
};

} // namespace quellor
