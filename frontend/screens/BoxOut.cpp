#include "frontend/screens/BoxOut.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(BoxOut, Action, DerivedMetaNotPODNoDefNoCopy, NoID) {}

BoxOut::BoxOut() : Action(true) {}

BoxOut::~BoxOut() = default;

} // namespace quellor
