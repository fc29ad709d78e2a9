#include "physics/PhysicsSystem3D.h"

#include "engine/Engine.h"
#include "engine/graphics/Convert.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/Collider3D.h"
#include "physics/PhysicsWorld3D.h"
#include "physics/RayCastResult3D.h"
#include "physics/ZORPhysicsDebugDraw3D.h"
#include "renderer/RenderSystem.h"

namespace quellor {

// No "ID" member: the system is keyed by its static ID only.
QUELLOR_RECORD(PhysicsSystem3D, System, DerivedMetaNotPODNoCopy, NoID)
{
    reg.Member(QL_FIELD(m_useDebugDraw)).Setter(QL_METHOD(SetDebugDraw));
    reg.Member(QL_FIELD(m_timeStep)).Setter(QL_METHOD(SetTimeStep));
    reg.Member(QL_FIELD(m_maxStepsPerFrame)).Setter(QL_METHOD(SetMaxStepsPerFrame));
    reg.Member(QL_FIELD(m_velocityIterations)).Setter(QL_METHOD(SetVelocityIterations));
    reg.Member(QL_FIELD(m_positionIteratoins)).Setter(QL_METHOD(SetPositionIterations));
    reg.Member(QL_FIELD(m_gravity)).Setter(QL_METHOD(SetGravity));
}

PhysicsSystem3D::PhysicsSystem3D() = default;

PhysicsSystem3D::~PhysicsSystem3D()
{
    ReleaseWorld();
    m_rigidBodies.Clear();
    m_colliders.Clear();
}

void PhysicsSystem3D::ReleaseWorld()
{
    // The world frees every body; components still holding one must not reach it afterwards.
    for (RigidBodyComponent3D* component : m_rigidBodies)
        component->ForgetBody();
    for (ColliderComponent3D* component : m_colliders)
        component->ForgetCollider();
    m_world.reset();
    // The drawer went with the world.
    m_debugDrawerInstalled = false;
}

void PhysicsSystem3D::Initialize()
{
    ReleaseWorld();
    m_world = std::make_unique<PhysicsWorld3D>();
    m_world->SetContactListener(new SystemContactListener(this));
    m_accumulator = 0.0f;
    m_debugDrawerInstalled = false;
}

void PhysicsSystem3D::Shutdown()
{
    ReleaseWorld();
}

void PhysicsSystem3D::AddRigidBody(RigidBodyComponent3D* component)
{
    m_rigidBodies.PushBack(component);
}

void PhysicsSystem3D::RemoveRigidBody(RigidBodyComponent3D* component)
{
    if (m_rigidBodies.Contains(component))
        RigidBodyList::Remove(component);
}

void PhysicsSystem3D::AddCollider(ColliderComponent3D* component)
{
    m_colliders.PushBack(component);
}

void PhysicsSystem3D::RemoveCollider(ColliderComponent3D* component)
{
    if (m_colliders.Contains(component))
        ColliderList::Remove(component);
}

PhysicsSystem3D* PhysicsSystem3D::SetGravity(const Vec4& gravity)
{
    m_gravity = gravity;
    return this;
}

void PhysicsSystem3D::ToggleDebugDrawer()
{
    if (m_debugDrawerInstalled && !m_useDebugDraw) {
        m_world->SetDebugDraw(nullptr);
        m_debugDrawerInstalled = false;
    } else if (!m_debugDrawerInstalled && m_useDebugDraw) {
        Engine* engine = GetEngine();
        System* graphics = engine ? engine->GetSystem("GraphicsSystem", "default") : nullptr;
        auto* render = dynamic_cast<ZOR::RenderSystem*>(graphics);
        if (!render)
            return; // asked again next frame
        m_world->SetDebugDraw(new ZORPhysicsDebugDraw3D(&render->GetDebugDrawer(true), 1.0f));
        m_debugDrawerInstalled = true;
    }
}

void PhysicsSystem3D::Update(float dt)
{
    m_stepsLastUpdate = 0;
    if (!m_world)
        return;
    ToggleDebugDrawer();

    // Through Next, so a component that leaves the list while syncing does not end the walk.
    for (ColliderComponent3D* c = m_colliders.Front(); c;) {
        ColliderComponent3D* next = ColliderList::Next(c);
        c->SyncContacts();
        c = next;
    }

    // What the step limit leaves over is owed to the next frame, but never more than one
    // frame's worth of steps: on a machine slower than the limit, or after one long frame, the
    // world would otherwise run ahead for seconds to pay off a debt that only grows.
    m_accumulator += dt;
    unsigned stepsLeft = m_maxStepsPerFrame;
    const ZOR::float3 gravity = ToFloat3(m_gravity);
    while (m_accumulator >= m_timeStep && stepsLeft > 0) {
        --stepsLeft;
        m_world->SetGravity(gravity);
        m_world->Step(m_timeStep, m_velocityIterations, m_positionIteratoins);
        m_accumulator -= m_timeStep;
        ++m_stepsLastUpdate;
    }
    const float mostOwed = static_cast<float>(m_maxStepsPerFrame) * m_timeStep;
    if (!(m_accumulator <= mostOwed))
        m_accumulator = mostOwed;

    if (m_useDebugDraw)
        m_world->DebugDraw();

    for (RigidBodyComponent3D* r = m_rigidBodies.Front(); r;) {
        RigidBodyComponent3D* next = RigidBodyList::Next(r);
        r->SyncTransform();
        r = next;
    }
}

PhysicsRayCastResult3D PhysicsSystem3D::RayCast(const ZOR::float3& origin, const ZOR::float3& direction,
                                                float maxDistance)
{
    PhysicsRayCastResult3D result;
    if (!m_world)
        return result;
    RayCastResult3D hit;
    m_world->RayCast(hit, origin, direction, maxDistance);
    if (hit.m_hit && hit.m_collider) {
        result.hit = 1;
        result.collider = static_cast<ColliderComponent3D*>(hit.m_collider->m_userData);
        result.point = hit.m_point;
        result.normal = hit.m_normal;
    }
    return result;
}

void PhysicsSystem3D::QueryAABB(const Vec4& min, const Vec4& max, std::vector<ColliderComponent3D*>& out)
{
    if (!m_world)
        return;
    std::vector<Collider3D*> found;
    m_world->QueryAABB(ZOR::float3(min.x, min.y, min.z), ZOR::float3(max.x, max.y, max.z), found);
    out.reserve(out.size() + found.size());
    for (Collider3D* collider : found)
        out.push_back(static_cast<ColliderComponent3D*>(collider->m_userData));
}

} // namespace quellor
