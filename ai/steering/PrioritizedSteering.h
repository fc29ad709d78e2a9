#pragma once
// Adds its children in priority order until a force budget is spent: each child adds its
// weighted linear part while it fits into what is left of maxForce, else its unit direction
// times what is left (unweighted), and the children after the one that found nothing left are
// not computed.
#include "ai/steering/SteeringCombiner.h"

namespace quellor {

class PrioritizedSteering : public SteeringCombiner {
    QUELLOR_REFLECT(PrioritizedSteering)

    explicit PrioritizedSteering(float maxForce);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    // Adds one child's output to the total; false, with nothing added, when the budget is spent.
    bool AccumulateForce(const SteeringOutput& child, float weight, SteeringOutput& total) const;

    float maxForce = 0.0f;
};

} // namespace quellor
