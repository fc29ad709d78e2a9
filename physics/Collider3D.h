#pragma once
#include "engine/IntrusiveList.h"
#include "physics/BroadphaseProxy3D.h"
#include "physics/ColliderDescription3D.h"
#include "physics/CollisionFilter3D.h"
#include "physics/Contact3D.h"
#include "physics/Ray3D.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>

namespace quellor {

class BlockPool;
class ColliderGeometry3D;
class PhysicsDebugDraw3D;
class RigidBody3D;
class SmallBlockAllocator;

// One shape of a body as collision detection sees it: filter, material, sensor flag, mass
// properties and the geometry, which the collider owns. Records live in a collider pool and
// geometries in a small-block allocator; CreateCollider3D and DestroyCollider3D pair them.
class Collider3D {
public:
    // Takes the description's filter, material and sensor flag and the geometry, then computes
    // the mass properties from the density.
    Collider3D(const ColliderDescription3D& description, ColliderGeometry3D* geometry);
    Collider3D(const Collider3D&) = delete;
    Collider3D& operator=(const Collider3D&) = delete;

    // Ends the collider's contacts (waking the bodies on the other side) and unlinks it from
    // its body's list and from the broadphase's proxy list.
    void Cleanup();

    // A mass of 0 gives an infinite inverse mass. Marks the body's mass data out of date.
    void SetMass(float mass);

    bool RayCast(const Ray3D& ray, float maxDistance, float& fraction, ZOR::float3& normal) const;
    void DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const;
    // Rewrites the proxy's world box from the body's pose; nothing without a body.
    void ComputeAABB();

    void* m_userData;
    ContactEdgeList3D m_contacts;
    IntrusiveLink<Collider3D> m_bodyLink; // in the body's collider list
    CollisionFilter3D m_filter;
    float m_density;
    float m_restitution;
    float m_friction;
    std::uint8_t m_sensor;
    ColliderGeometry3D* m_geometry;
    RigidBody3D* m_body = nullptr;
    float m_mass = 0.0f;
    float m_inverseMass = 0.0f;
    ZOR::float3x3 m_inertia;    // per unit of mass, about the centre of mass, body frame
    ZOR::float3 m_centerOfMass; // body frame
    BroadphaseProxy3D m_proxy;
    // Taken from the world's counter when the body adds the collider; the lower one comes first
    // in a pair. 0 for a collider made outside a world.
    std::uint32_t m_serial = 0;
};

using ColliderList3D = IntrusiveList<Collider3D, &Collider3D::m_bodyLink>;

// Builds the geometry for the description's kind in the allocator and the collider in the
// pool. Null, with nothing taken, for a type outside 0 to 4 or when either block cannot be had.
Collider3D* CreateCollider3D(const ColliderDescription3D& description, BlockPool& colliderPool,
                             SmallBlockAllocator& allocator);

// Tears the geometry down and gives both blocks back. Null is ignored.
void DestroyCollider3D(Collider3D* collider, BlockPool& colliderPool, SmallBlockAllocator& allocator);

} // namespace quellor
