#pragma once
// Steers a character motor towards a point (a path waypoint).
#include "ai/steering/MotorSeek.h"

namespace quellor {

class MotorSeekPosition : public MotorSeek {
public:
    explicit MotorSeekPosition(const Vec4& target);

    void Calculate(SteeringOutput& out) override;
    SteeringBehavior* Clone() const override;

    Vec4 target;
};

} // namespace quellor
