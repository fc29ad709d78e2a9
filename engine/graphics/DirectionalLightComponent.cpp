#include "engine/graphics/DirectionalLightComponent.h"

#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(DirectionalLightComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_direction));
    reg.Member(QL_FIELD(m_color));
}

DirectionalLightComponent::~DirectionalLightComponent() = default;

Component* DirectionalLightComponent::Clone() const
{
    return new DirectionalLightComponent(*this);
}

void DirectionalLightComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "DirectionalLightComponent")) {
        graphics->RegisterDirectionalLightComponent(this);
    }
}

void DirectionalLightComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "DirectionalLightComponent")) {
        graphics->UnregisterDirectionalLightComponent(this);
    }
}

void DirectionalLightComponent::Update(float)
{
    SetDirection(m_direction.x, m_direction.y, m_direction.z);
    SetColor(m_color.x, m_color.y, m_color.z);
}

} // namespace quellor
