#include "engine/Mat3.h"

#include "engine/reflection/Quat.h"

#include <cmath>

namespace quellor {

void Mat3::Invert(Mat3& m)
{
    const float c00 = m.m11 * m.m22 - m.m12 * m.m21;
    const float c01 = m.m10 * m.m22 - m.m20 * m.m12;
    const float c02 = m.m10 * m.m21 - m.m20 * m.m11;
    const float det = m.m00 * c00 - m.m01 * c01 + m.m02 * c02;
    const float d = 1.0f / det;
    if (det == 0.0f || !std::isfinite(det) || !std::isfinite(d)) {
        m = Mat3(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    const Mat3 a = m;
    m.m00 = c00 * d;
    m.m01 = -c01 * d;
    m.m02 = c02 * d;
    m.m10 = -(a.m01 * a.m22 - a.m02 * a.m21) * d;
    m.m11 = (a.m00 * a.m22 - a.m02 * a.m20) * d;
    m.m12 = -(a.m00 * a.m21 - a.m01 * a.m20) * d;
    m.m20 = (a.m01 * a.m12 - a.m02 * a.m11) * d;
    m.m21 = -(a.m00 * a.m12 - a.m02 * a.m10) * d;
    m.m22 = (a.m00 * a.m11 - a.m01 * a.m10) * d;
}

void Mat3::Orthonormalize(Mat3& m)
{
    // The matrix-to-quaternion conversion is exact only for unscaled rotations: a scale k
    // skews the angle it finds. Divide out the mean column length first, so a rotation that
    // has drifted in length (or was scaled uniformly) comes back as that rotation.
    const float sumSquares = m.m00 * m.m00 + m.m01 * m.m01 + m.m02 * m.m02 +
                             m.m10 * m.m10 + m.m11 * m.m11 + m.m12 * m.m12 +
                             m.m20 * m.m20 + m.m21 * m.m21 + m.m22 * m.m22;
    const float scale = std::sqrt(sumSquares / 3.0f);
    Mat3 r = m;
    if (scale > 0.0f && std::isfinite(scale)) {
        const float inv = 1.0f / scale;
        r = Mat3(m.m00 * inv, m.m01 * inv, m.m02 * inv,
                 m.m10 * inv, m.m11 * inv, m.m12 * inv,
                 m.m20 * inv, m.m21 * inv, m.m22 * inv);
    }

    Quat q;
    m = q.SetFromMatrix(r).Normalize().ToMatrix();
}

} // namespace quellor
