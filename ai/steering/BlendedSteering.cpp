#include "ai/steering/BlendedSteering.h"

#include "ai/steering/Steering.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(BlendedSteering, NoBase, DerivedMetaNotPOD, NoID) {}

void BlendedSteering::Calculate(SteeringOutput& out)
{
    SteeringOutput scratch;
    for (const WeightedBehavior& child : behaviors) {
        if (!child.behavior)
            continue;
        child.behavior->Calculate(scratch);
        out.linear = steering::Add(out.linear, steering::Scale(scratch.linear, child.weight));
        // The angular part is weighted but never divided.
        out.angular = steering::Multiply(out.angular, steering::Scale(scratch.angular, child.weight));
    }
    if (divisor != 0.0f)
        out.linear = steering::Scale(out.linear, 1.0f / divisor);
}

SteeringBehavior* BlendedSteering::Clone() const
{
    return new BlendedSteering(*this);
}

} // namespace quellor
