#include "ai/steering/LookAtPosition.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(LookAtPosition, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

LookAtPosition::LookAtPosition(const Vec4& target_) : target(target_) {}

void LookAtPosition::Calculate(SteeringOutput& out)
{
    if (!owner || !steering::LookAtRotation(owner->GetPosition(), target, out.angular))
        out.Reset();
}

SteeringBehavior* LookAtPosition::Clone() const
{
    return new LookAtPosition(*this);
}

} // namespace quellor
