#include "ai/steering/SteeringComponent.h"

#include "ai/AISystem.h"
#include "ai/steering/SteeringBehavior.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(SteeringComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Method(QL_METHOD(Update));
}

SteeringComponent::~SteeringComponent()
{
    delete m_behavior;
}

void SteeringComponent::Initialize()
{
    Entity* entity = GetEntity();
    m_transform = entity ? entity->GetComponent<Transform3D>() : nullptr;
    if (AISystem* system = GetSystem<AISystem>()) {
        system->RegisterSteeringComponent(this);
        return;
    }
    std::printf("Warning: no AISystem in the space of \"%s\"; its SteeringComponent is not stepped\n",
                entity ? entity->GetName().c_str() : "?");
}

void SteeringComponent::Uninitialize()
{
    ClearBehavior();
    if (AISystem* system = GetSystem<AISystem>())
        system->UnregisterSteeringComponent(this);
    m_aiLink.Unlink();
}

void SteeringComponent::DebugDraw(ZOR::DebugDrawer*) {}

Transform3D* SteeringComponent::OwnerTransform() const
{
    if (m_transform)
        return m_transform;
    Entity* entity = GetEntity();
    return entity ? entity->GetComponent<Transform3D>() : nullptr;
}

void SteeringComponent::SetBehavior(SteeringBehavior* behavior)
{
    // The current behaviour given again stays; deleting it first would leave it dangling.
    if (behavior != m_behavior) {
        delete m_behavior;
        m_behavior = behavior;
    }
    if (!m_behavior)
        return;
    m_behavior->SetOwner(OwnerTransform());
    m_behavior->SetRigidBody(GetRigidBody());
    m_behavior->PropagateOwner();
}

void SteeringComponent::ClearBehavior()
{
    delete m_behavior;
    m_behavior = nullptr;
}

void SteeringComponent::Update(float)
{
    m_output.Reset();
    if (m_behavior)
        m_behavior->Calculate(m_output);
}

bool SteeringComponent::IsWithinRadiusSquared(const Vec4& point, float r2) const
{
    RigidBodyComponent3D* body = GetRigidBody();
    if (!body || !body->GetBody())
        return false;
    const Vec4 c = body->GetCenterOfMass();
    const float dx = point.x - c.x;
    const float dz = point.z - c.z;
    return r2 >= dx * dx + dz * dz;
}

} // namespace quellor
