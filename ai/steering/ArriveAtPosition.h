#pragma once
// Heads for a point, slowing down inside slowRadius of it.
#include "ai/steering/SteeringBehavior.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class ArriveAtPosition : public SteeringBehavior {
    QUELLOR_REFLECT(ArriveAtPosition)

    ArriveAtPosition(const Vec4& target, float maxSpeed, float slowRadius);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    Vec4 target;
    float maxSpeed = 0.0f;
    float slowRadius = 0.0f;
};

} // namespace quellor
