#include "engine/reflection/Mat2.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Mat2, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m00));
    reg.Member(QL_FIELD(m01));
    reg.Member(QL_FIELD(m10));
    reg.Member(QL_FIELD(m11));
}

} // namespace quellor
