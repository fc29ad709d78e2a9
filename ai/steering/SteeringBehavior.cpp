#include "ai/steering/SteeringBehavior.h"

#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

QUELLOR_RECORD(SteeringBehavior, NoBase, DerivedMetaNotPOD, NoID) {}

namespace {

RigidBodyComponent3D* WithBody(RigidBodyComponent3D* component)
{
    return component && component->GetBody() ? component : nullptr;
}

} // namespace

SteeringBehavior::~SteeringBehavior() = default;

void SteeringBehavior::Calculate(SteeringOutput&) {}

void SteeringBehavior::PropagateOwner() {}

SteeringBehavior* SteeringBehavior::Clone() const
{
    return new SteeringBehavior(*this);
}

RigidBodyComponent3D* SteeringBehavior::LiveRigidBody() const
{
    return WithBody(rigidBody);
}

Transform3D* SteeringBehavior::TargetTransform(const EntityRef& target)
{
    Entity* entity = target.Get();
    return entity ? entity->GetComponent<Transform3D>() : nullptr;
}

RigidBodyComponent3D* SteeringBehavior::TargetRigidBody(const EntityRef& target)
{
    Entity* entity = target.Get();
    return entity ? WithBody(entity->GetComponent<RigidBodyComponent3D>()) : nullptr;
}

} // namespace quellor
