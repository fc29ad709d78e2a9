#include "engine/ActionComponent.h"

#include "engine/ActionSystem.h"

namespace quellor {

ActionComponent::ActionComponent(Action* first) : m_actions(true, true)
{
    if (first)
        m_actions.PushBack(first, 0);
}

ActionComponent::ActionComponent(const ActionComponent& other)
    : Component(other), m_name(other.m_name), m_actions(true, true)
{
}

ActionComponent::~ActionComponent() = default;

Component* ActionComponent::Clone() const
{
    return nullptr;
}

void ActionComponent::Initialize()
{
    m_actions.SetInjector(GetInjector());
    if (ActionSystem* system = GetSystem<ActionSystem>())
        system->Register(this);
}

void ActionComponent::Uninitialize()
{
    m_actions.Cancel();
    m_link.Unlink();
}

void ActionComponent::DebugDraw(ZOR::DebugDrawer*) {}

void ActionComponent::AddAction(Action* action, int lane)
{
    m_actions.PushBack(action, lane);
}

void ActionComponent::Update(float dt)
{
    m_actions.Update(dt);
}

} // namespace quellor
