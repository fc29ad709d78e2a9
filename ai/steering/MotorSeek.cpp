#include "ai/steering/MotorSeek.h"

#include "ai/steering/Steering.h"
#include "engine/Entity.h"
#include "gameplay/CharacterMotor3D.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

void MotorSeek::SeekWithMotor(const Vec4& point, SteeringOutput& out) const
{
    RigidBodyComponent3D* body = LiveRigidBody();
    Entity* entity = body ? body->GetEntity() : nullptr;
    auto* motor = entity ? entity->GetComponent<CharacterMotor3D>() : nullptr;
    if (!motor) {
        out.Reset();
        return;
    }
    out.linear = steering::SeekMatchingVelocity(body->GetCenterOfMass(), motor->GetVelocity(), point, motor->GetSpeed());
    out.angular = Quat();
}

} // namespace quellor
