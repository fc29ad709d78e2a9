#pragma once
// Heads for an entity, slowing down inside slowRadius of it.
#include "ai/steering/SteeringBehavior.h"

namespace quellor {

class Entity;

class ArriveAtEntity : public SteeringBehavior {
    QUELLOR_REFLECT(ArriveAtEntity)

    ArriveAtEntity(Entity* target, float maxSpeed, float slowRadius);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    EntityRef target;
    float maxSpeed = 0.0f;
    float slowRadius = 0.0f;
};

} // namespace quellor
