#include "ai/steering/ArriveAtEntity.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(ArriveAtEntity, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

ArriveAtEntity::ArriveAtEntity(Entity* target_, float maxSpeed_, float slowRadius_) : target(target_), maxSpeed(maxSpeed_), slowRadius(slowRadius_) {}

void ArriveAtEntity::Calculate(SteeringOutput& out)
{
    Transform3D* goal = TargetTransform(target);
    if (!owner || !goal) {
        out.Reset();
        return;
    }
    out.linear = steering::Arrive(owner->GetPosition(), goal->GetPosition(), maxSpeed, slowRadius);
    out.angular = Quat();
}

SteeringBehavior* ArriveAtEntity::Clone() const
{
    return new ArriveAtEntity(*this);
}

} // namespace quellor
