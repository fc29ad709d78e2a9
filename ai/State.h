#pragma once
// One state of a state machine: hooks run on entering, every frame and on leaving (all empty
// here), and the links out of it, asked in list order. The base is the one state type that can
// be made by name. A copy copies the links (the same targets, shared conditions).
#include "ai/StateLink.h"
#include "engine/reflection/Reflected.h"

#include <vector>

namespace quellor {

class Entity;

class State {
    QUELLOR_REFLECT_ROOT(State)

    State() = default;
    State(const State&) = default;
    State& operator=(const State&) = default;
    virtual ~State();

    virtual void Enter(Entity* owner);
    virtual void Update(Entity* owner, float dt);
    virtual void Exit(Entity* owner);

    // Appends a link to target, taken when condition holds.
    void AddLink(State* target, StateLink::Condition condition);

    std::vector<StateLink> links;
};

} // namespace quellor
