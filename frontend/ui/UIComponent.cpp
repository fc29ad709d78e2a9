#include "frontend/ui/UIComponent.h"

#include "engine/reflection/MetaRegistrar.h"
#include "frontend/ui/UISystem.h"

namespace quellor {

QUELLOR_RECORD(UIComponent, Component, DerivedMetaNotPOD, WithID) {}

UIComponent::~UIComponent() = default;

Component* UIComponent::Clone() const
{
    return new UIComponent(*this);
}

void UIComponent::Initialize()
{
    if (auto* system = UISystem::Of(*this))
        system->Add(this);
}

void UIComponent::Uninitialize()
{
    if (auto* system = UISystem::Of(*this))
        system->Remove(this);
}

void UIComponent::DebugDraw(ZOR::DebugDrawer*) {}

void UIComponent::Update(float) {}

} // namespace quellor
