#include "engine/BirdGrabComponent.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(BirdGrabComponent, Component, DerivedMetaNotPODNoDefNoCopy, WithID) {}

BirdGrabComponent::~BirdGrabComponent() = default;

} // namespace quellor
