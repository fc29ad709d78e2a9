#pragma once
#include "physics/Ray3D.h"
#include "renderer/math/float3.h"

#include <cstdint>
#include <vector>

namespace quellor {

// A bounding-volume tree over boxes that stay put from step to step (the proxies of static
// bodies), so that a moving box or a ray visits only the few it comes near instead of all of
// them. It is rebuilt whole whenever its boxes change; each box carries the caller's index.
class StaticProxyTree3D {
public:
    struct Entry {
        ZOR::float3 min;
        ZOR::float3 max;
        std::int32_t index;
    };

    // Builds over the given entries; boxes holding a NaN must not be among them.
    void Build(const std::vector<Entry>& entries);
    void Clear();
    bool Empty() const { return m_nodes.empty(); }
    // The entries as given to the last Build, in their order.
    const std::vector<Entry>& GetEntries() const { return m_given; }

    // Appends the index of every entry whose box overlaps the box, by the broadphase's
    // inclusive test; in no particular order.
    void QueryBox(const ZOR::float3& boxMin, const ZOR::float3& boxMax, std::vector<std::int32_t>& output) const;
    // Appends the index of every entry whose box the segment from origin to origin + delta
    // passes near. The nodes are widened by a margin far beyond the rounding of any box test,
    // so every box that an exact ray test could hit is among them (with some near misses).
    // Boxes must be finite and not inverted.
    void QuerySegment(const ZOR::float3& origin, const ZOR::float3& delta, std::vector<std::int32_t>& output) const;

private:
    struct Node {
        ZOR::float3 min;
        ZOR::float3 max;
        // A leaf holds m_sorted[first, first + count); an inner node has count 0 and its
        // children at first and first + 1.
        std::int32_t first;
        std::int32_t count;
    };

    // Fills the node at 'at' over m_sorted[begin, end), splitting it while it holds too many.
    void BuildNode(std::int32_t at, std::int32_t begin, std::int32_t end);
    // Descends every node whose box touches (a test on a low and a high corner) and appends
    // the entries whose boxes touch.
    template <typename Touches>
    void Collect(const Touches& touches, std::vector<std::int32_t>& output) const;

    std::vector<Entry> m_given;
    std::vector<Entry> m_sorted; // grouped by leaf
    std::vector<Node> m_nodes;   // the root first
    float m_largestCoordinate = 0.0f;
    mutable std::vector<std::int32_t> m_stack;
};

} // namespace quellor
