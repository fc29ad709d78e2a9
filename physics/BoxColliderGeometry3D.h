#pragma once
#include "physics/ColliderDescription3D.h"
#include "physics/ColliderGeometry3D.h"

namespace quellor {

class BoxColliderGeometry3D : public ColliderGeometry3D {
public:
    explicit BoxColliderGeometry3D(const BoxShape3D& shape);

    ZOR::float3 Support(const ZOR::float3& direction) const override;
    // A ray that starts inside the box, or on its surface, does not hit it.
    bool RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const override;
    // Inclusive: a point on a face is contained.
    bool ContainsPoint(const ZOR::float3& worldPoint) const override;
    void ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                               ZOR::float3& centerOfMass) const override;
    void ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin, ZOR::float3& worldMax) const override;
    // The twelve edges.
    void DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const override;

    ZOR::float3 m_center;
    ZOR::float3 m_halfExtents;
    ZOR::float3x3 m_rotation;
    ZOR::float3x3 m_inverseRotation;
};

} // namespace quellor
