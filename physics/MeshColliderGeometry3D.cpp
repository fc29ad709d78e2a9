#include "physics/MeshColliderGeometry3D.h"

#include "physics/Collider3D.h"
#include "physics/RigidBody3D.h"

#include <cfloat>

namespace quellor {

MeshColliderGeometry3D::MeshColliderGeometry3D(const std::vector<HullMesh3D>& hulls)
    : ColliderGeometry3D(kColliderMesh), m_hulls(hulls)
{
}

void MeshColliderGeometry3D::Build()
{
    RigidBody3D* body = m_collider ? m_collider->m_body : nullptr;
    if (!body)
        return;
    m_colliders.reserve(m_colliders.size() + m_hulls.size());
    for (const HullMesh3D& hull : m_hulls) {
        ColliderDescription3D description;
        description.m_density = 1.0f;
        description.m_restitution = 0.4f;
        description.m_friction = 1.0f;
        description.m_type = kColliderPolyhedron;
        description.m_sensor = 0;
        description.m_filter = CollisionFilter3D{};
        description.m_userData = nullptr;
        description.m_hull = hull;
        if (Collider3D* piece = body->AddCollider(description))
            m_colliders.push_back(piece);
    }
}

void MeshColliderGeometry3D::Teardown()
{
    RigidBody3D* body = m_collider ? m_collider->m_body : nullptr;
    if (body) {
        for (Collider3D* piece : m_colliders)
            body->RemoveCollider(piece);
    }
    m_colliders.clear();
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
