#include "physics/WaterPhysicsComponent.h"

#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"
#include "physics/WaterPhysicsSystem.h"

#include <algorithm>

namespace quellor {

QUELLOR_RECORD(WaterPhysicsComponent, Component, DerivedMetaNotPODNoCopy, WithID) {}

WaterPhysicsComponent::~WaterPhysicsComponent() = default;

void WaterPhysicsComponent::Initialize()
{
    if (Entity* entity = GetEntity()) {
        m_rigidBody = entity->GetComponent(RigidBodyComponent3D::ID);
        m_graphics = entity->GetComponent("GraphicsComponent3D");
    }
    m_system = WaterPhysicsSystem::Find(*this);
    if (m_system)
        m_system->m_bodies.push_back(this);
}

void WaterPhysicsComponent::Uninitialize()
{
    // Looked up again: the system may have gone before this component.
    m_system = WaterPhysicsSystem::Find(*this);
    if (!m_system)
        return;
    auto& bodies = m_system->m_bodies;
    auto found = std::find(bodies.begin(), bodies.end(), this);
    if (found != bodies.end())
        bodies.erase(found);
}

} // namespace quellor
