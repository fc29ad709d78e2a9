#include "engine/graphics/PointLightComponent.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(PointLightComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_color));
    reg.Member(QL_FIELD(m_intensity));
    reg.Member(QL_FIELD(m_radius));
}

PointLightComponent::~PointLightComponent() = default;

Component* PointLightComponent::Clone() const
{
    auto* clone = new PointLightComponent;
    static_cast<Component&>(*clone) = *this;
    return clone;
}

void PointLightComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "PointLightComponent")) {
        graphics->RegisterPointLightComponent(this);
    }
}

void PointLightComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "PointLightComponent")) {
        graphics->UnregisterPointLightComponent(this);
    }
}

void PointLightComponent::SetColor(float r, float g, float b)
{
    m_color.x = r;
    m_color.y = g;
    m_color.z = b;
}

void PointLightComponent::Update(float dt)
{
    if (!m_transform) {
        m_transform = FindTransform3D(*this);
        return;
    }
    ZOR::PointLight::SetColor(m_color.x, m_color.y, m_color.z);
    ZOR::PointLight::SetPosition(m_transform->m_x, m_transform->m_y, m_transform->m_z);
    ZOR::PointLight::SetIntensity(m_intensity);
    ZOR::PointLight::SetRadius(m_radius);
    ZOR::PointLight::Update(dt);
    Invalidate();
}

} // namespace quellor
