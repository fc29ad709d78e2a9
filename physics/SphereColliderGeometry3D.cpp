#include "physics/SphereColliderGeometry3D.h"

#include "physics/PhysicsDebugDraw3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/RigidBody3D.h"

#include <cmath>

namespace quellor {

using namespace physics_math;

SphereColliderGeometry3D::SphereColliderGeometry3D(const SphereShape3D& shape)
    : ColliderGeometry3D(kColliderSphere), m_center(shape.center), m_radius(shape.radius)
{
}

ZOR::float3 SphereColliderGeometry3D::Support(const ZOR::float3& direction) const
{
    return m_center + NormalizedOrSame(direction) * m_radius;
}

bool SphereColliderGeometry3D::RayCast(const Ray3D& ray, float maxDistance, float& fraction,
                                       ZOR::float3& normal) const
{
    const BodyPose3D pose = Pose();
    const ZOR::float3 worldCenter = pose.position + pose.rotation * m_center;
    const ZOR::float3& u = ray.direction;
    const ZOR::float3 m = ray.origin - worldCenter;
    const float s0 = u.Dot(m);
    const float s1 = u.Dot(m + u * maxDistance);
    const float lo = s0 < s1 ? s0 : s1;
    const float hi = s0 < s1 ? s1 : s0;
    if (lo > m_radius || -m_radius > hi)
        return false;
    const float b = 2.0f * s0;
    const float d = b * b - 4.0f * (m.Dot(m) - m_radius * m_radius);
    if (!(d >= 0.0f))
        return false;
    const float t = (-b - std::sqrt(d)) / (2.0f * maxDistance);
    if (!(t >= 0.0f && t <= 1.0f))
        return false;
    fraction = t;
    normal = NormalizedOrSame(m + u * (t * maxDistance));
    return true;
}

bool SphereColliderGeometry3D::ContainsPoint(const ZOR::float3& worldPoint) const
{
    const BodyPose3D pose = Pose();
    const ZOR::float3 x = pose.inverseRotation * (worldPoint - pose.position);
    return m_radius * m_radius > LengthSquared(x - m_center);
}

void SphereColliderGeometry3D::ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                                                     ZOR::float3& centerOfMass) const
{
    const float r = m_radius;
    mass = density * 1.3333334f * 3.1415927f * r * r * r;
    const float i = 0.4f * r * r;
    inertia = Diagonal(i, i, i);
    centerOfMass = m_center;
}

void SphereColliderGeometry3D::ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin,
                                                ZOR::float3& worldMax) const
{
    const ZOR::float3 worldCenter = body.m_position + body.m_rotation * m_center;
    const ZOR::float3 r(m_radius, m_radius, m_radius);
    worldMin = worldCenter - r;
    worldMax = worldCenter + r;
}

void SphereColliderGeometry3D::DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const
{
    const BodyPose3D pose = Pose();
    drawer.DrawSphere(pose.position + pose.rotation * m_center, m_radius, pose.rotation, colour);
}

} // namespace quellor
