#pragma once
#include "physics/Broadphase3D.h"

#include <vector>

namespace quellor {

// The brute-force broadphase: every pair of proxies is tested each step. Proxies are kept in
// insertion order, so pair order and query order repeat exactly from run to run.
class NSquared3D : public Broadphase3D {
public:
    NSquared3D() = default;
    ~NSquared3D() override;

    void QueryPoint(const ZOR::float3& point, std::vector<Collider3D*>& output) override;
    RayCastResult3D& RayCast(RayCastResult3D& result, const Ray3D& ray, float maxDistance) override;
    void QueryAABB(const ZOR::float3& boxMin, const ZOR::float3& boxMax, std::vector<Collider3D*>& output) override;
    const ColliderPairList3D& UpdatePairs() override;
    // Adding a proxy already present does nothing.
    void AddProxy(BroadphaseProxy3D* proxy) override;
    void RemoveProxy(BroadphaseProxy3D* proxy) override;

    const std::vector<BroadphaseProxy3D*>& GetProxies() const { return m_set; }

private:
    struct Candidate {
        Collider3D* collider;
        float fraction;
    };
    struct Hit {
        Collider3D* collider;
        float fraction;
        ZOR::float3 normal;
    };

    void ReleasePairs();

    std::vector<BroadphaseProxy3D*> m_set;
    ColliderPairList3D m_pairs;
    // Scratch of the ray cast, kept so that casts stop allocating once they have warmed up.
    std::vector<Candidate> m_candidates;
    std::vector<Hit> m_hits;
};

} // namespace quellor
