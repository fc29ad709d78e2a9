#include "ai/steering/PursueEntity.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

QUELLOR_RECORD(PursueEntity, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

PursueEntity::PursueEntity(Entity* target_, float maxSpeed_) : target(target_), maxSpeed(maxSpeed_) {}

void PursueEntity::Calculate(SteeringOutput& out)
{
    Transform3D* goal = TargetTransform(target);
    RigidBodyComponent3D* goalBody = TargetRigidBody(target);
    if (!owner || !goal || !goalBody) {
        out.Reset();
        return;
    }
    out.linear = steering::Pursue(owner->GetPosition(), goal->GetPosition(), goalBody->GetLinearVelocity(), maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* PursueEntity::Clone() const
{
    return new PursueEntity(*this);
}

} // namespace quellor
