#include "physics/MeshColliderGeometry3D.h"

#include <cfloat>

namespace quellor {

MeshColliderGeometry3D::MeshColliderGeometry3D(const std::vector<HullMesh3D>& hulls)
    : ColliderGeometry3D(kColliderMesh), m_hulls(hulls)
{
}

ZOR::float3 MeshColliderGeometry3D::Support(const ZOR::float3&) const
{
    return ZOR::float3();
}

bool MeshColliderGeometry3D::RayCast(const Ray3D&, float, float&, ZOR::float3&) const
{
    return false;
}

bool MeshColliderGeometry3D::ContainsPoint(const ZOR::float3&) const
{
    return false;
}

void MeshColliderGeometry3D::ComputeMassProperties(float, float&, ZOR::float3x3&, ZOR::float3&) const {}

void MeshColliderGeometry3D::ComputeWorldAABB(const RigidBody3D&, ZOR::float3& worldMin, ZOR::float3& worldMax) const
{
    worldMin = ZOR::float3(FLT_MAX, FLT_MAX, FLT_MAX);
    worldMax = ZOR::float3(-FLT_MAX, -FLT_MAX, -FLT_MAX);
}

void MeshColliderGeometry3D::DebugDraw(PhysicsDebugDraw3D&, std::uint32_t) const {}

} // namespace quellor
