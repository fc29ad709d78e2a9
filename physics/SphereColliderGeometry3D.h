#pragma once
#include "physics/ColliderDescription3D.h"
#include "physics/ColliderGeometry3D.h"

namespace quellor {

class SphereColliderGeometry3D : public ColliderGeometry3D {
public:
    explicit SphereColliderGeometry3D(const SphereShape3D& shape);

    ZOR::float3 Support(const ZOR::float3& direction) const override;
    // A ray that starts inside the sphere does not hit it.
    bool RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const override;
    // Strictly inside: a point on the surface is not contained.
    bool ContainsPoint(const ZOR::float3& worldPoint) const override;
    void ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                               ZOR::float3& centerOfMass) const override;
    void ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin, ZOR::float3& worldMax) const override;
    void DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const override;

    ZOR::float3 m_center;
    float m_radius;
};

} // namespace quellor
