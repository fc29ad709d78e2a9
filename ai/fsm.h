#pragma once
// The core of a state machine: the owner entity, the current and previous state. Each update
// takes at most one transition, along the first link of the current state whose condition
// holds, then updates the current state, so a state is updated in the frame it is entered.
// It owns no state.
#include "engine/reflection/Reflected.h"

namespace quellor {

class Entity;
class State;

class fsm {
    QUELLOR_REFLECT_ROOT(fsm)

    fsm() = default;
    fsm(const fsm&) = default;
    fsm& operator=(const fsm&) = default;
    virtual ~fsm();

    // Exits the current state (if any), remembers it as previous and enters next (if any).
    void ChangeState(State* next);
    // A link whose condition is empty throws DelegateError ("Delegate not pointing to any
    // function."): a wiring fault, not a run-time condition.
    void Update(float dt);

    Entity* owner = nullptr;
    State* previous = nullptr;
    State* current = nullptr;
};

} // namespace quellor
