#include "engine/Component.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Component, QLObject, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m_id));
}

Component::~Component() = default;

Component* Component::Clone() const
{
    return nullptr;
}

void Component::Initialize() {}
void Component::Uninitialize() {}
void Component::DebugDraw(ZOR::DebugDrawer*) {}

} // namespace quellor
