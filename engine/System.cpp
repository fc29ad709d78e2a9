#include "engine/System.h"

namespace quellor {

System::~System() = default;

void System::Update(float) {}
void System::Initialize() {}
void System::Shutdown() {}
void System::PreUpdate(float) {}
void System::PostUpdate(float) {}

} // namespace quellor
