#include "physics/SweepBroadphase3D.h"

#include "physics/Collider3D.h"
#include "physics/RigidBody3D.h"

#include <algorithm>
#include <cmath>

namespace quellor {

namespace {

bool HasNaN(const ZOR::float3& v)
{
    return std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z);
}

// Finite, and no lower end above its upper end.
bool IsRegular(const BroadphaseProxy3D& proxy)
{
    const ZOR::float3& lo = proxy.m_min;
    const ZOR::float3& hi = proxy.m_max;
    return std::isfinite(lo.x) && std::isfinite(lo.y) && std::isfinite(lo.z) && std::isfinite(hi.x) &&
           std::isfinite(hi.y) && std::isfinite(hi.z) && lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z;
}

bool IsStatic(const BroadphaseProxy3D& proxy)
{
    const Collider3D* collider = proxy.m_collider;
    return collider && collider->m_body && collider->m_body->m_motionType == kBodyStatic;
}

bool SameBox(const StaticProxyTree3D::Entry& a, const StaticProxyTree3D::Entry& b)
{
    return a.index == b.index && a.min.x == b.min.x && a.min.y == b.min.y && a.min.z == b.min.z &&
           a.max.x == b.max.x && a.max.y == b.max.y && a.max.z == b.max.z;
}

} // namespace

void SweepBroadphase3D::AddProxy(BroadphaseProxy3D* proxy)
{
    NSquared3D::AddProxy(proxy);
    m_current = false;
}

void SweepBroadphase3D::RemoveProxy(BroadphaseProxy3D* proxy)
{
    NSquared3D::RemoveProxy(proxy);
    m_current = false;
}

void SweepBroadphase3D::Classify()
{
    m_sweep.clear();
    m_oddStatic.clear();
    m_rayList.clear();
    m_static.clear();
    const std::int32_t count = static_cast<std::int32_t>(m_set.size());
    for (std::int32_t i = 0; i < count; ++i) {
        const BroadphaseProxy3D& proxy = *m_set[static_cast<std::size_t>(i)];
        // A NaN fails every overlap test but passes the ray's box test.
        if (HasNaN(proxy.m_min) || HasNaN(proxy.m_max)) {
            m_rayList.push_back(i);
        } else if (!IsStatic(proxy)) {
            m_sweep.push_back({proxy.m_min.x, proxy.m_max.x, i});
            m_rayList.push_back(i);
        } else if (IsRegular(proxy)) {
            m_static.push_back({proxy.m_min, proxy.m_max, i});
        } else {
            m_oddStatic.push_back(i);
            m_rayList.push_back(i);
        }
    }
    const std::vector<StaticProxyTree3D::Entry>& built = m_tree.GetEntries();
    if (built.size() != m_static.size() || !std::equal(built.begin(), built.end(), m_static.begin(), SameBox))
        m_tree.Build(m_static);
    m_current = true;
}

void SweepBroadphase3D::AddFound(std::int32_t a, std::int32_t b)
{
    const auto low = static_cast<std::uint64_t>(std::min(a, b));
    const auto high = static_cast<std::uint64_t>(std::max(a, b));
    m_found.push_back(low << 32 | high);
}

const ColliderPairList3D& SweepBroadphase3D::UpdatePairs()
{
    ReleasePairs();
    Classify();
    m_found.clear();

    std::sort(m_sweep.begin(), m_sweep.end(),
              [](const SweepEntry& a, const SweepEntry& b) { return a.minX < b.minX; });
    const std::size_t moving = m_sweep.size();
    for (std::size_t i = 0; i < moving; ++i) {
        const SweepEntry& a = m_sweep[i];
        const BroadphaseProxy3D& p = *m_set[static_cast<std::size_t>(a.index)];
        // Every box after this one starts at or beyond its start; past its end none can touch.
        for (std::size_t j = i + 1; j < moving && m_sweep[j].minX <= a.maxX; ++j) {
            const BroadphaseProxy3D& q = *m_set[static_cast<std::size_t>(m_sweep[j].index)];
            if (Overlap(p.m_min, p.m_max, q.m_min, q.m_max))
                AddFound(a.index, m_sweep[j].index);
        }
        m_near.clear();
        m_tree.QueryBox(p.m_min, p.m_max, m_near);
        for (std::int32_t s : m_near)
            AddFound(a.index, s);
        for (std::int32_t s : m_oddStatic) {
            const BroadphaseProxy3D& q = *m_set[static_cast<std::size_t>(s)];
            if (Overlap(p.m_min, p.m_max, q.m_min, q.m_max))
                AddFound(a.index, s);
        }
    }

    // The all-pairs loop meets pairs by the first proxy's place, then the second's.
    std::sort(m_found.begin(), m_found.end());
    for (std::uint64_t key : m_found) {
        Collider3D* a = m_set[static_cast<std::size_t>(key >> 32)]->m_collider;
        Collider3D* b = m_set[static_cast<std::size_t>(key & 0xFFFFFFFFu)]->m_collider;
        if (!PushPair(a, b))
            break;
    }
    return m_pairs;
}

void SweepBroadphase3D::AddRayCandidate(std::int32_t index, const Ray3D& ray, float maxDistance)
{
    float fraction = 0.0f;
    if (IsRayCandidate(*m_set[static_cast<std::size_t>(index)], ray, maxDistance, fraction))
        m_rayCandidates.push_back({index, fraction});
}

RayCastResult3D& SweepBroadphase3D::RayCast(RayCastResult3D& result, const Ray3D& ray, float maxDistance)
{
    if (!m_current)
        return NSquared3D::RayCast(result, ray, maxDistance);

    m_rayCandidates.clear();
    m_near.clear();
    m_tree.QuerySegment(ray.origin, ray.direction * maxDistance, m_near);
    for (std::int32_t index : m_near)
        AddRayCandidate(index, ray, maxDistance);
    for (std::int32_t index : m_rayList)
        AddRayCandidate(index, ray, maxDistance);

    // The exact test settles ties by set order.
    std::sort(m_rayCandidates.begin(), m_rayCandidates.end(),
              [](const RayCandidate& a, const RayCandidate& b) { return a.index < b.index; });
    m_candidates.clear();
    for (const RayCandidate& candidate : m_rayCandidates)
        m_candidates.push_back({m_set[static_cast<std::size_t>(candidate.index)]->m_collider, candidate.fraction});
    return NearestHit(result, ray, maxDistance);
}

} // namespace quellor
