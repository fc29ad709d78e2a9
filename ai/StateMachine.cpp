#include "ai/StateMachine.h"

#include "ai/AISystem.h"
#include "ai/State.h"
#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/MetaRegistry.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(StateMachine, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_initStateName)).Setter(QL_METHOD(SetInitialState));
}

StateMachine::StateMachine() = default;

StateMachine::~StateMachine() = default;

void StateMachine::Initialize()
{
    Entity* entity = GetEntity();
    const char* entityName = entity ? entity->GetName().c_str() : "?";
    for (const std::string& warning : m_pendingWarnings)
        std::printf("Warning: StateMachine of \"%s\": %s\n", entityName, warning.c_str());
    m_pendingWarnings.clear();

    if (AISystem* system = GetSystem<AISystem>())
        system->RegisterStateMachine(this);
    else
        std::printf("Warning: no AISystem in the space of \"%s\"; its StateMachine is not stepped\n", entityName);
    m_fsm.owner = entity;
    if (m_initialState)
        m_fsm.ChangeState(m_initialState);
    OnInitialized();
}

void StateMachine::Uninitialize()
{
    OnUninitializing();
    if (AISystem* system = GetSystem<AISystem>())
        system->UnregisterStateMachine(this);
    m_aiLink.Unlink();
}

void StateMachine::DebugDraw(ZOR::DebugDrawer*) {}

void StateMachine::OnInitialized() {}

void StateMachine::OnUninitializing() {}

void StateMachine::Refuse(const std::string& name, const char* why)
{
    const std::string warning = "\"" + name + "\" " + why + "; the initial state is kept";
    if (Entity* entity = GetEntity())
        std::printf("Warning: StateMachine of \"%s\": %s\n", entity->GetName().c_str(), warning.c_str());
    else
        m_pendingWarnings.push_back(warning);
}

void StateMachine::SetInitialState(const std::string& name)
{
    if (name.empty())
        return;
    MetaRegistry::Creation outcome;
    State* state = CreateAs<State>(name, outcome);
    switch (outcome) {
    case MetaRegistry::Creation::Made: break;
    case MetaRegistry::Creation::NoSuchType: Refuse(name, "names no reflected type"); return;
    case MetaRegistry::Creation::NotOfBase: Refuse(name, "is not a State"); return;
    case MetaRegistry::Creation::CannotBeMade: Refuse(name, "cannot be made by name"); return;
    }
    m_initStateName = name;
    m_madeStates.emplace_back(state);
    m_initialState = state;
}

void StateMachine::Update(float dt)
{
    m_fsm.Update(dt);
}

} // namespace quellor
