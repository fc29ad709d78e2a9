#include "ai/steering/SeekEntity.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(SeekEntity, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

SeekEntity::SeekEntity(Entity* target_, float maxSpeed_) : target(target_), maxSpeed(maxSpeed_) {}

void SeekEntity::Calculate(SteeringOutput& out)
{
    Transform3D* goal = TargetTransform(target);
    if (!owner || !goal) {
        out.Reset();
        return;
    }
    out.linear = steering::Seek(owner->GetPosition(), goal->GetPosition(), maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* SeekEntity::Clone() const
{
    return new SeekEntity(*this);
}

} // namespace quellor
