#pragma once
// Faces a point across the ground: only the angular part is written.
#include "ai/steering/SteeringBehavior.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class LookAtPosition : public SteeringBehavior {
    QUELLOR_REFLECT(LookAtPosition)

    explicit LookAtPosition(const Vec4& target);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    Vec4 target;
};

} // namespace quellor
