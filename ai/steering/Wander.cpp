#include "ai/steering/Wander.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Wander, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

Wander::Wander(float maxAngle_) : maxAngle(maxAngle_) {}

void Wander::Calculate(SteeringOutput& out)
{
    if (owner)
        steering::WanderTurn(owner->m_rotation, maxAngle);
    out.Reset();
}

SteeringBehavior* Wander::Clone() const
{
    return new Wander(*this);
}

} // namespace quellor
