#include "ai/steering/MotorSeekPosition.h"

namespace quellor {

MotorSeekPosition::MotorSeekPosition(const Vec4& target_) : target(target_) {}

void MotorSeekPosition::Calculate(SteeringOutput& out)
{
    SeekWithMotor(target, out);
}

SteeringBehavior* MotorSeekPosition::Clone() const
{
    return new MotorSeekPosition(*this);
}

} // namespace quellor
