#include "physics/BoxColliderGeometry3D.h"

#include "physics/PhysicsDebugDraw3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/RayCastAABB.h"
#include "physics/RigidBody3D.h"

#include <cmath>

namespace quellor {

using namespace physics_math;

BoxColliderGeometry3D::BoxColliderGeometry3D(const BoxShape3D& shape)
    : ColliderGeometry3D(kColliderBox),
      m_center(shape.center),
      m_halfExtents(shape.halfExtents),
      m_rotation(shape.rotation),
      m_inverseRotation(shape.rotation.Transpose())
{
}

ZOR::float3 BoxColliderGeometry3D::Support(const ZOR::float3& direction) const
{
    const ZOR::float3 local = m_inverseRotation * direction;
    ZOR::float3 s;
    for (int i = 0; i < 3; ++i) {
        const float e = Component(m_halfExtents, i);
        SetComponent(s, i, Component(local, i) >= 0.0f ? e : -e);
    }
    return m_center + m_rotation * s;
}

bool BoxColliderGeometry3D::RayCast(const Ray3D& ray, float maxDistance, float& fraction,
                                    ZOR::float3& normal) const
{
    const BodyPose3D pose = Pose();
    const ZOR::float3 end = ray.origin + ray.direction * maxDistance;
    const ZOR::float3 s = m_inverseRotation * (pose.inverseRotation * (ray.origin - pose.position) - m_center);
    const ZOR::float3 f = m_inverseRotation * (pose.inverseRotation * (end - pose.position) - m_center);
    const BoxClip3D clip = ClipSegmentToBox3D(s, f, m_halfExtents, false);
    if (!clip.hit || clip.tIn == 0.0f || clip.entryFace < 0)
        return false;
    fraction = clip.tIn;
    ZOR::float3 local;
    SetComponent(local, clip.entryFace / 2, clip.entryFace % 2 == 0 ? 1.0f : -1.0f);
    normal = pose.rotation * (m_rotation * local);
    return true;
}

bool BoxColliderGeometry3D::ContainsPoint(const ZOR::float3& worldPoint) const
{
    const BodyPose3D pose = Pose();
    const ZOR::float3 x = m_inverseRotation * (pose.inverseRotation * (worldPoint - pose.position) - m_center);
    for (int i = 0; i < 3; ++i) {
        const float e = Component(m_halfExtents, i);
        const float v = Component(x, i);
        if (!(-e <= v && v <= e))
            return false;
    }
    return true;
}

void BoxColliderGeometry3D::ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                                                  ZOR::float3& centerOfMass) const
{
    const float x = m_halfExtents.x;
    const float y = m_halfExtents.y;
    const float z = m_halfExtents.z;
    mass = density * 8.0f * x * y * z;
    const float twelfth = 0.083333336f;
    const ZOR::float3x3 own = Diagonal((4.0f * y * y + 4.0f * z * z) * twelfth, (4.0f * x * x + 4.0f * z * z) * twelfth,
                                       (4.0f * x * x + 4.0f * y * y) * twelfth);
    // Turned into the body frame, so a rotated box spins about its own axes.
    inertia = m_rotation * own * m_inverseRotation;
    centerOfMass = m_center;
}

void BoxColliderGeometry3D::ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin,
                                             ZOR::float3& worldMax) const
{
    const ZOR::float3 worldCenter = body.m_position + body.m_rotation * m_center;
    const ZOR::float3& e = m_halfExtents;
    const ZOR::float3 corners[4] = {{e.x, e.y, e.z}, {e.x, -e.y, e.z}, {e.x, e.y, -e.z}, {e.x, -e.y, -e.z}};
    ZOR::float3 half;
    for (const ZOR::float3& corner : corners) {
        const ZOR::float3 k = body.m_rotation * (m_rotation * corner);
        for (int i = 0; i < 3; ++i)
            SetComponent(half, i, std::fmax(Component(half, i), std::fabs(Component(k, i))));
    }
    worldMin = worldCenter - half;
    worldMax = worldCenter + half;
}

void BoxColliderGeometry3D::DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const
{
    const BodyPose3D pose = Pose();
    // Corner k has the sign pattern of its bits: bit 0 x, bit 1 y, bit 2 z (set = negative).
    ZOR::float3 corner[8];
    for (int k = 0; k < 8; ++k) {
        const ZOR::float3 local((k & 1) ? -m_halfExtents.x : m_halfExtents.x, (k & 2) ? -m_halfExtents.y : m_halfExtents.y,
                                (k & 4) ? -m_halfExtents.z : m_halfExtents.z);
        corner[k] = pose.position + pose.rotation * (m_center + m_rotation * local);
    }
    // Each edge joins two corners that differ in one bit.
    for (int k = 0; k < 8; ++k) {
        for (int bit = 1; bit < 8; bit <<= 1) {
            if ((k & bit) == 0)
                drawer.DrawLine(corner[k], corner[k | bit], colour);
        }
    }
}

} // namespace quellor
