#pragma once
#include "physics/Ray3D.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>

namespace quellor {

class Collider3D;
class RigidBody3D;
class PhysicsDebugDraw3D;

// The shape of one collider, in the frame of the body that owns the collider: a body at p with
// rotation R maps a body-frame point x to the world point p + R x. Each kind answers the same
// queries; mass properties come back per unit of mass.
class ColliderGeometry3D {
public:
    explicit ColliderGeometry3D(std::uint8_t type) : m_type(type) {}
    virtual ~ColliderGeometry3D() = default;
    ColliderGeometry3D(const ColliderGeometry3D&) = delete;
    ColliderGeometry3D& operator=(const ColliderGeometry3D&) = delete;

    // Called once after the collider joins its body, and once before it is destroyed.
    virtual void Build() {}
    virtual void Teardown() {}

    // The farthest point of the shape along direction; both in the body frame.
    virtual ZOR::float3 Support(const ZOR::float3& direction) const = 0;
    // World ray up to maxDistance; on a hit, fraction of maxDistance and the world normal.
    virtual bool RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const = 0;
    virtual bool ContainsPoint(const ZOR::float3& worldPoint) const = 0;
    // Mass from the density; inertia about the centre of mass per unit of mass, body frame;
    // centre of mass in the body frame. Outputs left alone mean zero (the collider zeroes them).
    virtual void ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                                       ZOR::float3& centerOfMass) const = 0;
    virtual void ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin, ZOR::float3& worldMax) const = 0;
    virtual void DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const = 0;

    std::uint8_t GetType() const { return m_type; }
    Collider3D* GetCollider() const { return m_collider; }
    void SetCollider(Collider3D* collider) { m_collider = collider; }

protected:
    // Where the owning body stands. A collider not yet attached to a body sits at the origin,
    // unturned.
    struct BodyPose3D {
        ZOR::float3 position;
        ZOR::float3x3 rotation;
        ZOR::float3x3 inverseRotation;
    };
    BodyPose3D Pose() const;
    static BodyPose3D PoseOf(const RigidBody3D& body);

    Collider3D* m_collider = nullptr;
    std::uint8_t m_type;
};

} // namespace quellor
