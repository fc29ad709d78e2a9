#pragma once
#include "engine/IntrusiveList.h"
#include "physics/BodyDescription3D.h"
#include "physics/BodyPairEdge3D.h"
#include "physics/Collider3D.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>

namespace quellor {

class PhysicsDebugDraw3D;
class PhysicsWorld3D;
struct ColliderDescription3D;

// State flags of a body.
enum BodyStateFlags3D : std::uint8_t {
    kBodyInIsland = 1, // reached by island building in this step
    kBodyAwake = 2,
    kBodyMaySleep = 4, // nothing attached forbids sleeping
};

// Shape flags of a body.
enum BodyShapeFlags3D : std::uint8_t {
    kShapeMassDirty = 1,
    kShapeAllowRotation = 2,
    kShapeHasGravity = 4,
};

// Debug-draw colours (ARGB).
enum BodyDebugColours3D : std::uint32_t {
    kBodyColourAsleep = 0xFF808080u,
    kBodyColourStatic = 0xFF00A000u,
    kBodyColourDynamic = 0xFFFFFFFFu,
    kBodyColourFixed = 0xFF00FFFFu,
    kBodyColourSensor = 0xFFC00000u,
};

// The simulation record of one body: motion type, mass summed from its colliders, pose,
// velocities and accumulators. It owns its colliders; the world owns the body.
class RigidBody3D {
public:
    explicit RigidBody3D(const BodyDescription3D& description);
    // Removes colliders from the head of the list until none is left: a mesh collider's
    // teardown removes its pieces, which follow it, so no saved next pointer survives that.
    ~RigidBody3D();
    RigidBody3D(const RigidBody3D&) = delete;
    RigidBody3D& operator=(const RigidBody3D&) = delete;

    // Builds a collider on this body from the world's pools and enters it into the broadphase.
    // Null for a description no collider can be built from, or for a body outside a world.
    Collider3D* AddCollider(const ColliderDescription3D& description);
    // Leaves the mass data as it is; the caller marks it when needed.
    void RemoveCollider(Collider3D* collider);

    // World force at a world point; wakes the body.
    void ApplyForceAtPoint(const ZOR::float3& force, const ZOR::float3& point);
    void SetLinearVelocity(const ZOR::float3& velocity);
    void SetAngularVelocity(const ZOR::float3& velocity);
    void SetAllowRotation(bool allow);
    void SetHasGravity(bool hasGravity);
    // True wakes; false only clears the awake bit and keeps the sleep time.
    void SetAwake(bool awake);
    // Wakes the body.
    void SetPosition(const ZOR::float3& position);
    // Re-orthonormalises the given rotation; wakes the body.
    void SetOrientation(const ZOR::float3x3& rotation);

    // Marks the mass data out of date without waking the body.
    void MarkMassDirty() { m_shapeFlags |= kShapeMassDirty; }
    bool IsMassClean() const { return (m_shapeFlags & kShapeMassDirty) == 0; }
    bool IsAwake() const { return (m_stateFlags & kBodyAwake) != 0; }
    BodyPairEdgeList3D& GetEdges() { return m_edges; }

    // Sums mass, centre and unit inertia from the colliders.
    void ComputeMass();
    // ComputeMass, then the world centre of mass; the mass data is clean afterwards.
    void UpdateMassProperties();
    // Makes the rotation orthonormal again and refreshes its inverse.
    void UpdateRotation();
    // Position from the world centre of mass.
    void UpdatePosition();
    void UpdateWorldInverseInertia();
    void UpdateColliderBounds();
    void IntegratePosition(float dt);
    void DebugDraw(PhysicsDebugDraw3D& drawer) const;

    void Wake();

    void* m_userData;
    IntrusiveLink<RigidBody3D> m_worldLink;  // the world's body list
    IntrusiveLink<RigidBody3D> m_islandLink; // the island being built
    IntrusiveLink<RigidBody3D> m_queueLink;  // the island search's queue
    BodyPairEdgeList3D m_edges;
    PhysicsWorld3D* m_world = nullptr;
    std::uint8_t m_motionType;
    std::uint8_t m_stateFlags = 0;
    float m_mass = 0.0f;
    float m_inverseMass = 0.0f;
    ZOR::float3x3 m_unitInertia;         // about the centre of mass, body frame, per unit of mass
    ZOR::float3x3 m_worldInverseInertia; // identity until the world step computes it
    float m_sleepTime = 0.0f;
    ColliderList3D m_colliders; // in attach order
    std::uint8_t m_shapeFlags;
    ZOR::float3 m_localCenterOfMass;
    ZOR::float3 m_worldCenterOfMass;
    ZOR::float3 m_position;
    ZOR::float3 m_linearVelocity;
    ZOR::float3x3 m_rotation;
    ZOR::float3x3 m_inverseRotation;
    ZOR::float3 m_angularVelocity;
    ZOR::float3 m_linearImpulse;
    ZOR::float3 m_angularImpulse;
    ZOR::float3 m_force;
    ZOR::float3 m_torque;
};

using RigidBodyList3D = IntrusiveList<RigidBody3D, &RigidBody3D::m_worldLink>;

} // namespace quellor
