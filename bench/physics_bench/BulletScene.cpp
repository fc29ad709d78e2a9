#include "BulletScene.h"

#include <BulletCollision/NarrowPhaseCollision/btRaycastCallback.h>
#include <btBulletDynamicsCommon.h>

namespace tarselbench {

using quellor::scenes::SceneBody3D;
using quellor::scenes::SceneShape3D;

namespace {

btVector3 ToBullet(const ZOR::float3& v)
{
    return btVector3(v.x, v.y, v.z);
}

btMatrix3x3 ToBullet(const ZOR::float3x3& m)
{
    return btMatrix3x3(m.m[0], m.m[1], m.m[2], m.m[3], m.m[4], m.m[5], m.m[6], m.m[7], m.m[8]);
}

} // namespace

BulletScene::BulletScene(const quellor::scenes::Scene3D& scene, bool treeBroadphase)
    : m_configuration(std::make_unique<btDefaultCollisionConfiguration>()),
      m_dispatcher(std::make_unique<btCollisionDispatcher>(m_configuration.get()))
{
    if (treeBroadphase)
        m_broadphase = std::make_unique<btDbvtBroadphase>();
    else
        m_broadphase = std::make_unique<btSimpleBroadphase>(static_cast<int>(scene.bodies.size()) + 16);
    m_solver = std::make_unique<btSequentialImpulseConstraintSolver>();
    m_world = std::make_unique<btDiscreteDynamicsWorld>(m_dispatcher.get(), m_broadphase.get(), m_solver.get(),
                                                        m_configuration.get());
    m_world->setGravity(btVector3(0, -10, 0));
    m_world->getSolverInfo().m_numIterations = 12;
    gDeactivationTime = 2.0f;

    for (const SceneBody3D& body : scene.bodies) {
        btCollisionShape* shape = nullptr;
        float volume = 0.0f;
        if (body.shape == SceneShape3D::Sphere) {
            shape = new btSphereShape(body.radius);
            volume = 4.18879f * body.radius * body.radius * body.radius;
        } else {
            shape = new btBoxShape(ToBullet(body.halfExtents));
            volume = 8.0f * body.halfExtents.x * body.halfExtents.y * body.halfExtents.z;
        }
        const bool dynamic = body.motionType == quellor::kBodyDynamic;
        const float mass = dynamic ? body.density * volume : 0.0f;
        btVector3 inertia(0, 0, 0);
        if (dynamic)
            shape->calculateLocalInertia(mass, inertia);
        const btTransform pose(ToBullet(body.rotation), ToBullet(body.position));
        btRigidBody::btRigidBodyConstructionInfo info(mass, new btDefaultMotionState(pose), shape, inertia);
        info.m_friction = body.friction;
        info.m_restitution = body.restitution;
        info.m_linearDamping = 0.025f;
        info.m_angularDamping = 0.025f;
        info.m_linearSleepingThreshold = 0.25f;
        info.m_angularSleepingThreshold = 0.25f;
        auto* rigid = new btRigidBody(info);
        m_world->addRigidBody(rigid);
        m_bodies.push_back(rigid);
    }
}

BulletScene::~BulletScene()
{
    for (btRigidBody* body : m_bodies) {
        m_world->removeRigidBody(body);
        delete body->getMotionState();
        delete body->getCollisionShape();
        delete body;
    }
}

void BulletScene::Step(float dt)
{
    // No sub-stepping: exactly one step of dt per call.
    m_world->stepSimulation(dt, 0);
}

bool BulletScene::AllAsleep() const
{
    for (const btRigidBody* body : m_bodies) {
        if (!body->isStaticObject() && body->getActivationState() != ISLAND_SLEEPING)
            return false;
    }
    return true;
}

ZOR::float3 BulletScene::Position(std::size_t body) const
{
    const btVector3& p = m_bodies[body]->getWorldTransform().getOrigin();
    return ZOR::float3(p.x(), p.y(), p.z());
}

bool BulletScene::RayCast(const quellor::scenes::SceneRay3D& ray) const
{
    const btVector3 from = ToBullet(ray.origin);
    const btVector3 to = ToBullet(ray.origin + ray.direction * ray.maxDistance);
    btCollisionWorld::ClosestRayResultCallback callback(from, to);
    // The default sub-simplex cast also reports rays that pass within its tolerance of an edge;
    // the GJK cast stops at the box itself (whose corners Bullet rounds by its collision margin).
    callback.m_flags |= btTriangleRaycastCallback::kF_UseGjkConvexCastRaytest;
    m_world->rayTest(from, to, callback);
    return callback.hasHit();
}

} // namespace tarselbench
