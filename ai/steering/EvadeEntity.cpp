#include "ai/steering/EvadeEntity.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

QUELLOR_RECORD(EvadeEntity, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

EvadeEntity::EvadeEntity(Entity* target_, float maxSpeed_) : target(target_), maxSpeed(maxSpeed_) {}

void EvadeEntity::Calculate(SteeringOutput& out)
{
    Transform3D* threat = TargetTransform(target);
    RigidBodyComponent3D* threatBody = TargetRigidBody(target);
    if (!owner || !threat || !threatBody) {
        out.Reset();
        return;
    }
    out.linear =
        steering::Evade(owner->GetPosition(), threat->GetPosition(), threatBody->GetLinearVelocity(), maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* EvadeEntity::Clone() const
{
    return new EvadeEntity(*this);
}

} // namespace quellor
