#pragma once
// Steers a character motor towards another entity's centre of mass (a chased player). A target
// that is gone, or has no body, gives the zero output.
#include "ai/steering/MotorSeek.h"

namespace quellor {

class Entity;

class MotorSeekEntity : public MotorSeek {
public:
    explicit MotorSeekEntity(Entity* target);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    EntityRef target;
};

} // namespace quellor
