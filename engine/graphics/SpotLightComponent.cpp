#include "engine/graphics/SpotLightComponent.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(SpotLightComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_direction));
    reg.Member(QL_FIELD(m_color));
    reg.Member(QL_FIELD(m_radius));
    reg.Member(QL_FIELD(m_innerAlpha));
    reg.Member(QL_FIELD(m_outerAlpha));
    reg.Member(QL_FIELD(m_intensity));
}

SpotLightComponent::~SpotLightComponent() = default;

Component* SpotLightComponent::Clone() const
{
    auto* clone = new SpotLightComponent;
    static_cast<Component&>(*clone) = *this;
    return clone;
}

void SpotLightComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "SpotLightComponent")) {
        graphics->RegisterSpotLightComponent(this);
    }
}

void SpotLightComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "SpotLightComponent")) {
        graphics->UnregisterSpotLightComponent(this);
    }
}

void SpotLightComponent::Update(float dt)
{
    if (!m_transform) {
        m_transform = FindTransform3D(*this);
        return;
    }
    SetColor(m_color.x, m_color.y, m_color.z);
    SetPosition(m_transform->m_x, m_transform->m_y, m_transform->m_z);
    SetDirection(m_direction.x, m_direction.y, m_direction.z);
    SetIntensity(m_intensity);
    SetRadius(m_radius);
    SetConeAngles(m_innerAlpha, m_outerAlpha);
    ZOR::SpotLight::Update(dt);
    Invalidate();
}

} // namespace quellor
