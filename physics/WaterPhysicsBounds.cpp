#include "physics/WaterPhysicsBounds.h"

#include "engine/reflection/MetaRegistrar.h"
#include "physics/WaterPhysicsSystem.h"

namespace quellor {

QUELLOR_RECORD(WaterPhysicsBounds, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(lowX));
    reg.Member(QL_FIELD(lowY));
    reg.Member(QL_FIELD(lowZ));
    reg.Member(QL_FIELD(highX));
    reg.Member(QL_FIELD(highY));
    reg.Member(QL_FIELD(highZ));
}

WaterPhysicsBounds::~WaterPhysicsBounds() = default;

void WaterPhysicsBounds::Initialize()
{
    m_system = WaterPhysicsSystem::Find(*this);
    if (m_system)
        m_system->m_bounds = this;
}

void WaterPhysicsBounds::Uninitialize()
{
    // Looked up again: the system may have gone before this component.
    m_system = WaterPhysicsSystem::Find(*this);
    if (m_system)
        m_system->m_bounds = nullptr;
}

} // namespace quellor
