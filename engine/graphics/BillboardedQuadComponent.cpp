#include "engine/graphics/BillboardedQuadComponent.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/VisibilityMembers.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(BillboardedQuadComponent, Component, DerivedMetaNotPOD, WithID)
{
    auto material = reg.Member(QL_FIELD(m_materialName)).Extension(".mat");
    RegisterVisibilityMembers(reg);
    material.Setter(QL_METHOD(SetMaterial));
}

BillboardedQuadComponent::~BillboardedQuadComponent() = default;

Component* BillboardedQuadComponent::Clone() const
{
    auto* clone = new BillboardedQuadComponent(*this);
    clone->m_transform = nullptr;
    return clone;
}

void BillboardedQuadComponent::Initialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "BillboardedQuadComponent")) {
        graphics->RegisterBillboardedQuadComponent(this);
    }
    SetMaterial(m_materialName);
}

void BillboardedQuadComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "BillboardedQuadComponent")) {
        graphics->UnregisterBillboardedQuadComponent(this);
    }
}

void BillboardedQuadComponent::SetMaterial(const std::string& name)
{
    if (&name != &m_materialName) {
        m_materialName = name;
    }
    ZOR::BillboardedQuad::SetMaterial(name);
}

void BillboardedQuadComponent::Update(float dt)
{
    if (!m_transform && !(m_transform = FindTransform3D(*this))) {
        return;
    }
    SetPosition(m_transform->m_x, m_transform->m_y, m_transform->m_z);
    SetScale(m_transform->m_scaleX, m_transform->m_scaleY);
    ZOR::BillboardedQuad::Update(dt);
    Invalidate();
}

} // namespace quellor
