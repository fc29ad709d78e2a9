#include "engine/reflection/Vec2.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Vec2, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(x)).Setter(QL_METHOD(SetX)).Getter(QL_METHOD(GetX));
    reg.Member(QL_FIELD(y)).Setter(QL_METHOD(SetY)).Getter(QL_METHOD(GetY));
}

} // namespace quellor
