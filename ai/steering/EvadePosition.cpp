#include "ai/steering/EvadePosition.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(EvadePosition, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

EvadePosition::EvadePosition(const Vec4& target_, const Vec4& targetVelocity_, float maxSpeed_) : target(target_), targetVelocity(targetVelocity_), maxSpeed(maxSpeed_) {}

void EvadePosition::Calculate(SteeringOutput& out)
{
    if (!owner) {
        out.Reset();
        return;
    }
    out.linear = steering::Evade(owner->GetPosition(), target, targetVelocity, maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* EvadePosition::Clone() const
{
    return new EvadePosition(*this);
}

} // namespace quellor
