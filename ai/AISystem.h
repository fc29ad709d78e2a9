#pragma once
// The engine system that drives the AI components of its space once a frame, in a fixed order
// of passes: every StateMachine, then every SteeringComponent. Components join its lists in
// their Initialize and leave in their Uninitialize; it owns none of them and decides nothing.
// The lists are intrusive, so a frame allocates nothing.
#include "ai/StateMachine.h"
#include "ai/steering/SteeringComponent.h"
#include "engine/IntrusiveList.h"
#include "engine/System.h"

namespace quellor {

class AISystem : public System {
    QUELLOR_REFLECT_KEYED(AISystem)

    AISystem();
    AISystem(const AISystem&) = delete;
    AISystem& operator=(const AISystem&) = delete;
    ~AISystem() override;

    // The passes, each walking its list from head to tail. A component registered during a
    // pass is reached in it; one that leaves its list during its own step does not break the
    // walk.
    void Update(float dt) override;

    // Appends at the tail, so each list runs in registration order; null is ignored.
    void RegisterStateMachine(StateMachine* machine);
    void RegisterSteeringComponent(SteeringComponent* steering);
    // Unlinks a component of this system's list; anything else is left alone.
    void UnregisterStateMachine(StateMachine* machine);
    void UnregisterSteeringComponent(SteeringComponent* steering);

    using StateMachineList = IntrusiveList<StateMachine, &StateMachine::m_aiLink>;
    using SteeringList = IntrusiveList<SteeringComponent, &SteeringComponent::m_aiLink>;
    const StateMachineList& GetStateMachines() const { return m_stateMachines; }
    const SteeringList& GetSteeringComponents() const { return m_steering; }

private:
    // Calls step on each element from head to tail. The next element is taken after the call
    // while the current one is still in the list (so appends are reached), else the one that
    // followed it before the call.
    template <class List, class Step>
    static void Walk(const List& list, Step step)
    {
        auto* element = list.Front();
        while (element) {
            auto* following = List::Next(element);
            step(element);
            element = List::Contains(element, list) ? List::Next(element) : following;
        }
    }

    StateMachineList m_stateMachines;
    SteeringList m_steering;
};

} // namespace quellor
