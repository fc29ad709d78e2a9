#pragma once
// Turns the owner's Transform3D rotation about its x axis by a random angle of up to
// maxAngle either way at every call; the output itself is zero.
#include "ai/steering/SteeringBehavior.h"

namespace quellor {

class Wander : public SteeringBehavior {
    QUELLOR_REFLECT(Wander)

    explicit Wander(float maxAngle);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    float maxAngle = 0.0f;
};

} // namespace quellor
