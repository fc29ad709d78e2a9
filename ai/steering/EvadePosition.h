#pragma once
// Runs from where a point moving at targetVelocity will be.
#include "ai/steering/SteeringBehavior.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class EvadePosition : public SteeringBehavior {
    QUELLOR_REFLECT(EvadePosition)

    EvadePosition(const Vec4& target, const Vec4& targetVelocity, float maxSpeed);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    Vec4 target;
    Vec4 targetVelocity;
    float maxSpeed = 0.0f;
};

} // namespace quellor
