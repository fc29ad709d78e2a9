#include "ai/StateLink.h"

#include "ai/State.h"
#include "engine/reflection/MetaRegistrar.h"

#include <utility>

namespace quellor {

QUELLOR_RECORD(StateLink, NoBase, DerivedMetaNotPODNoDef, NoID) {}

StateLink::StateLink(State* target_, Condition condition_) : target(target_), condition(std::move(condition_)) {}

StateLink::~StateLink() = default;

} // namespace quellor
