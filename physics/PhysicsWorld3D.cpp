#include "physics/PhysicsWorld3D.h"

#include "physics/Collider3D.h"
#include "physics/Contact3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/NSquared3D.h"

#include <cstddef>
#include <new>

namespace quellor {

namespace {

constexpr std::uint32_t kPageSize = 4096;
constexpr std::uint32_t kHeapPages = 1;

} // namespace

PhysicsWorld3D::PhysicsWorld3D()
    : m_broadphase(std::make_unique<NSquared3D>()),
      m_bodyPool(sizeof(RigidBody3D), kPageSize, kHeapPages, alignof(RigidBody3D)),
      m_edgePool(sizeof(BodyPairEdge3D), kPageSize, kHeapPages, alignof(BodyPairEdge3D)),
      m_contactPool(sizeof(Contact3D), kPageSize, kHeapPages, alignof(Contact3D)),
      m_pointPool(sizeof(ContactPoint3D), kPageSize, kHeapPages, alignof(ContactPoint3D)),
      m_colliderPool(sizeof(Collider3D), kPageSize, kHeapPages, alignof(Collider3D)),
      // Geometries own vectors and maps, so their blocks need the strictest alignment.
      m_allocator(kPageSize, kHeapPages, alignof(std::max_align_t)),
      m_constraintAllocator(kPageSize, kHeapPages, alignof(std::max_align_t))
{
}

PhysicsWorld3D::~PhysicsWorld3D()
{
    while (RigidBody3D* body = m_bodies.Front())
        DestroyBody(body);
}

RigidBody3D* PhysicsWorld3D::CreateBody(const BodyDescription3D& description)
{
    void* block = m_bodyPool.Allocate();
    if (!block)
        return nullptr;
    auto* body = new (block) RigidBody3D(description);
    m_bodies.PushBack(body);
    body->m_world = this;
    return body;
}

void PhysicsWorld3D::DestroyBody(RigidBody3D* body)
{
    if (!body || !RigidBodyList3D::Contains(body, m_bodies))
        return;
    body->~RigidBody3D();
    m_bodyPool.Free(body);
}

void PhysicsWorld3D::SetContactListener(ContactListener3D* listener)
{
    if (listener != m_listener.get())
        m_listener.reset(listener);
}

void PhysicsWorld3D::SetDebugDraw(PhysicsDebugDraw3D* drawer)
{
    if (drawer != m_debugDraw.get())
        m_debugDraw.reset(drawer);
}

void PhysicsWorld3D::QueryAABB(const ZOR::float3& boxMin, const ZOR::float3& boxMax,
                               std::vector<Collider3D*>& output)
{
    m_broadphase->QueryAABB(boxMin, boxMax, output);
}

} // namespace quellor
