#include "ai/steering/FleePosition.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(FleePosition, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

FleePosition::FleePosition(const Vec4& target_, float maxSpeed_) : target(target_), maxSpeed(maxSpeed_) {}

void FleePosition::Calculate(SteeringOutput& out)
{
    if (!owner) {
        out.Reset();
        return;
    }
    out.linear = steering::Flee(owner->GetPosition(), target, maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* FleePosition::Clone() const
{
    return new FleePosition(*this);
}

} // namespace quellor
