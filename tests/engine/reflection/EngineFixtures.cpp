#include "tests/engine/reflection/EngineFixtures.h"

#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/RegisterEngineTypes.h"

namespace quellor::fixtures {

QUELLOR_RECORD(ReadFixtureComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_offset));
    reg.Member(QL_FIELD(m_turn));
    reg.Member(QL_FIELD(m_low));
    reg.Member(QL_FIELD(m_high));
    reg.Member(QL_FIELD(m_enabled)).Setter(QL_METHOD(SetEnabled));
    reg.Member(QL_FIELD(m_count));
    reg.Member(QL_FIELD(m_label));
}

QUELLOR_RECORD(CountedAction, Action, DerivedMetaNotPODNoCopy, NoID) {}

QUELLOR_RECORD(UnnamedAction, Action, DerivedMetaNotPODNoDefNoCopy, NoID) {}

void RegisterEngineFixtures()
{
    RegisterEngineTypes();
    MetaOf<ReadFixtureComponent>();
    MetaOf<CountedAction>();
    MetaOf<UnnamedAction>();
}

} // namespace quellor::fixtures
