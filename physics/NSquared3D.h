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

protected:
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
    // Appends a pair to the list; false when the pair pool is dry.
    bool PushPair(Collider3D* a, Collider3D* b);
    // Whether the ray's box test keeps the proxy, and at which fraction. Sensors never stop a ray.
    static bool IsRayCandidate(const BroadphaseProxy3D& proxy, const Ray3D& ray, float maxDistance, float& fraction);
    // The exact test over m_candidates, which must be in set order: of equal hits the first wins.
    RayCastResult3D& NearestHit(RayCastResult3D& result, const Ray3D& ray, float maxDistance);

    std::vector<BroadphaseProxy3D*> m_set;
    ColliderPairList3D m_pairs;
    // Scratch of the ray cast, kept so that casts stop allocating once they have warmed up.
    std::vector<Candidate> m_candidates;
    std::vector<Hit> m_hits;
};

} // namespace quellor
