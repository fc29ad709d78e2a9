#pragma once
#include "tests/support/PhysicsScenes3D.h"

#include <memory>
#include <vector>

class btBroadphaseInterface;
class btCollisionDispatcher;
class btDefaultCollisionConfiguration;
class btDiscreteDynamicsWorld;
class btRigidBody;
class btSequentialImpulseConstraintSolver;

namespace tarselbench {

// A scene of the shared scene builder built in a Bullet discrete dynamics world with the
// settings our world runs with: 12 solver iterations, gravity -10, friction 1 and restitution
// 0.4 on every body, sleeping after 2 s below 0.25/0.25, damping 0.025, one step of dt per call.
class BulletScene {
public:
    BulletScene(const quellor::scenes::Scene3D& scene, bool treeBroadphase);
    ~BulletScene();
    BulletScene(const BulletScene&) = delete;
    BulletScene& operator=(const BulletScene&) = delete;

    void Step(float dt);
    bool AllAsleep() const;
    ZOR::float3 Position(std::size_t body) const;
    // True when the ray hits anything within maxDistance.
    bool RayCast(const quellor::scenes::SceneRay3D& ray) const;
    // For peers that add objects of their own to the same scene.
    btDiscreteDynamicsWorld* World() const { return m_world.get(); }

private:
    std::unique_ptr<btDefaultCollisionConfiguration> m_configuration;
    std::unique_ptr<btCollisionDispatcher> m_dispatcher;
    std::unique_ptr<btBroadphaseInterface> m_broadphase;
    std::unique_ptr<btSequentialImpulseConstraintSolver> m_solver;
    std::unique_ptr<btDiscreteDynamicsWorld> m_world;
    std::vector<btRigidBody*> m_bodies;
};

} // namespace tarselbench
