#include "ai/steering/ArriveAtPosition.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(ArriveAtPosition, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

ArriveAtPosition::ArriveAtPosition(const Vec4& target_, float maxSpeed_, float slowRadius_) : target(target_), maxSpeed(maxSpeed_), slowRadius(slowRadius_) {}

void ArriveAtPosition::Calculate(SteeringOutput& out)
{
    if (!owner) {
        out.Reset();
        return;
    }
    out.linear = steering::Arrive(owner->GetPosition(), target, maxSpeed, slowRadius);
    out.angular = Quat();
}

SteeringBehavior* ArriveAtPosition::Clone() const
{
    return new ArriveAtPosition(*this);
}

} // namespace quellor
