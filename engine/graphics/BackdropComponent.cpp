#include "engine/graphics/BackdropComponent.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(BackdropComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_materialName)).Extension(".mat").Setter(QL_METHOD(SetMaterial));
}

BackdropComponent::~BackdropComponent() = default;

Component* BackdropComponent::Clone() const
{
    return new BackdropComponent(*this);
}

void BackdropComponent::Initialize()
{
    GraphicsSystem* graphics = FindGraphicsSystem(*this, "BackdropComponent");
    if (!graphics) {
        return;
    }
    graphics->RegisterBackdropComponent(this);
    m_skySphere = &graphics->GetSkySphere();
    m_skySphere->SetMaterial(m_materialName);
    graphics->DrawSkySphere(true);
}

void BackdropComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "BackdropComponent")) {
        graphics->DrawSkySphere(false);
        graphics->UnregisterBackdropComponent(this);
    }
}

void BackdropComponent::SetMaterial(const std::string& name)
{
    if (&name != &m_materialName) {
        m_materialName = name;
    }
    if (m_skySphere) {
        m_skySphere->SetMaterial(m_materialName);
    }
}

void BackdropComponent::Update(float)
{
    if (!m_transform && !(m_transform = FindTransform3D(*this))) {
        return;
    }
    if (m_skySphere) {
        m_skySphere->SetWorldMatrix(ToFloat4x4(m_transform->BuildWorldMatrix()));
    }
}

} // namespace quellor
