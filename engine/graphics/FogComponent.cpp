#include "engine/graphics/FogComponent.h"

#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(FogComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_globalDensity));
    reg.Member(QL_FIELD(m_heightDensity));
    reg.Member(QL_FIELD(m_heightFalloff));
    reg.Member(QL_FIELD(m_color));
}

FogComponent::~FogComponent() = default;

Component* FogComponent::Clone() const
{
    return new FogComponent(*this);
}

void FogComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "FogComponent")) {
        graphics->RegisterFogComponent(this);
    }
}

void FogComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "FogComponent")) {
        graphics->UnregisterFogComponent(this);
    }
}

void FogComponent::Update(float)
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "FogComponent")) {
        graphics->SetFogColor(m_color.x, m_color.y, m_color.z);
        graphics->SetFogProperties(m_globalDensity, m_heightDensity, m_heightFalloff);
    }
}

} // namespace quellor
