#pragma once
// An outgoing transition of a State: the state to switch to, and the condition, asked with the
// machine's owner entity, under which to switch. Copies share the condition's callback.
#include "engine/Delegate.h"
#include "engine/reflection/Reflected.h"

namespace quellor {

class Entity;
class State;

struct StateLink {
    QUELLOR_REFLECT_ROOT(StateLink)

    using Condition = Delegate<bool, Entity*>;

    StateLink(State* target, Condition condition);
    StateLink(const StateLink&) = default;
    StateLink& operator=(const StateLink&) = default;
    virtual ~StateLink();

    // Not owned.
    State* target = nullptr;
    Condition condition;
};

} // namespace quellor
