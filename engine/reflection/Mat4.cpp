#include "engine/reflection/Mat4.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Mat4, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(m00));
    reg.Member(QL_FIELD(m01));
    reg.Member(QL_FIELD(m02));
    reg.Member(QL_FIELD(m03));
    reg.Member(QL_FIELD(m10));
    reg.Member(QL_FIELD(m11));
    reg.Member(QL_FIELD(m12));
    reg.Member(QL_FIELD(m13));
    reg.Member(QL_FIELD(m20));
    reg.Member(QL_FIELD(m21));
    reg.Member(QL_FIELD(m22));
    reg.Member(QL_FIELD(m23));
    reg.Member(QL_FIELD(m30));
    reg.Member(QL_FIELD(m31));
    reg.Member(QL_FIELD(m32));
    reg.Member(QL_FIELD(m33));
}

} // namespace quellor
