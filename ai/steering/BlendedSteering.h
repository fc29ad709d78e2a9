#pragma once
// Sums its children: the linear parts weighted and divided by divisor (when not 0), the angular
// parts weighted and chained by the Hamilton product. One scratch output serves every child and
// is not reset between them, so a child that writes one part only (LookAt) leaves the other
// part of the child before it in place.
#include "ai/steering/SteeringCombiner.h"

namespace quellor {

class BlendedSteering : public SteeringCombiner {
    QUELLOR_REFLECT(BlendedSteering)

    BlendedSteering() = default;

    // Adds onto out, which the caller has reset.
    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    float divisor = 0.0f;
};

} // namespace quellor
