#pragma once
// Heads for a point at maxSpeed; the output is the change from the body's current velocity.
#include "ai/steering/SteeringBehavior.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class SeekPosition : public SteeringBehavior {
    QUELLOR_REFLECT(SeekPosition)

    SeekPosition(const Vec4& target, float maxSpeed);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    Vec4 target;
    float maxSpeed = 0.0f;
};

} // namespace quellor
