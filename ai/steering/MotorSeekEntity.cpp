#include "ai/steering/MotorSeekEntity.h"

#include "physics/RigidBodyComponent3D.h"

namespace quellor {

MotorSeekEntity::MotorSeekEntity(Entity* target_) : target(target_) {}

void MotorSeekEntity::Calculate(SteeringOutput& out)
{
    RigidBodyComponent3D* goal = TargetRigidBody(target);
    if (!goal) {
        out.Reset();
        return;
    }
    SeekWithMotor(goal->GetCenterOfMass(), out);
}

SteeringBehavior* MotorSeekEntity::Clone() const
{
    return new MotorSeekEntity(*this);
}

} // namespace quellor
