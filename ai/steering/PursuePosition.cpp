#include "ai/steering/PursuePosition.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(PursuePosition, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

PursuePosition::PursuePosition(const Vec4& target_, const Vec4& targetVelocity_, float maxSpeed_) : target(target_), targetVelocity(targetVelocity_), maxSpeed(maxSpeed_) {}

void PursuePosition::Calculate(SteeringOutput& out)
{
    if (!owner) {
        out.Reset();
        return;
    }
    out.linear = steering::Pursue(owner->GetPosition(), target, targetVelocity, maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* PursuePosition::Clone() const
{
    return new PursuePosition(*this);
}

} // namespace quellor
