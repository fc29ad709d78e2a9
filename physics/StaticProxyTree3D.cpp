#include "physics/StaticProxyTree3D.h"

#include "physics/Broadphase3D.h"
#include "physics/PhysicsMath3D.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quellor {

using namespace physics_math;

namespace {

constexpr std::int32_t kLeafSize = 4;

float LargestMagnitude(const ZOR::float3& v)
{
    return std::max(std::abs(v.x), std::max(std::abs(v.y), std::abs(v.z)));
}

ZOR::float3 Min(const ZOR::float3& a, const ZOR::float3& b)
{
    return ZOR::float3(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
}

ZOR::float3 Max(const ZOR::float3& a, const ZOR::float3& b)
{
    return ZOR::float3(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
}

} // namespace

void StaticProxyTree3D::Clear()
{
    m_given.clear();
    m_sorted.clear();
    m_nodes.clear();
    m_largestCoordinate = 0.0f;
}

void StaticProxyTree3D::Build(const std::vector<Entry>& entries)
{
    Clear();
    m_given = entries;
    m_sorted = entries;
    if (entries.empty())
        return;
    m_nodes.reserve(2 * entries.size() / kLeafSize + 2);
    m_nodes.push_back(Node{});
    BuildNode(0, 0, static_cast<std::int32_t>(m_sorted.size()));
    m_largestCoordinate = std::max(LargestMagnitude(m_nodes[0].min), LargestMagnitude(m_nodes[0].max));
}

void StaticProxyTree3D::BuildNode(std::int32_t at, std::int32_t begin, std::int32_t end)
{
    ZOR::float3 low = m_sorted[static_cast<std::size_t>(begin)].min;
    ZOR::float3 high = m_sorted[static_cast<std::size_t>(begin)].max;
    ZOR::float3 centreLow = low + high;
    ZOR::float3 centreHigh = centreLow;
    for (std::int32_t i = begin; i < end; ++i) {
        const Entry& e = m_sorted[static_cast<std::size_t>(i)];
        low = Min(low, e.min);
        high = Max(high, e.max);
        const ZOR::float3 centre = e.min + e.max;
        centreLow = Min(centreLow, centre);
        centreHigh = Max(centreHigh, centre);
    }
    Node& node = m_nodes[static_cast<std::size_t>(at)];
    node = Node{low, high, begin, end - begin};
    if (end - begin <= kLeafSize)
        return;

    // Halve at the median along the axis over which the centres spread most; the index settles
    // ties so that a build depends on nothing but the entries.
    const ZOR::float3 spread = centreHigh - centreLow;
    const int axis = spread.x >= spread.y && spread.x >= spread.z ? 0 : (spread.y >= spread.z ? 1 : 2);
    const std::int32_t middle = begin + (end - begin) / 2;
    std::nth_element(m_sorted.begin() + begin, m_sorted.begin() + middle, m_sorted.begin() + end,
                     [axis](const Entry& a, const Entry& b) {
                         const float ca = Component(a.min, axis) + Component(a.max, axis);
                         const float cb = Component(b.min, axis) + Component(b.max, axis);
                         return ca < cb || (ca == cb && a.index < b.index);
                     });
    // The two children sit side by side, so the node keeps only the first one's place.
    const std::int32_t children = static_cast<std::int32_t>(m_nodes.size());
    node.first = children;
    node.count = 0;
    m_nodes.push_back(Node{});
    m_nodes.push_back(Node{});
    BuildNode(children, begin, middle);
    BuildNode(children + 1, middle, end);
}

template <typename Touches>
void StaticProxyTree3D::Collect(const Touches& touches, std::vector<std::int32_t>& output) const
{
    if (m_nodes.empty())
        return;
    m_stack.clear();
    m_stack.push_back(0);
    while (!m_stack.empty()) {
        const Node& node = m_nodes[static_cast<std::size_t>(m_stack.back())];
        m_stack.pop_back();
        if (!touches(node.min, node.max))
            continue;
        if (node.count == 0) {
            m_stack.push_back(node.first + 1);
            m_stack.push_back(node.first);
            continue;
        }
        for (std::int32_t i = node.first; i < node.first + node.count; ++i) {
            const Entry& e = m_sorted[static_cast<std::size_t>(i)];
            if (touches(e.min, e.max))
                output.push_back(e.index);
        }
    }
}

void StaticProxyTree3D::QueryBox(const ZOR::float3& boxMin, const ZOR::float3& boxMax,
                                 std::vector<std::int32_t>& output) const
{
    Collect([&](const ZOR::float3& low, const ZOR::float3& high) { return Broadphase3D::Overlap(low, high, boxMin, boxMax); },
            output);
}

void StaticProxyTree3D::QuerySegment(const ZOR::float3& origin, const ZOR::float3& delta,
                                     std::vector<std::int32_t>& output) const
{
    // The exact box test accepts a segment that misses by up to 1e-5 of its length, and its
    // centre-and-half-size arithmetic rounds at the scale of the coordinates: a margin ten
    // times both keeps every such box.
    const float scale = 1.0f + LargestMagnitude(origin) + LargestMagnitude(delta) + m_largestCoordinate;
    const float margin = 1e-4f * scale;
    if (!std::isfinite(margin)) {
        for (const Entry& e : m_sorted)
            output.push_back(e.index);
        return;
    }

    float inverse[3];
    for (int i = 0; i < 3; ++i) {
        const float d = Component(delta, i);
        inverse[i] = d != 0.0f ? 1.0f / d : 0.0f;
    }
    Collect(
        [&](const ZOR::float3& low, const ZOR::float3& high) {
            float enter = 0.0f;
            float leave = 1.0f;
            for (int i = 0; i < 3; ++i) {
                const float o = Component(origin, i);
                const float lo = Component(low, i) - margin;
                const float hi = Component(high, i) + margin;
                if (inverse[i] == 0.0f || !std::isfinite(inverse[i])) {
                    if (o < lo || o > hi)
                        return false;
                    continue;
                }
                float t0 = (lo - o) * inverse[i];
                float t1 = (hi - o) * inverse[i];
                if (t0 > t1)
                    std::swap(t0, t1);
                enter = std::max(enter, t0);
                leave = std::min(leave, t1);
                if (enter > leave)
                    return false;
            }
            return true;
        },
        output);
}

} // namespace quellor
