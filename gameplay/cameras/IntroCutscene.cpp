#include "gameplay/cameras/IntroCutscene.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(IntroCutscene, Action, DerivedMetaNotPODNoDefNoCopy, NoID) {}

IntroCutscene::IntroCutscene() : Action(true) {}

IntroCutscene::~IntroCutscene() = default;

} // namespace quellor
