#include "ai/AISystem.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(AISystem, System, DerivedMetaNotPODNoCopy, WithID) {}

AISystem::AISystem() = default;

AISystem::~AISystem() = default;

void AISystem::Update(float dt)
{
    Walk(m_stateMachines, [dt](StateMachine* machine) { machine->Update(dt); });
    Walk(m_steering, [dt](SteeringComponent* steering) { steering->Update(dt); });
}

void AISystem::RegisterStateMachine(StateMachine* machine)
{
    if (machine)
        m_stateMachines.PushBack(machine);
}

void AISystem::RegisterSteeringComponent(SteeringComponent* steering)
{
    if (steering)
        m_steering.PushBack(steering);
}

void AISystem::UnregisterStateMachine(StateMachine* machine)
{
    if (machine && m_stateMachines.Contains(machine))
        StateMachineList::Remove(machine);
}

void AISystem::UnregisterSteeringComponent(SteeringComponent* steering)
{
    if (steering && m_steering.Contains(steering))
        SteeringList::Remove(steering);
}

} // namespace quellor
