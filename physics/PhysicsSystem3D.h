#pragma once
// The engine system around the physics world: it keeps the rigid-body and collider components
// of its space, advances the world in fixed steps once a frame, switches debug drawing and
// answers ray and box queries for gameplay and AI.
#include "engine/IntrusiveList.h"
#include "engine/System.h"
#include "engine/reflection/Vec4.h"
#include "physics/ColliderComponent3D.h"
#include "physics/ContactListener3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/math/float3.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quellor {

class PhysicsWorld3D;

struct PhysicsRayCastResult3D {
    std::uint8_t hit = 0;
    ColliderComponent3D* collider = nullptr;
    ZOR::float3 point;
    ZOR::float3 normal;
};

class PhysicsSystem3D : public System {
    QUELLOR_REFLECT_KEYED(PhysicsSystem3D)

    // Contacts reach the components through their colliders, so it listens to nothing.
    class SystemContactListener : public ContactListener3D {
    public:
        explicit SystemContactListener(PhysicsSystem3D* system) : m_system(system) {}

    private:
        [[maybe_unused]] PhysicsSystem3D* m_system;
    };

    // Out of line: the world's type is complete only there.
    PhysicsSystem3D();
    PhysicsSystem3D(const PhysicsSystem3D&) = delete;
    PhysicsSystem3D& operator=(const PhysicsSystem3D&) = delete;
    ~PhysicsSystem3D() override;

    void Update(float dt) override;
    // A new world with a new listener; any previous world goes.
    void Initialize() override;
    void Shutdown() override;

    void AddRigidBody(RigidBodyComponent3D* component);
    void RemoveRigidBody(RigidBodyComponent3D* component);
    void AddCollider(ColliderComponent3D* component);
    void RemoveCollider(ColliderComponent3D* component);

    // The nearest solid hit within maxDistance along the direction; all zeros on a miss or
    // without a world.
    PhysicsRayCastResult3D RayCast(const ZOR::float3& origin, const ZOR::float3& direction, float maxDistance);
    // Appends the components of every collider (sensors too) whose box overlaps; out is kept.
    void QueryAABB(const Vec4& min, const Vec4& max, std::vector<ColliderComponent3D*>& out);

    void SetDebugDraw(bool on) { m_useDebugDraw = on; }
    void SetTimeStep(float step) { m_timeStep = step; }
    void SetMaxStepsPerFrame(unsigned char steps) { m_maxStepsPerFrame = steps; }
    void SetVelocityIterations(unsigned char iterations) { m_velocityIterations = iterations; }
    void SetPositionIterations(unsigned char iterations) { m_positionIteratoins = iterations; }
    PhysicsSystem3D* SetGravity(const Vec4& gravity);

    PhysicsWorld3D* GetWorld() const { return m_world.get(); }
    bool IsDebugDrawerInstalled() const { return m_debugDrawerInstalled; }
    // Test hooks: the time owed (at most m_maxStepsPerFrame steps' worth) and the steps the
    // last update took.
    float GetAccumulator() const { return m_accumulator; }
    unsigned GetStepsLastUpdate() const { return m_stepsLastUpdate; }

    using RigidBodyList = IntrusiveList<RigidBodyComponent3D, &RigidBodyComponent3D::m_systemLink>;
    using ColliderList = IntrusiveList<ColliderComponent3D, &ColliderComponent3D::m_systemLink>;
    const RigidBodyList& GetRigidBodies() const { return m_rigidBodies; }
    const ColliderList& GetColliders() const { return m_colliders; }

    bool m_useDebugDraw = false;
    float m_timeStep = 1.0f / 60.0f;
    unsigned char m_maxStepsPerFrame = 4;
    unsigned char m_velocityIterations = 12;
    unsigned char m_positionIteratoins = 12;
    Vec4 m_gravity;

private:
    void ReleaseWorld();
    // Installs or removes the drawer as m_useDebugDraw asks.
    void ToggleDebugDrawer();

    RigidBodyList m_rigidBodies;
    ColliderList m_colliders;
    bool m_debugDrawerInstalled = false;
    std::unique_ptr<PhysicsWorld3D> m_world;
    float m_accumulator = 0.0f;
    unsigned m_stepsLastUpdate = 0;
};

} // namespace quellor
