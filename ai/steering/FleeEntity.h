#pragma once
// Runs from an entity at maxSpeed.
#include "ai/steering/SteeringBehavior.h"

namespace quellor {

class Entity;

class FleeEntity : public SteeringBehavior {
    QUELLOR_REFLECT(FleeEntity)

    FleeEntity(Entity* target, float maxSpeed);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    float maxSpeed = 0.0f;
    EntityRef target;
};

} // namespace quellor
