#include "physics/QuadColliderGeometry3D.h"

#include "physics/PhysicsDebugDraw3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/RigidBody3D.h"

#include <cmath>

namespace quellor {

using namespace physics_math;

QuadColliderGeometry3D::QuadColliderGeometry3D(const QuadShape3D& shape)
    : ColliderGeometry3D(kColliderQuad),
      m_center(shape.center),
      m_rotation(shape.rotation),
      m_inverseRotation(shape.rotation.Transpose()),
      m_halfWidth(shape.halfWidth),
      m_halfHeight(shape.halfHeight)
{
}

ZOR::float3 QuadColliderGeometry3D::Support(const ZOR::float3& direction) const
{
    const float sx = direction.Dot(Column(m_rotation, 0)) >= 0.0f ? m_halfWidth : -m_halfWidth;
    const float sz = direction.Dot(Column(m_rotation, 2)) >= 0.0f ? m_halfHeight : -m_halfHeight;
    return m_center + m_rotation * ZOR::float3(sx, 0.0f, sz);
}

bool QuadColliderGeometry3D::RayCast(const Ray3D& ray, float maxDistance, float& fraction,
                                     ZOR::float3& normal) const
{
    const BodyPose3D pose = Pose();
    const ZOR::float3 end = ray.origin + ray.direction * maxDistance;
    const ZOR::float3 a = m_inverseRotation * (pose.inverseRotation * (ray.origin - pose.position) - m_center);
    const ZOR::float3 b = m_inverseRotation * (pose.inverseRotation * (end - pose.position) - m_center);
    if (a.y * b.y > 1e-5f)
        return false;
    const float t = a.y / (a.y - b.y);
    const float x = (1.0f - t) * a.x + t * b.x;
    const float z = (1.0f - t) * a.z + t * b.z;
    // Written so that a fraction that is not a number (a ray along the plane) fails.
    if (!(std::fabs(x) <= m_halfWidth && std::fabs(z) <= m_halfHeight))
        return false;
    fraction = t;
    const ZOR::float3 local(0.0f, a.y >= 0.0f ? 1.0f : -1.0f, 0.0f);
    normal = pose.rotation * (m_rotation * local);
    return true;
}

bool QuadColliderGeometry3D::ContainsPoint(const ZOR::float3&) const
{
    return false;
}

void QuadColliderGeometry3D::ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                                                   ZOR::float3& centerOfMass) const
{
    const float w = m_halfWidth;
    const float h = m_halfHeight;
    mass = density * 4.0f * w * h;
    const float twelfth = 0.083333336f;
    const ZOR::float3x3 own =
        Diagonal(4.0f * w * w * twelfth, (4.0f * h * h + 4.0f * w * w) * twelfth, 4.0f * h * h * twelfth);
    // Turned fully into the body frame, so a rotated quad's inertia stays symmetric.
    inertia = m_rotation * own * m_inverseRotation;
    centerOfMass = m_center;
}

void QuadColliderGeometry3D::ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin,
                                              ZOR::float3& worldMax) const
{
    const ZOR::float3 worldCenter = body.m_position + body.m_rotation * m_center;
    const ZOR::float3 k1 = body.m_rotation * (m_rotation * ZOR::float3(m_halfWidth, 0.0f, m_halfHeight));
    const ZOR::float3 k2 = body.m_rotation * (m_rotation * ZOR::float3(m_halfWidth, 0.0f, -m_halfHeight));
    ZOR::float3 half;
    for (int i = 0; i < 3; ++i)
        SetComponent(half, i, std::fmax(std::fabs(Component(k1, i)), std::fabs(Component(k2, i))));
    worldMin = worldCenter - half;
    worldMax = worldCenter + half;
}

void QuadColliderGeometry3D::DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const
{
    const BodyPose3D pose = Pose();
    const float w = m_halfWidth;
    const float h = m_halfHeight;
    const ZOR::float3 local[4] = {{w, 0.0f, h}, {-w, 0.0f, h}, {-w, 0.0f, -h}, {w, 0.0f, -h}};
    ZOR::float3 corner[4];
    for (int k = 0; k < 4; ++k)
        corner[k] = pose.position + pose.rotation * (m_center + m_rotation * local[k]);
    for (int k = 0; k < 4; ++k)
        drawer.DrawLine(corner[k], corner[(k + 1) % 4], colour);
    const ZOR::float3 mid[4] = {(corner[0] + corner[1]) * 0.5f, (corner[1] + corner[2]) * 0.5f,
                                (corner[2] + corner[3]) * 0.5f, (corner[3] + corner[0]) * 0.5f};
    drawer.DrawLine(mid[0], mid[2], colour);
    drawer.DrawLine(mid[1], mid[3], colour);
}

} // namespace quellor
