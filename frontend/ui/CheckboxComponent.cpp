#include "frontend/ui/CheckboxComponent.h"

#include "engine/reflection/MetaRegistrar.h"
#include "frontend/ui/UISystem.h"

namespace quellor {

QUELLOR_RECORD(CheckboxComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_checked));
}

CheckboxComponent::~CheckboxComponent() = default;

Component* CheckboxComponent::Clone() const
{
    return new CheckboxComponent(*this);
}

void CheckboxComponent::Initialize()
{
    if (UISystem* system = UISystem::Of(*this))
        system->Add(this);
}

void CheckboxComponent::Uninitialize()
{
    if (UISystem* system = UISystem::Of(*this))
        system->Remove(this);
}

void CheckboxComponent::DebugDraw(ZOR::DebugDrawer*) {}

void CheckboxComponent::Update(float)
{
    if (!m_press.Pressed(*this))
        return;
    m_checked = !m_checked;
    if (!m_callback.IsEmpty())
        m_callback(m_checked);
}

} // namespace quellor
