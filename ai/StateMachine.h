#pragma once
// Gives an entity a state machine, stepped by the "AISystem" of its space before any other AI
// work of the frame. Its initial state is made by type name from level or archetype data
// ("m_initStateName") and entered when the component is initialised.
//
// The machine owns every state its setter made and deletes them all with itself, not earlier
// (the machine may still be in one); states built in code stay their builder's.
#include "ai/fsm.h"
#include "engine/Component.h"
#include "engine/IntrusiveList.h"

#include <memory>
#include <string>
#include <vector>

namespace quellor {

class State;

class StateMachine : public Component {
    QUELLOR_REFLECT_KEYED(StateMachine)

    StateMachine();
    StateMachine(const StateMachine&) = delete;
    StateMachine& operator=(const StateMachine&) = delete;
    ~StateMachine() override;

    // Registers with the space's "AISystem" (without one: a warning, and it is never
    // stepped), gives the machine its owner and enters the initial state.
    void Initialize() override;
    void Uninitialize() override;
    void DebugDraw(ZOR::DebugDrawer* drawer) override;
    virtual void OnInitialized();
    virtual void OnUninitializing();

    // Makes a new initial state of the registered type of that name and stores the name. An
    // empty name changes nothing. A name of no record, of a record that is not a State or of
    // one that cannot be made by name is warned about (naming the entity) and changes nothing.
    void SetInitialState(const std::string& name);
    // One step of the machine.
    void Update(float dt);

    State* GetInitialState() const { return m_initialState; }
    fsm& GetFsm() { return m_fsm; }
    const fsm& GetFsm() const { return m_fsm; }

    IntrusiveLink<StateMachine> m_aiLink;
    std::string m_initStateName;

private:
    // Prints the refusal of a name, or keeps it until the entity is known.
    void Refuse(const std::string& name, const char* why);

    State* m_initialState = nullptr;
    fsm m_fsm;
    std::vector<std::unique_ptr<State>> m_madeStates;
    // Refusals made before the component was on an entity, printed at Initialize.
    std::vector<std::string> m_pendingWarnings;
};

} // namespace quellor
