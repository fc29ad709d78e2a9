#pragma once
#include "engine/BlockPool.h"
#include "engine/IntrusiveList.h"
#include "physics/BroadphaseProxy3D.h"
#include "physics/ColliderPair3D.h"
#include "physics/Ray3D.h"
#include "physics/RayCastResult3D.h"
#include "renderer/math/float3.h"

#include <vector>

namespace quellor {

class Collider3D;
class PhysicsDebugDraw3D;
struct TimeStep3D;

using ProxyList3D = IntrusiveList<BroadphaseProxy3D, &BroadphaseProxy3D::m_link>;

// Finds which colliders may touch and answers the world's spatial queries. Colliders keep the
// proxy list themselves (they link on attach and unlink on detach) beside AddProxy/RemoveProxy.
// Outputs are appended to, never cleared.
class Broadphase3D {
public:
    Broadphase3D();
    virtual ~Broadphase3D();
    Broadphase3D(const Broadphase3D&) = delete;
    Broadphase3D& operator=(const Broadphase3D&) = delete;

    virtual void EndStep(const TimeStep3D& step);
    virtual void QueryPoint(const ZOR::float3& point, std::vector<Collider3D*>& output) = 0;
    // ray.direction must be unit length (or zero); the result is zeroed first.
    virtual RayCastResult3D& RayCast(RayCastResult3D& result, const Ray3D& ray, float maxDistance) = 0;
    virtual void QueryAABB(const ZOR::float3& boxMin, const ZOR::float3& boxMax,
                           std::vector<Collider3D*>& output) = 0;
    // The pairs of overlapping boxes; valid until the next call.
    virtual const ColliderPairList3D& UpdatePairs() = 0;
    virtual void DebugDraw(PhysicsDebugDraw3D& drawer);
    virtual void AddProxy(BroadphaseProxy3D* proxy) = 0;
    virtual void RemoveProxy(BroadphaseProxy3D* proxy) = 0;

    ProxyList3D& GetProxyList() { return m_proxies; }
    const BlockPool& GetPairPool() const { return m_pairPool; }

    // Inclusive on every axis, so boxes that only touch on a face overlap.
    static bool Overlap(const ZOR::float3& minA, const ZOR::float3& maxA, const ZOR::float3& minB,
                        const ZOR::float3& maxB)
    {
        return maxA.x >= minB.x && maxB.x >= minA.x && maxA.y >= minB.y && maxB.y >= minA.y &&
               maxA.z >= minB.z && maxB.z >= minA.z;
    }
    static bool Contains(const ZOR::float3& boxMin, const ZOR::float3& boxMax, const ZOR::float3& point);

protected:
    ProxyList3D m_proxies;
    BlockPool m_pairPool;
};

} // namespace quellor
