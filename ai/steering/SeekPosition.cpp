#include "ai/steering/SeekPosition.h"

#include "ai/steering/Steering.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

QUELLOR_RECORD(SeekPosition, SteeringBehavior, DerivedMetaNotPODNoDef, NoID) {}

SeekPosition::SeekPosition(const Vec4& target_, float maxSpeed_) : target(target_), maxSpeed(maxSpeed_) {}

void SeekPosition::Calculate(SteeringOutput& out)
{
    RigidBodyComponent3D* body = LiveRigidBody();
    if (!owner || !body) {
        out.Reset();
        return;
    }
    out.linear = steering::SeekMatchingVelocity(owner->GetPosition(), body->GetLinearVelocity(), target, maxSpeed);
    out.angular = Quat();
}

SteeringBehavior* SeekPosition::Clone() const
{
    return new SeekPosition(*this);
}

} // namespace quellor
