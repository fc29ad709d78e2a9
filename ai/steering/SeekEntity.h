#pragma once
// Heads for an entity at maxSpeed.
#include "ai/steering/SteeringBehavior.h"

namespace quellor {

class Entity;

class SeekEntity : public SteeringBehavior {
    QUELLOR_REFLECT(SeekEntity)

    SeekEntity(Entity* target, float maxSpeed);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    EntityRef target;
    float maxSpeed = 0.0f;
};

} // namespace quellor
