#include "engine/graphics/DecalComponent.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(DecalComponent, Component, DerivedMetaNotPOD, WithID)
{
    // The texture name lives in the renderer's decal.
    reg.MemberAt("m_texture", [](DecalComponent& c) -> std::string& {
        return const_cast<std::string&>(c.GetTexture());
    }).Extension(".dds");
    reg.Member(QL_FIELD(m_alpha));
}

DecalComponent::~DecalComponent() = default;

Component* DecalComponent::Clone() const
{
    auto* clone = new DecalComponent(*this);
    clone->m_transform = nullptr;
    return clone;
}

void DecalComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "DecalComponent")) {
        graphics->RegisterDecalComponent(this);
    }
}

void DecalComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "DecalComponent")) {
        graphics->UnregisterDecalComponent(this);
    }
}

void DecalComponent::Update(float dt)
{
    if (!m_transform && !(m_transform = FindTransform3D(*this))) {
        return;
    }
    m_position = ZOR::float3(m_transform->m_x, m_transform->m_y, m_transform->m_z);
    m_scale = ZOR::float3(m_transform->m_scaleX, m_transform->m_scaleY, m_transform->m_scaleZ);
    SetAlpha(m_alpha);
    ZOR::Decal::Update(dt);
    Invalidate();
}

} // namespace quellor
