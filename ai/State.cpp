#include "ai/State.h"

#include "engine/reflection/MetaRegistrar.h"

#include <utility>

namespace quellor {

QUELLOR_RECORD(State, NoBase, DerivedMetaNotPOD, NoID) {}

State::~State() = default;

void State::Enter(Entity*) {}

void State::Update(Entity*, float) {}

void State::Exit(Entity*) {}

void State::AddLink(State* target, StateLink::Condition condition)
{
    links.emplace_back(target, std::move(condition));
}

} // namespace quellor
