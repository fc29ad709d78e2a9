#include "ai/steering/FleeEntity.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(FleeEntity, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

FleeEntity::FleeEntity(Entity* target_, float maxSpeed_) : maxSpeed(maxSpeed_), target(target_) {}

void FleeEntity::Calculate(SteeringOutput& out)
{
    Transform3D* threat = TargetTransform(target);
    if (!owner || !threat) {
        out.Reset();
        return;
    }
    out.linear = steering::Flee(owner->GetPosition(), threat->GetPosition(), maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* FleeEntity::Clone() const
{
    return new FleeEntity(*this);
}

} // namespace quellor
