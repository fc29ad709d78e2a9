#include "engine/ActionComponent.h"

#include "engine/ActionSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/MetaRegistry.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(ActionComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_name)).Setter(QL_METHOD(SetBasedOnName));
}

ActionComponent::ActionComponent(Action* first) : m_actions(true, true)
{
    if (first) {
        if (Meta* record = first->GetMeta())
            m_name = record->GetName();
        m_actions.PushBack(first, 0);
    }
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

void ActionComponent::SetBasedOnName(std::string name)
{
    if (name.empty())
        return;
    m_name = name;
    MetaRegistry::Creation outcome;
    Action* action = CreateAs<Action>(name, outcome);
    switch (outcome) {
    case MetaRegistry::Creation::Made: m_actions.PushBack(action, 0); break;
    case MetaRegistry::Creation::NoSuchType:
        std::printf("Warning: no reflected type named \"%s\"; no action started\n", name.c_str());
        break;
    case MetaRegistry::Creation::NotOfBase:
        std::printf("Warning: \"%s\" is not an action; no action started\n", name.c_str());
        break;
    case MetaRegistry::Creation::CannotBeMade:
        std::printf("Warning: the action \"%s\" cannot be created by name; no action started\n", name.c_str());
        break;
    }
}

void ActionComponent::Update(float dt)
{
    m_actions.Update(dt);
}

} // namespace quellor
