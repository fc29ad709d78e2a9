#pragma once
#include "engine/IntrusiveList.h"
#include "physics/BodyDescription3D.h"
#include "physics/Collider3D.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>

namespace quellor {

class PhysicsWorld3D;

// State flags of a body.
enum BodyStateFlags3D : std::uint8_t {
    kBodyAwake = 2,
};

// Shape flags of a body.
enum BodyShapeFlags3D : std::uint8_t {
    kShapeMassDirty = 1,
    kShapeAllowRotation = 2,
    kShapeHasGravity = 4,
};

// The simulation record of one body: motion type, mass summed from its colliders, pose,
// velocities and accumulators. Colliders read its position, rotation and inverse rotation.
class RigidBody3D {
public:
    explicit RigidBody3D(const BodyDescription3D& description);
    RigidBody3D(const RigidBody3D&) = delete;
    RigidBody3D& operator=(const RigidBody3D&) = delete;

    // Wakes the body.
    void SetPosition(const ZOR::float3& position);
    // Re-orthonormalises the given rotation; wakes the body.
    void SetOrientation(const ZOR::float3x3& rotation);
    // Makes the rotation orthonormal again and refreshes its inverse.
    void UpdateRotation();

    // Marks the mass data out of date without waking the body.
    void MarkMassDirty() { m_shapeFlags |= kShapeMassDirty; }
    bool IsMassClean() const { return (m_shapeFlags & kShapeMassDirty) == 0; }

    void Wake();

    void* m_userData;
    // Links by which the world holds the body: its body list, the island being built and the
    // queue that builds it.
    IntrusiveLink<RigidBody3D> m_worldLink;
    IntrusiveLink<RigidBody3D> m_islandLink;
    IntrusiveLink<RigidBody3D> m_queueLink;
    PhysicsWorld3D* m_world = nullptr;
    std::uint8_t m_motionType;
    std::uint8_t m_stateFlags = 0;
    float m_mass = 0.0f;
    float m_inverseMass = 0.0f;
    ZOR::float3x3 m_unitInertia;         // about the centre of mass, body frame, per unit of mass
    ZOR::float3x3 m_worldInverseInertia; // identity until the world step computes it
    float m_sleepTime = 0.0f;
    IntrusiveList<Collider3D, &Collider3D::m_bodyLink> m_colliders; // in attach order
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

} // namespace quellor
