#include "tests/engine/reflection/ReflectionFixtures.h"

#include <tinyxml.h>

#include "engine/reflection/MetaRegistrar.h"

namespace quellor::fixtures {

QUELLOR_RECORD(Shape, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m_tag)).Getter(QL_METHOD(Tag)).Setter(QL_METHOD(SetTag));
    reg.Member(QL_FIELD(m_label)).Setter(&Shape::SetLabel);
    reg.Method(QL_METHOD(Sides));
    reg.Method(QL_METHOD(Self));
    reg.Method(QL_METHOD(Nothing));
    reg.Method(QL_METHOD(Label));
    reg.Method(QL_METHOD(LabelCopy));
    reg.Method(QL_METHOD(SetLabel));
    reg.Method(QL_METHOD(Scaled));
}

QUELLOR_RECORD(Square, Shape, DerivedMetaNotPOD, NoID)
{
    reg.Method(QL_METHOD(Corners));
}

QUELLOR_RECORD(Gadget, Shape, DerivedMetaNotPODNoCopy, NoID)
{
    reg.Member(QL_FIELD(m_count));
    reg.Method(QL_METHOD(Add));
}

QUELLOR_RECORD(Flipped, Shape, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m_count));
    reg.Method(QL_METHOD(Count));
}

QUELLOR_RECORD(Settings, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m_narrowA)).Setter(QL_METHOD(SetNarrow));
    reg.Member(QL_FIELD(m_narrowB));
    reg.Member(QL_FIELD(m_short)).Setter(QL_METHOD(SetShort));
    reg.Member(QL_FIELD(m_on)).Setter(QL_METHOD(SetOn));
    reg.Member(QL_FIELD(m_plain));
    reg.Member(QL_FIELD(m_mode)).Setter(QL_METHOD(SetMode));
    reg.Member(QL_FIELD(m_ratio));
}

QUELLOR_RECORD(Point, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m_x)).Setter(QL_METHOD(SetX));
    reg.Member(QL_FIELD(m_y));
}

QUELLOR_RECORD(Holder, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m_point)).Setter(&Holder::SetPoint);
    reg.Member(QL_FIELD(m_spare));
    reg.Member(QL_FIELD(m_name));
}

void Custom::ReadFrom(TiXmlElement* element)
{
    const char* text = element ? element->Attribute("code") : nullptr;
    m_seen = text ? text : "(none)";
}

QUELLOR_RECORD(Custom, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Record()->SetCustomSerializer(Function::Bind<Custom>(&Custom::ReadFrom));
    reg.Member(QL_FIELD(m_value));
}

QUELLOR_RECORD(Sealed, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Record()->SetSkipReading(true);
    reg.Member(QL_FIELD(m_value));
}

QUELLOR_RECORD(Fixed, NoBase, DerivedMetaNotPODNoDefNoCopy, NoID)
{
    reg.Member(QL_FIELD(m_value));
}

QUELLOR_RECORD(Node, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Method(QL_METHOD(GetOther));
}

QUELLOR_RECORD(Other, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Method(QL_METHOD(GetNode));
}

} // namespace quellor::fixtures
