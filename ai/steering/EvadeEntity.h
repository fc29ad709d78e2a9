#pragma once
// Runs from where an entity will be, from its body's linear velocity.
#include "ai/steering/SteeringBehavior.h"

namespace quellor {

class Entity;

class EvadeEntity : public SteeringBehavior {
    QUELLOR_REFLECT(EvadeEntity)

    EvadeEntity(Entity* target, float maxSpeed);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    EntityRef target;
    float maxSpeed = 0.0f;
};

} // namespace quellor
