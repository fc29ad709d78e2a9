#pragma once
#include "physics/ColliderDescription3D.h"
#include "physics/ColliderGeometry3D.h"

namespace quellor {

// A rectangle in the plane y = 0 of its own frame, hit from either side. It encloses no
// volume, so it contains no point.
class QuadColliderGeometry3D : public ColliderGeometry3D {
public:
    explicit QuadColliderGeometry3D(const QuadShape3D& shape);

    ZOR::float3 Support(const ZOR::float3& direction) const override;
    // The normal faces the side the ray comes from; the rectangle's edges count as hits.
    bool RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const override;
    bool ContainsPoint(const ZOR::float3& worldPoint) const override;
    void ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                               ZOR::float3& centerOfMass) const override;
    void ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin, ZOR::float3& worldMax) const override;
    // The four edges, then the two lines joining the midpoints of opposite edges.
    void DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const override;

    ZOR::float3 m_center;
    ZOR::float3x3 m_rotation;
    ZOR::float3x3 m_inverseRotation;
    float m_halfWidth;
    float m_halfHeight;
};

} // namespace quellor
