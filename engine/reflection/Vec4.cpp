#include "engine/reflection/Vec4.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Vec4, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(x)).Setter(QL_METHOD(SetX)).Getter(QL_METHOD(GetX));
    reg.Member(QL_FIELD(y));
    reg.Member(QL_FIELD(z));
    reg.Member(QL_FIELD(w));
}

} // namespace quellor
