#include "physics/MassOverrideComponent.h"

#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/QuadColliderComponent3D.h"
#include "physics/SphereColliderComponent3D.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(MassOverrideComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_mass));
}

MassOverrideComponent::~MassOverrideComponent() = default;

Component* MassOverrideComponent::Clone() const
{
    return nullptr;
}

void MassOverrideComponent::Initialize()
{
    m_collider = nullptr;
    if (Entity* entity = GetEntity()) {
        for (const std::string* key : {&SphereColliderComponent3D::ID, &BoxColliderComponent3D::ID,
                                       &QuadColliderComponent3D::ID}) {
            m_collider = dynamic_cast<ColliderComponent3D*>(entity->GetComponent(*key));
            if (m_collider)
                break;
        }
    }
    std::printf("(MassOverrideComponent) Setting mass of collider to %f\n", static_cast<double>(m_mass));
    if (!m_collider)
        return;
    // A collider attached later takes the mass when it is above 0.
    m_collider->SetMass(m_mass);
}

void MassOverrideComponent::Uninitialize() {}

} // namespace quellor
