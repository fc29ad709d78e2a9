#pragma once
// Faces an entity across the ground: only the angular part is written.
#include "ai/steering/SteeringBehavior.h"

namespace quellor {

class Entity;

class LookAtEntity : public SteeringBehavior {
    QUELLOR_REFLECT(LookAtEntity)

    explicit LookAtEntity(Entity* target);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    EntityRef target;
};

} // namespace quellor
