#pragma once
// Runs from a point at maxSpeed.
#include "ai/steering/SteeringBehavior.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class FleePosition : public SteeringBehavior {
    QUELLOR_REFLECT(FleePosition)

    FleePosition(const Vec4& target, float maxSpeed);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    Vec4 target;
    float maxSpeed = 0.0f;
};

} // namespace quellor
