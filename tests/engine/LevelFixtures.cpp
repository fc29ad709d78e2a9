#include "tests/engine/LevelFixtures.h"

#include "engine/Entity.h"
#include "engine/Transform2D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/RegisterEngineTypes.h"

namespace quellor::fixtures {

QUELLOR_RECORD(OrderProbe, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_tag));
}

QUELLOR_RECORD(UnkeyedComponent, Component, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m_value));
}

QUELLOR_RECORD(KeyedSystem, System, DerivedMetaNotPOD, WithID) {}

void OrderProbe::Initialize()
{
    const bool placed = GetEntity() && GetEntity()->HasComponent(Transform2D::ID);
    s_log.push_back(m_tag + (placed ? ":transform" : ":alone"));
}

void RegisterLevelFixtures()
{
    RegisterEngineTypes();
    MetaOf<OrderProbe>();
    MetaOf<UnkeyedComponent>();
    MetaOf<KeyedSystem>();
}

} // namespace quellor::fixtures
