#pragma once
// Base of the two seeks that steer a character: the steered entity's CharacterMotor3D heads
// for a point at the motor's own speed (m_speed), and the output is the change from the motor's
// velocity. The computer players' behaviour leaves build them in code; they have no record.
#include "ai/steering/SteeringBehavior.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class MotorSeek : public SteeringBehavior {
protected:
    // The seek from the steered body's centre of mass to the point; the zero output when the
    // steered entity has no body or no motor.
    void SeekWithMotor(const Vec4& point, SteeringOutput& out) const;
};

} // namespace quellor
