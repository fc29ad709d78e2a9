#include "physics/SweepBroadphase3D.h"

#include "engine/Finite.h"
#include "physics/Collider3D.h"
#include "physics/RigidBody3D.h"

#include <algorithm>

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
    return IsFinite(lo) && IsFinite(hi) && lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z;
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
            m_sweep.push_back({proxy.m_min, proxy.m_max, i});
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
    m_found.push_back({std::min(a, b), std::max(a, b)});
}

void SweepBroadphase3D::SweepMoving()
{
    // The axis of greatest spread of the centres leaves the fewest boxes side by side on it.
    ZOR::float3 sum, sumSquares;
    for (const SweepEntry& e : m_sweep) {
        const ZOR::float3 c = (e.min + e.max) * 0.5f;
        if (!IsFinite(c))
            continue;
        sum += c;
        sumSquares += c * c;
    }
    const float n = static_cast<float>(std::max<std::size_t>(m_sweep.size(), 1));
    const ZOR::float3 spread = sumSquares - sum * sum * (1.0f / n);
    const int axis = spread.x >= spread.y && spread.x >= spread.z ? 0 : (spread.y >= spread.z ? 1 : 2);
    auto low = [axis](const SweepEntry& e) { return axis == 0 ? e.min.x : axis == 1 ? e.min.y : e.min.z; };
    auto high = [axis](const SweepEntry& e) { return axis == 0 ? e.max.x : axis == 1 ? e.max.y : e.max.z; };

    std::sort(m_sweep.begin(), m_sweep.end(), [&](const SweepEntry& a, const SweepEntry& b) { return low(a) < low(b); });
    const std::size_t count = m_sweep.size();
    for (std::size_t i = 0; i < count; ++i) {
        const SweepEntry& a = m_sweep[i];
        const float end = high(a);
        // Every box after this one starts at or beyond its start; past its end none can touch.
        for (std::size_t j = i + 1; j < count && low(m_sweep[j]) <= end; ++j) {
            const SweepEntry& b = m_sweep[j];
            if (Overlap(a.min, a.max, b.min, b.max))
                AddFound(a.index, b.index);
        }
    }
}

void SweepBroadphase3D::EmitFound()
{
    // A counting sort on the lower place, then each (short) group sorted on the higher.
    const std::size_t places = m_set.size();
    m_bucketStart.assign(places + 1, 0);
    for (const Found& f : m_found)
        ++m_bucketStart[static_cast<std::size_t>(f.low) + 1];
    for (std::size_t i = 0; i < places; ++i)
        m_bucketStart[i + 1] += m_bucketStart[i];
    m_ordered.resize(m_found.size());
    for (const Found& f : m_found)
        m_ordered[static_cast<std::size_t>(m_bucketStart[static_cast<std::size_t>(f.low)]++)] = f.high;
    // Each start has moved to its group's end, which is the next group's start.
    std::int32_t begin = 0;
    for (std::size_t i = 0; i < places; ++i) {
        const std::int32_t end = m_bucketStart[i];
        std::sort(m_ordered.begin() + begin, m_ordered.begin() + end);
        Collider3D* a = m_set[i]->m_collider;
        for (std::int32_t k = begin; k < end; ++k) {
            if (!PushPair(a, m_set[static_cast<std::size_t>(m_ordered[static_cast<std::size_t>(k)])]->m_collider))
                return;
        }
        begin = end;
    }
}

const ColliderPairList3D& SweepBroadphase3D::UpdatePairs()
{
    ReleasePairs();
    Classify();
    m_found.clear();
    SweepMoving();
    for (const SweepEntry& moving : m_sweep) {
        m_near.clear();
        m_tree.QueryBox(moving.min, moving.max, m_near);
        for (std::int32_t s : m_near)
            AddFound(moving.index, s);
        for (std::int32_t s : m_oddStatic) {
            const BroadphaseProxy3D& q = *m_set[static_cast<std::size_t>(s)];
            if (Overlap(moving.min, moving.max, q.m_min, q.m_max))
                AddFound(moving.index, s);
        }
    }
    EmitFound();
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
    // Proxies came or went since the last sort: the boxes in place now are the ones the
    // all-pairs loop would read, so sorting them again here is as good.
    if (!m_current)
        Classify();

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
