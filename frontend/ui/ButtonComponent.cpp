#include "frontend/ui/ButtonComponent.h"

#include "engine/reflection/MetaRegistrar.h"
#include "frontend/ui/UISystem.h"

namespace quellor {

QUELLOR_RECORD(ButtonComponent, Component, DerivedMetaNotPOD, WithID) {}

ButtonComponent::~ButtonComponent() = default;

Component* ButtonComponent::Clone() const
{
    return new ButtonComponent(*this);
}

void ButtonComponent::Initialize()
{
    if (UISystem* system = UISystem::Of(*this))
        system->Add(this);
}

void ButtonComponent::Uninitialize()
{
    if (UISystem* system = UISystem::Of(*this))
        system->Remove(this);
}

void ButtonComponent::DebugDraw(ZOR::DebugDrawer*) {}

void ButtonComponent::Update(float)
{
    if (m_press.Pressed(*this) && !m_callback.IsEmpty())
        m_callback();
}

} // namespace quellor
