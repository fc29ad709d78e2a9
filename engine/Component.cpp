#include "engine/Component.h"

namespace quellor {

Component::~Component() = default;

Component* Component::Clone() const
{
    return nullptr;
}

void Component::Initialize() {}
void Component::Uninitialize() {}
void Component::DebugDraw(ZOR::DebugDrawer*) {}

} // namespace quellor
