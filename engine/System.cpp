#include "engine/System.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(System, QLObject, DerivedMetaNotPOD, NoID) {}

System::~System() = default;

void System::Update(float) {}
void System::Initialize() {}
void System::Shutdown() {}
void System::PreUpdate(float) {}
void System::PostUpdate(float) {}

} // namespace quellor
