#pragma once
#include "physics/ColliderDescription3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/HullMesh3D.h"

namespace quellor {

// A convex hull with flat triangular faces, in the body frame.
class PolyhedronColliderGeometry3D : public ColliderGeometry3D {
public:
    explicit PolyhedronColliderGeometry3D(const HullMesh3D& hull);

    ZOR::float3 Support(const ZOR::float3& direction) const override;
    // Clips the ray against every face plane. A ray that starts inside hits at fraction 0 with
    // a zero normal, since it crosses no face on the way in.
    bool RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const override;
    // Strictly inside every face plane; a hull without faces contains every point.
    bool ContainsPoint(const ZOR::float3& worldPoint) const override;
    // A flat or faceless hull has no volume: mass 0, no inertia, its centre at the centroid.
    void ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                               ZOR::float3& centerOfMass) const override;
    // Six support searches over the hull, so the box of the last pose is kept: a body that has
    // not moved (a static piece of the level, a sleeper) gets it again without a search.
    void ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin, ZOR::float3& worldMax) const override;
    // Every face's edges; an edge shared by two faces is drawn by both.
    void DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const override;

    HullMesh3D m_hull;

private:
    struct BoundsOfPose {
        bool known = false;
        ZOR::float3 position;
        ZOR::float3x3 rotation;
        ZOR::float3x3 inverseRotation;
        ZOR::float3 min;
        ZOR::float3 max;
    };
    mutable BoundsOfPose m_lastBounds;
};

} // namespace quellor
