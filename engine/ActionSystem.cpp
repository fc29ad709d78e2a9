#include "engine/ActionSystem.h"

namespace quellor {

ActionSystem::ActionSystem(Action* first) : m_root(false, true)
{
    if (first)
        m_root.PushBack(first, 0);
}

ActionSystem::~ActionSystem() = default;

void ActionSystem::Initialize()
{
    m_root.SetInjector(GetInjector());
}

void ActionSystem::Shutdown()
{
    m_root.Cancel();
}

void ActionSystem::Update(float dt)
{
    m_root.Update(dt);
    // Taking the next one first lets a component leave the list during its own update.
    for (ActionComponent* component = m_components.Front(); component;) {
        ActionComponent* next = decltype(m_components)::Next(component);
        component->Update(dt);
        component = next;
    }
}

void ActionSystem::AddAction(Action* action, int lane)
{
    m_root.PushBack(action, lane);
}

void ActionSystem::AddActionFront(Action* action, int lane)
{
    m_root.PushFront(action, lane);
}

void ActionSystem::Register(ActionComponent* component)
{
    m_components.PushBack(component);
}

void ActionSystem::Unregister(ActionComponent* component)
{
    if (m_components.Contains(component))
        decltype(m_components)::Remove(component);
}

} // namespace quellor
