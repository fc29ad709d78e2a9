#include "physics/PhysicsWorld3D.h"

#include "engine/Finite.h"
#include "physics/CollideShapes3D.h"
#include "physics/Collider3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/Contact3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/ContactSolver3D.h"
#include "physics/Island3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/SweepBroadphase3D.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <utility>

namespace quellor {

namespace {

constexpr std::uint32_t kPageSize = 4096;
constexpr std::uint32_t kHeapPages = 1;

constexpr std::uint32_t kRayHitColour = 0xFF00FF00u;
constexpr std::uint32_t kRayMissColour = 0xFFFF0000u;
constexpr std::uint32_t kRayNormalColour = 0xFF00FFFFu;
constexpr float kRayEndHalfSize = 0.1f;
constexpr float kRayNormalLength = 0.3f;

using BodyQueue3D = IntrusiveList<RigidBody3D, &RigidBody3D::m_queueLink>;

} // namespace

PhysicsWorld3D::PhysicsWorld3D() : PhysicsWorld3D(nullptr) {}

PhysicsWorld3D::PhysicsWorld3D(std::unique_ptr<Broadphase3D> broadphase)
    : m_broadphase(broadphase ? std::move(broadphase) : std::make_unique<SweepBroadphase3D>()),
      m_bodyPool(sizeof(RigidBody3D), kPageSize, kHeapPages, alignof(RigidBody3D)),
      m_edgePool(sizeof(BodyPairEdge3D), kPageSize, kHeapPages, alignof(BodyPairEdge3D)),
      m_contactPool(sizeof(Contact3D), kPageSize, kHeapPages, alignof(Contact3D)),
      m_pointPool(sizeof(ContactPoint3D), kPageSize, kHeapPages, alignof(ContactPoint3D)),
      m_colliderPool(sizeof(Collider3D), kPageSize, kHeapPages, alignof(Collider3D)),
      // Geometries own vectors and maps, so their blocks need the strictest alignment.
      m_allocator(kPageSize, kHeapPages, alignof(std::max_align_t)),
      m_constraintAllocator(kPageSize, kHeapPages, alignof(std::max_align_t)),
      m_contactManager(m_contactPool, m_pointPool, m_edgePool)
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
    m_contactManager.SetContactListener(listener);
}

void PhysicsWorld3D::SetDebugDraw(PhysicsDebugDraw3D* drawer)
{
    if (drawer != m_debugDraw.get())
        m_debugDraw.reset(drawer);
    if (!m_debugDraw)
        m_debugRays.clear();
}

void PhysicsWorld3D::Step(float dt, std::uint8_t velocityIterations, std::uint8_t positionIterations)
{
    // The velocity bias divides by dt.
    if (!(dt > 0.0f) || !std::isfinite(dt))
        return;
    const TimeStep3D step{dt, velocityIterations, positionIterations, &m_settings};

    for (RigidBody3D* body : m_bodies) {
        if (!body->IsMassClean())
            body->UpdateMassProperties();
        body->UpdateRotation();
        body->UpdatePosition();
        body->UpdateWorldInverseInertia();
        body->UpdateColliderBounds();
    }

    const ColliderPairList3D& pairs = m_broadphase->UpdatePairs();
    m_contactManager.BeginUpdate();

    const float matchingSquared = m_settings.m_pointMatchingDistance * m_settings.m_pointMatchingDistance;
    for (const ColliderPair3D* pair : pairs) {
        Collider3D* a = pair->m_colliderA;
        Collider3D* b = pair->m_colliderB;
        RigidBody3D* bodyA = a->m_body;
        RigidBody3D* bodyB = b->m_body;
        if (bodyA == bodyB)
            continue;
        const bool activeA = bodyA->IsAwake() && bodyA->m_motionType != kBodyStatic;
        const bool activeB = bodyB->IsAwake() && bodyB->m_motionType != kBodyStatic;
        if (!activeA && !activeB)
            continue;
        if (!a->m_filter.ShouldCollide(b->m_filter))
            continue;
        if (b->m_serial < a->m_serial)
            std::swap(a, b);

        void* block = m_contactPool.Allocate();
        if (!block)
            continue;
        auto* contact = new (block) Contact3D(a, b);
        const bool touching = CollideShapes3D(*contact, *a->m_geometry, *b->m_geometry, m_pointPool, m_epaScratch);
        if (touching && m_contactManager.AddOrUpdate(contact, matchingSquared))
            continue;
        contact->ReleasePoints(m_pointPool);
        contact->~Contact3D();
        m_contactPool.Free(contact);
    }

    m_contactManager.RemoveStale();
    Solve(step);
    m_broadphase->EndStep(step);
}

void PhysicsWorld3D::Solve(const TimeStep3D& step)
{
    for (RigidBody3D* body : m_bodies) {
        body->m_stateFlags = static_cast<std::uint8_t>((body->m_stateFlags & ~kBodyInIsland) | kBodyMaySleep);
        for (Collider3D* collider : body->m_colliders) {
            for (ContactEdge3D* edge : collider->m_contacts)
                edge->m_contact->m_marks &= static_cast<std::uint8_t>(~kContactInIsland);
        }
    }

    const float dt = step.m_dt;
    const float linearTolerance = m_settings.m_linearSleepTolerance * m_settings.m_linearSleepTolerance;
    const float angularTolerance = m_settings.m_angularSleepTolerance * m_settings.m_angularSleepTolerance;

    Island3D island;
    island.m_gravity = &m_gravity;
    island.m_linearDamping = 1.0f - std::clamp(m_settings.m_linearDamping * dt, 0.0f, 1.0f);
    island.m_angularDamping = 1.0f - std::clamp(m_settings.m_angularDamping * dt, 0.0f, 1.0f);
    BodyQueue3D queue;

    for (RigidBody3D* seed : m_bodies) {
        if ((seed->m_stateFlags & kBodyInIsland) != 0)
            continue;
        if (m_settings.m_allowSleeping && !seed->IsAwake())
            continue;
        if (seed->m_motionType == kBodyStatic)
            continue;

        island.Clear();
        float leastSleepTime = std::numeric_limits<float>::max();
        seed->m_stateFlags |= kBodyInIsland;
        queue.PushBack(seed);

        while (RigidBody3D* body = queue.Front()) {
            BodyQueue3D::Remove(body);
            island.m_bodies.PushBack(body);
            if (!body->IsAwake())
                body->Wake();

            const bool resting = physics_math::LengthSquared(body->m_linearVelocity) < linearTolerance &&
                                 physics_math::LengthSquared(body->m_angularVelocity) < angularTolerance;
            if ((body->m_stateFlags & kBodyMaySleep) != 0 && resting)
                body->m_sleepTime += dt;
            else
                body->m_sleepTime = 0.0f;
            leastSleepTime = std::min(leastSleepTime, body->m_sleepTime);

            for (Collider3D* collider : body->m_colliders) {
                for (ContactEdge3D* edge : collider->m_contacts) {
                    Contact3D* contact = edge->m_contact;
                    if (!contact->m_touching || (contact->m_marks & kContactInIsland) != 0)
                        continue;
                    RigidBody3D* other = edge->m_other->m_body;
                    if ((other->m_stateFlags & kBodyInIsland) == 0 && other->m_motionType != kBodyStatic) {
                        other->m_stateFlags |= kBodyInIsland;
                        queue.PushBack(other);
                    }
                    contact->m_marks |= kContactInIsland;
                    if (!contact->m_colliderA->m_sensor && !contact->m_colliderB->m_sensor)
                        island.m_contacts.PushBack(contact);
                }
            }
        }

        if (m_settings.m_timeToSleep > leastSleepTime) {
            ContactSolver3D solver(island);
            solver.Solve(step);
        } else {
            for (RigidBody3D* body : island.m_bodies)
                body->SetAwake(false);
        }
    }
    island.Clear();
}

RayCastResult3D& PhysicsWorld3D::RayCast(RayCastResult3D& result, const ZOR::float3& origin,
                                         const ZOR::float3& direction, float maxDistance)
{
    if (!IsFinite(origin) || !IsFinite(direction) || !std::isfinite(maxDistance)) {
        result = RayCastResult3D{};
        return result;
    }
    Ray3D ray{origin, direction};
    const float length = std::sqrt(physics_math::LengthSquared(direction));
    if (length != 0.0f && !std::isnan(length))
        ray.direction = direction * (1.0f / length);

    m_broadphase->RayCast(result, ray, maxDistance);
    result.m_origin = ray.origin;
    result.m_direction = ray.direction;
    if (!result.m_hit)
        result.m_point = ray.origin + ray.direction * maxDistance;
    if (m_debugDraw)
        m_debugRays.push_back(result);
    return result;
}

void PhysicsWorld3D::DebugDraw()
{
    if (!m_debugDraw)
        return;
    PhysicsDebugDraw3D& drawer = *m_debugDraw;
    m_broadphase->DebugDraw(drawer);
    for (const RigidBody3D* body : m_bodies)
        body->DebugDraw(drawer);
    m_contactManager.DebugDraw(drawer);

    const ZOR::float3 half(kRayEndHalfSize, kRayEndHalfSize, kRayEndHalfSize);
    const ZOR::float3x3 identity;
    for (const RayCastResult3D& ray : m_debugRays) {
        const std::uint32_t colour = ray.m_hit ? kRayHitColour : kRayMissColour;
        drawer.DrawLine(ray.m_origin, ray.m_point, colour);
        drawer.DrawBox(ray.m_point, half, identity, colour);
        if (ray.m_hit)
            drawer.DrawLine(ray.m_point, ray.m_point + ray.m_normal * kRayNormalLength, kRayNormalColour);
    }
    m_debugRays.clear();
}

void PhysicsWorld3D::QueryAABB(const ZOR::float3& boxMin, const ZOR::float3& boxMax,
                               std::vector<Collider3D*>& output)
{
    m_broadphase->QueryAABB(boxMin, boxMax, output);
}

} // namespace quellor
