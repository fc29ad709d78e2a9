#pragma once
#include "engine/BlockPool.h"
#include "engine/SmallBlockAllocator.h"
#include "physics/BodyDescription3D.h"
#include "physics/Broadphase3D.h"
#include "physics/ContactListener3D.h"
#include "physics/ContactManager3D.h"
#include "physics/EpaScratch3D.h"
#include "physics/PhysicsDebugDraw3D.h"
#include "physics/RayCastResult3D.h"
#include "physics/RigidBody3D.h"
#include "physics/TimeStep3D.h"
#include "physics/WorldSettings3D.h"
#include "renderer/math/float3.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quellor {

class Collider3D;

// The simulation core: it owns every body (and through them the colliders), the broadphase,
// the pools the records come from and the narrow phase's scratch lists. Nothing is shared
// between worlds, so several can live in one process.
class PhysicsWorld3D {
public:
    PhysicsWorld3D();
    // With another broadphase (the tests run the all-pairs loop beside the world's own); null
    // takes the world's own.
    explicit PhysicsWorld3D(std::unique_ptr<Broadphase3D> broadphase);
    ~PhysicsWorld3D();
    PhysicsWorld3D(const PhysicsWorld3D&) = delete;
    PhysicsWorld3D& operator=(const PhysicsWorld3D&) = delete;

    // Null when the body pool cannot give a block.
    RigidBody3D* CreateBody(const BodyDescription3D& description);
    // Tears the body down with all its colliders; null is ignored.
    void DestroyBody(RigidBody3D* body);

    void SetGravity(const ZOR::float3& gravity) { m_gravity = gravity; }
    const ZOR::float3& GetGravity() const { return m_gravity; }
    // Both take ownership; the previous object is deleted unless it is the same one. Rays are
    // kept for drawing only while a drawer is installed, so switching drawing off forgets them.
    void SetContactListener(ContactListener3D* listener);
    void SetDebugDraw(PhysicsDebugDraw3D* drawer);
    ContactListener3D* GetContactListener() const { return m_contactManager.GetContactListener(); }
    PhysicsDebugDraw3D* GetDebugDraw() const { return m_debugDraw.get(); }

    // Advances the world by dt: body data, pairs, contacts, then islands solved or put to
    // sleep. A dt that is not a positive finite number does nothing.
    void Step(float dt, std::uint8_t velocityIterations, std::uint8_t positionIterations);
    // Builds the islands of awake bodies breadth-first from the body list and solves each one,
    // or puts it to sleep when all its bodies have rested long enough.
    void Solve(const TimeStep3D& step);
    // The nearest non-sensor hit along the normalised direction (a zero-length direction is
    // used as it is). A miss reports the point at the full distance. A non-finite origin,
    // direction or distance misses with an all-zero result.
    RayCastResult3D& RayCast(RayCastResult3D& result, const ZOR::float3& origin, const ZOR::float3& direction,
                             float maxDistance);
    // Bodies, contacts and the rays cast since the last call; nothing without a drawer.
    void DebugDraw();

    // Appends the colliders whose world boxes overlap the box (sensors included).
    void QueryAABB(const ZOR::float3& boxMin, const ZOR::float3& boxMax, std::vector<Collider3D*>& output);

    Broadphase3D& GetBroadphase() { return *m_broadphase; }
    const WorldSettings3D& GetSettings() const { return m_settings; }
    RigidBodyList3D& GetBodies() { return m_bodies; }
    BlockPool& GetBodyPool() { return m_bodyPool; }
    BlockPool& GetEdgePool() { return m_edgePool; }
    BlockPool& GetContactPool() { return m_contactPool; }
    BlockPool& GetPointPool() { return m_pointPool; }
    BlockPool& GetColliderPool() { return m_colliderPool; }
    SmallBlockAllocator& GetAllocator() { return m_allocator; }
    SmallBlockAllocator& GetConstraintAllocator() { return m_constraintAllocator; }
    EpaScratch3D& GetEpaScratch() { return m_epaScratch; }
    ContactManager3D& GetContactManager() { return m_contactManager; }
    const std::vector<RayCastResult3D>& GetDebugRays() const { return m_debugRays; }

    // The next collider identity of this world.
    std::uint32_t TakeColliderSerial() { return ++m_colliderSerial; }

private:
    std::unique_ptr<Broadphase3D> m_broadphase;
    std::unique_ptr<PhysicsDebugDraw3D> m_debugDraw;
    WorldSettings3D m_settings;
    ZOR::float3 m_gravity;
    RigidBodyList3D m_bodies;
    std::vector<RayCastResult3D> m_debugRays;
    BlockPool m_bodyPool;
    BlockPool m_edgePool;
    BlockPool m_contactPool;
    BlockPool m_pointPool;
    BlockPool m_colliderPool;
    SmallBlockAllocator m_allocator;
    SmallBlockAllocator m_constraintAllocator;
    EpaScratch3D m_epaScratch;
    // After the pools it hands records back to, so that it goes before them.
    ContactManager3D m_contactManager;
    std::uint32_t m_colliderSerial = 0;
};

} // namespace quellor
