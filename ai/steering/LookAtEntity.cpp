#include "ai/steering/LookAtEntity.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(LookAtEntity, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

LookAtEntity::LookAtEntity(Entity* target_) : target(target_) {}

void LookAtEntity::Calculate(SteeringOutput& out)
{
    Transform3D* goal = TargetTransform(target);
    if (!owner || !goal || !steering::LookAtRotation(owner->GetPosition(), goal->GetPosition(), out.angular))
        out.Reset();
}

SteeringBehavior* LookAtEntity::Clone() const
{
    return new LookAtEntity(*this);
}

} // namespace quellor
