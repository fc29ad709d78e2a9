#pragma once
// Heads for where an entity will be, from its body's linear velocity.
#include "ai/steering/SteeringBehavior.h"

namespace quellor {

class Entity;

class PursueEntity : public SteeringBehavior {
    QUELLOR_REFLECT(PursueEntity)

    PursueEntity(Entity* target, float maxSpeed);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    EntityRef target;
    float maxSpeed = 0.0f;
};

} // namespace quellor
