#include "engine/reflection/Quat.h"

#include "engine/reflection/MetaRegistrar.h"

#include "engine/Mat3.h"
#include "engine/reflection/Mat4.h"

#include <cmath>

namespace quellor {

QUELLOR_RECORD(Quat, NoBase, DerivedMetaNotPOD, NoID)
{
    reg.Member(QL_FIELD(x));
    reg.Member(QL_FIELD(y));
    reg.Member(QL_FIELD(z));
    reg.Member(QL_FIELD(w));
}

Quat& Quat::SetFromMatrix(const Mat3& m)
{
    // Take the root of the largest of the four diagonal combinations, so the divisor stays away
    // from zero. Comparisons are strict: ties go to the later branch.
    const float trace = m.m00 + m.m11 + m.m22;
    if (trace > 0.0f) {
        const float s = 0.5f / std::sqrt(trace + 1.0f);
        x = (m.m21 - m.m12) * s;
        y = (m.m02 - m.m20) * s;
        z = (m.m10 - m.m01) * s;
        w = 0.25f / s;
    } else if (m.m00 > m.m11 && m.m00 > m.m22) {
        const float s = 2.0f * std::sqrt(1.0f + m.m00 - m.m11 - m.m22);
        x = 0.25f * s;
        y = (m.m01 + m.m10) / s;
        z = (m.m02 + m.m20) / s;
        w = (m.m21 - m.m12) / s;
    } else if (m.m11 > m.m22) {
        const float s = 2.0f * std::sqrt(1.0f + m.m11 - m.m00 - m.m22);
        x = (m.m01 + m.m10) / s;
        y = 0.25f * s;
        z = (m.m12 + m.m21) / s;
        w = (m.m02 - m.m20) / s;
    } else {
        const float s = 2.0f * std::sqrt(1.0f + m.m22 - m.m00 - m.m11);
        x = (m.m02 + m.m20) / s;
        y = (m.m12 + m.m21) / s;
        z = 0.25f * s;
        w = (m.m10 - m.m01) / s;
    }
    return *this;
}

Quat& Quat::SetFromMat4(const Mat4& m)
{
    return SetFromMatrix(Mat3(m.m00, m.m01, m.m02, m.m10, m.m11, m.m12, m.m20, m.m21, m.m22));
}

Quat& Quat::Normalize()
{
    const float length = std::sqrt(x * x + y * y + z * z + w * w);
    if (length > 0.0f) {
        x /= length;
        y /= length;
        z /= length;
        w /= length;
    }
    return *this;
}

} // namespace quellor
