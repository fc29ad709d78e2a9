#include "ai/fsm.h"

#include "ai/State.h"
#include "engine/reflection/MetaRegistrar.h"

#include <cstddef>

namespace quellor {

QUELLOR_RECORD(fsm, NoBase, DerivedMetaNotPOD, NoID) {}

fsm::~fsm() = default;

void fsm::ChangeState(State* next)
{
    if (current)
        current->Exit(owner);
    previous = current;
    current = next;
    if (next)
        next->Enter(owner);
}

void fsm::Update(float dt)
{
    if (!current)
        return;
    // By index: a condition may add links to the state it is asked for.
    for (std::size_t i = 0; i < current->links.size(); ++i) {
        const StateLink& link = current->links[i];
        if (link.condition(owner)) {
            ChangeState(current->links[i].target);
            break;
        }
    }
    if (current)
        current->Update(owner, dt);
}

} // namespace quellor
