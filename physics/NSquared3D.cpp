#include "physics/NSquared3D.h"

#include "physics/Collider3D.h"
#include "physics/RayCastAABB.h"

#include <new>
#include <utility>

namespace quellor {

NSquared3D::~NSquared3D()
{
    ReleasePairs();
    for (BroadphaseProxy3D* proxy : m_set)
        proxy->m_setIndex = -1;
}

void NSquared3D::ReleasePairs()
{
    while (ColliderPair3D* pair = m_pairs.Front()) {
        pair->~ColliderPair3D(); // unlinks it
        m_pairPool.Free(pair);
    }
}

void NSquared3D::AddProxy(BroadphaseProxy3D* proxy)
{
    if (!proxy)
        return;
    const std::int32_t index = proxy->m_setIndex;
    if (index >= 0 && static_cast<std::size_t>(index) < m_set.size() && m_set[index] == proxy)
        return;
    proxy->m_setIndex = static_cast<std::int32_t>(m_set.size());
    m_set.push_back(proxy);
}

void NSquared3D::RemoveProxy(BroadphaseProxy3D* proxy)
{
    if (!proxy)
        return;
    const std::int32_t index = proxy->m_setIndex;
    if (index < 0 || static_cast<std::size_t>(index) >= m_set.size() || m_set[index] != proxy)
        return;
    // Erasing in place keeps the others in insertion order; their indices follow.
    m_set.erase(m_set.begin() + index);
    for (std::size_t i = static_cast<std::size_t>(index); i < m_set.size(); ++i)
        m_set[i]->m_setIndex = static_cast<std::int32_t>(i);
    proxy->m_setIndex = -1;
}

const ColliderPairList3D& NSquared3D::UpdatePairs()
{
    ReleasePairs();
    const std::size_t count = m_set.size();
    for (std::size_t i = 0; i < count; ++i) {
        const BroadphaseProxy3D& p = *m_set[i];
        for (std::size_t j = i + 1; j < count; ++j) {
            const BroadphaseProxy3D& q = *m_set[j];
            if (Overlap(p.m_min, p.m_max, q.m_min, q.m_max) && !PushPair(p.m_collider, q.m_collider))
                return m_pairs;
        }
    }
    return m_pairs;
}

bool NSquared3D::PushPair(Collider3D* a, Collider3D* b)
{
    void* block = m_pairPool.Allocate();
    if (!block)
        return false;
    auto* pair = new (block) ColliderPair3D;
    pair->m_colliderA = a;
    pair->m_colliderB = b;
    m_pairs.PushBack(pair);
    return true;
}

void NSquared3D::QueryPoint(const ZOR::float3& point, std::vector<Collider3D*>& output)
{
    for (BroadphaseProxy3D* proxy : m_set) {
        if (Contains(proxy->m_min, proxy->m_max, point))
            output.push_back(proxy->m_collider);
    }
}

void NSquared3D::QueryAABB(const ZOR::float3& boxMin, const ZOR::float3& boxMax, std::vector<Collider3D*>& output)
{
    for (BroadphaseProxy3D* proxy : m_set) {
        if (Overlap(proxy->m_min, proxy->m_max, boxMin, boxMax))
            output.push_back(proxy->m_collider);
    }
}

RayCastResult3D& NSquared3D::RayCast(RayCastResult3D& result, const Ray3D& ray, float maxDistance)
{
    m_candidates.clear();
    m_candidates.reserve(m_set.size());
    // Stage one: cull by box.
    for (BroadphaseProxy3D* proxy : m_set) {
        float fraction = 0.0f;
        if (IsRayCandidate(*proxy, ray, maxDistance, fraction))
            m_candidates.push_back({proxy->m_collider, fraction});
    }
    return NearestHit(result, ray, maxDistance);
}

bool NSquared3D::IsRayCandidate(const BroadphaseProxy3D& proxy, const Ray3D& ray, float maxDistance, float& fraction)
{
    const Collider3D* collider = proxy.m_collider;
    if (!collider || collider->m_sensor)
        return false;
    return RayCastAABB(ray, proxy.m_min, proxy.m_max, maxDistance, fraction, false);
}

RayCastResult3D& NSquared3D::NearestHit(RayCastResult3D& result, const Ray3D& ray, float maxDistance)
{
    m_hits.clear();
    // Stage two: the exact test, kept as a min-heap on the fraction. An element moves up only
    // past a strictly greater fraction, so of equal hits the first stays on top.
    for (const Candidate& candidate : m_candidates) {
        float fraction = 0.0f;
        ZOR::float3 normal;
        if (!candidate.collider->RayCast(ray, maxDistance, fraction, normal))
            continue;
        m_hits.push_back({candidate.collider, fraction, normal});
        std::size_t child = m_hits.size() - 1;
        while (child > 0) {
            const std::size_t parent = (child - 1) / 2;
            if (!(m_hits[parent].fraction > m_hits[child].fraction))
                break;
            std::swap(m_hits[parent], m_hits[child]);
            child = parent;
        }
    }

    result = RayCastResult3D{};
    if (!m_hits.empty()) {
        const Hit& nearest = m_hits.front();
        result.m_hit = 1;
        result.m_collider = nearest.collider;
        result.m_fraction = nearest.fraction;
        result.m_normal = nearest.normal;
        result.m_point = ray.origin + ray.direction * (nearest.fraction * maxDistance);
    }
    return result;
}

} // namespace quellor
