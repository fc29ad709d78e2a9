#include "physics/Collider3D.h"

#include "engine/BlockPool.h"
#include "engine/SmallBlockAllocator.h"
#include "physics/BoxColliderGeometry3D.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/PhysicsWorld3D.h"
#include "physics/PolyhedronColliderGeometry3D.h"
#include "physics/QuadColliderGeometry3D.h"
#include "physics/RigidBody3D.h"
#include "physics/SphereColliderGeometry3D.h"

#include <cstddef>
#include <new>

namespace quellor {

using namespace physics_math;

Collider3D::Collider3D(const ColliderDescription3D& description, ColliderGeometry3D* geometry)
    : m_userData(description.m_userData),
      m_filter(description.m_filter),
      m_density(description.m_density),
      m_restitution(description.m_restitution),
      m_friction(description.m_friction),
      m_sensor(description.m_sensor),
      m_geometry(geometry),
      m_inertia(ZeroMatrix())
{
    m_proxy.m_collider = this;
    m_geometry->SetCollider(this);
    m_geometry->ComputeMassProperties(m_density, m_mass, m_inertia, m_centerOfMass);
    m_inverseMass = 1.0f / m_mass;
}

void Collider3D::Cleanup()
{
    // A leaving collider ends its contacts; whatever rested on it must notice, so the other
    // body wakes.
    if (m_body && m_body->m_world) {
        ContactManager3D& contacts = m_body->m_world->GetContactManager();
        while (ContactEdge3D* edge = m_contacts.Front()) {
            if (RigidBody3D* other = edge->m_other ? edge->m_other->m_body : nullptr)
                other->Wake();
            contacts.Destroy(edge->m_contact);
        }
    }
    m_proxy.m_link.Unlink();
    m_bodyLink.Unlink();
}

void Collider3D::SetMass(float mass)
{
    m_mass = mass;
    m_inverseMass = 1.0f / mass;
    if (m_body)
        m_body->MarkMassDirty();
}

bool Collider3D::RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const
{
    return m_geometry->RayCast(ray, maxDistance, fraction, normal);
}

void Collider3D::DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const
{
    m_geometry->DebugDraw(drawer, colour);
}

void Collider3D::ComputeAABB()
{
    if (m_body)
        m_geometry->ComputeWorldAABB(*m_body, m_proxy.m_min, m_proxy.m_max);
}

namespace {

// Geometries own vectors and a map, so their blocks must meet the strictest alignment; the
// allocator is made with alignof(std::max_align_t).
template <typename Geometry, typename Shape>
ColliderGeometry3D* MakeGeometry(const Shape& shape, SmallBlockAllocator& allocator)
{
    static_assert(alignof(Geometry) <= alignof(std::max_align_t));
    void* block = allocator.Allocate(sizeof(Geometry));
    if (!block)
        return nullptr;
    return new (block) Geometry(shape);
}

std::size_t GeometrySize(std::uint8_t type)
{
    switch (type) {
    case kColliderSphere:
        return sizeof(SphereColliderGeometry3D);
    case kColliderQuad:
        return sizeof(QuadColliderGeometry3D);
    case kColliderPolyhedron:
        return sizeof(PolyhedronColliderGeometry3D);
    case kColliderBox:
        return sizeof(BoxColliderGeometry3D);
    case kColliderMesh:
        return sizeof(MeshColliderGeometry3D);
    default:
        return 0;
    }
}

void DestroyGeometry(ColliderGeometry3D* geometry, SmallBlockAllocator& allocator)
{
    const std::size_t size = GeometrySize(geometry->GetType());
    geometry->~ColliderGeometry3D();
    allocator.Free(geometry, size);
}

} // namespace

Collider3D* CreateCollider3D(const ColliderDescription3D& description, BlockPool& colliderPool,
                             SmallBlockAllocator& allocator)
{
    ColliderGeometry3D* geometry = nullptr;
    switch (description.m_type) {
    case kColliderSphere:
        geometry = MakeGeometry<SphereColliderGeometry3D>(description.m_sphere, allocator);
        break;
    case kColliderQuad:
        geometry = MakeGeometry<QuadColliderGeometry3D>(description.m_quad, allocator);
        break;
    case kColliderPolyhedron:
        geometry = MakeGeometry<PolyhedronColliderGeometry3D>(description.m_hull, allocator);
        break;
    case kColliderBox:
        geometry = MakeGeometry<BoxColliderGeometry3D>(description.m_box, allocator);
        break;
    case kColliderMesh:
        geometry = MakeGeometry<MeshColliderGeometry3D>(description.m_hulls, allocator);
        break;
    default:
        return nullptr;
    }
    if (!geometry)
        return nullptr;

    static_assert(alignof(Collider3D) <= alignof(std::max_align_t));
    void* block = colliderPool.GetBlockSize() >= sizeof(Collider3D) ? colliderPool.Allocate() : nullptr;
    if (!block) {
        DestroyGeometry(geometry, allocator);
        return nullptr;
    }
    return new (block) Collider3D(description, geometry);
}

void DestroyCollider3D(Collider3D* collider, BlockPool& colliderPool, SmallBlockAllocator& allocator)
{
    if (!collider)
        return;
    collider->m_geometry->Teardown();
    DestroyGeometry(collider->m_geometry, allocator);
    collider->m_geometry = nullptr;
    collider->Cleanup();
    collider->~Collider3D();
    colliderPool.Free(collider);
}

} // namespace quellor
