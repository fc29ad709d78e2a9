#include "engine/QLObject.h"

#include "engine/Engine.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QLObject::~QLObject() = default;

QUELLOR_RECORD(QLObject, NoBase, DerivedMetaNotPOD, NoID) {}

float QLObject::GetTime() const
{
    Engine* engine = GetEngine();
    return engine ? engine->GetTime() : 0.0f;
}

System* QLObject::FindSystem(const std::string& name) const
{
    Engine* engine = GetEngine();
    if (!engine)
        return nullptr;
    return engine->GetSystem(name, m_injector->m_spaceName);
}

} // namespace quellor
