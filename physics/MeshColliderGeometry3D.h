#pragma once
#include "physics/ColliderDescription3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/HullMesh3D.h"

#include <vector>

namespace quellor {

// A collision shape made of convex pieces. It has no shape of its own: its body carries one
// polyhedron collider per hull, and its own world box is empty so that it never meets anything
// or stops a ray itself.
class MeshColliderGeometry3D : public ColliderGeometry3D {
public:
    explicit MeshColliderGeometry3D(const std::vector<HullMesh3D>& hulls);

    // Adds one polyhedron collider per hull to the owning body, in hull order.
    void Build() override;
    // Removes those colliders from the body again.
    void Teardown() override;

    ZOR::float3 Support(const ZOR::float3& direction) const override;
    bool RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const override;
    bool ContainsPoint(const ZOR::float3& worldPoint) const override;
    // The pieces carry the mass, so the mesh itself leaves every output at zero.
    void ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                               ZOR::float3& centerOfMass) const override;
    void ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin, ZOR::float3& worldMax) const override;
    void DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const override;

    std::vector<HullMesh3D> m_hulls;
    std::vector<Collider3D*> m_colliders; // the pieces added to the body
};

} // namespace quellor
