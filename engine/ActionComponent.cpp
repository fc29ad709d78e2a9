#include "engine/ActionComponent.h"

#include "engine/ActionSystem.h"
#include "engine/reflection/MetaRegistrar.h"

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
    Meta* record = MetaRegistry::Instance().Find(name);
    Meta* actionRecord = Action::StaticMeta();
    if (!record) {
        std::printf("Warning: no reflected type named \"%s\"; no action started\n", name.c_str());
        return;
    }
    if (!record->IsA(actionRecord)) {
        std::printf("Warning: \"%s\" is not an action; no action started\n", name.c_str());
        return;
    }
    void* made = record->GetOps() ? record->GetOps()->New() : nullptr;
    if (!made) {
        std::printf("Warning: the action \"%s\" cannot be created by name; no action started\n", name.c_str());
        return;
    }
    auto* action = static_cast<Action*>(record->CastTo(made, actionRecord));
    if (!action) {
        Variable::DestroyValue(record, made);
        return;
    }
    m_actions.PushBack(action, 0);
}

void ActionComponent::Update(float dt)
{
    m_actions.Update(dt);
}

} // namespace quellor
