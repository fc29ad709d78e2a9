#pragma once
// Base of the steering behaviours: turns where the steered entity should go or face into a
// SteeringOutput. A behaviour belongs to one SteeringComponent (or one combining behaviour),
// which gives it the entity's Transform3D and RigidBodyComponent3D. The base computes nothing.
//
// A behaviour whose inputs are missing writes the zero output: no owner transform, no rigid
// body where one is read, a target entity that is gone or lacks the component read. A rigid
// body component without a body (no physics system) counts as missing: its getters but
// GetType and GetLinearVelocity need the body.
#include "ai/steering/SteeringOutput.h"
#include "engine/EntityRef.h"
#include "engine/reflection/Reflected.h"

namespace quellor {

class RigidBodyComponent3D;
class Transform3D;

class SteeringBehavior {
    QUELLOR_REFLECT_ROOT(SteeringBehavior)

    SteeringBehavior() = default;
    SteeringBehavior(const SteeringBehavior&) = default;
    SteeringBehavior& operator=(const SteeringBehavior&) = default;
    virtual ~SteeringBehavior();

    virtual void Calculate(SteeringOutput& out);
    // Hands owner and body on to children; leaves have none.
    virtual void PropagateOwner();
    // A copy of the same class, so that combiners copy their children.
    virtual SteeringBehavior* Clone() const;

    void SetOwner(Transform3D* transform) { owner = transform; }
    void SetRigidBody(RigidBodyComponent3D* body) { rigidBody = body; }

    // The steered entity's own components, not owned.
    Transform3D* owner = nullptr;
    RigidBodyComponent3D* rigidBody = nullptr;

protected:
    // The steered entity's rigid body component when it has a body; null otherwise.
    RigidBodyComponent3D* LiveRigidBody() const;
    // The target entity's Transform3D, or null when the entity is gone or has none.
    static Transform3D* TargetTransform(const EntityRef& target);
    // The target entity's rigid body component when it has a body; null otherwise.
    static RigidBodyComponent3D* TargetRigidBody(const EntityRef& target);
};

} // namespace quellor
