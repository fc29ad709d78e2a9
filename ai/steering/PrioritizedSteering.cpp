#include "ai/steering/PrioritizedSteering.h"

#include "ai/steering/Steering.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(PrioritizedSteering, NoBase, DerivedMetaNotPODNoDef, NoID) {}

PrioritizedSteering::PrioritizedSteering(float maxForce_) : maxForce(maxForce_) {}

void PrioritizedSteering::Calculate(SteeringOutput& out)
{
    out.Reset();
    SteeringOutput scratch;
    for (const WeightedBehavior& child : behaviors) {
        if (!child.behavior)
            continue;
        child.behavior->Calculate(scratch);
        if (!AccumulateForce(scratch, child.weight, out))
            return;
    }
}

bool PrioritizedSteering::AccumulateForce(const SteeringOutput& child, float weight, SteeringOutput& total) const
{
    const float remaining = maxForce - steering::Length(total.linear);
    if (remaining <= 0.0f)
        return false;
    if (remaining > steering::Length(child.linear))
        total.linear = steering::Add(total.linear, steering::Scale(child.linear, weight));
    else
        total.linear = steering::Add(total.linear, steering::Scale(steering::Normalize(child.linear), remaining));
    total.angular = steering::Multiply(total.angular, steering::Scale(child.angular, weight));
    return true;
}

SteeringBehavior* PrioritizedSteering::Clone() const
{
    return new PrioritizedSteering(*this);
}

} // namespace quellor
