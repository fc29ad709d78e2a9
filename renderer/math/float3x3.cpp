#include "renderer/math/float3x3.h"

#include <cmath>
#include <utility>

namespace ZOR {

float3x3 float3x3::Transpose() const
{
    return float3x3(m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]);
}

float3x3& float3x3::TransposeThis()
{
    std::swap(m[1], m[3]);
    std::swap(m[2], m[6]);
    std::swap(m[5], m[7]);
    return *this;
}

float3x3 float3x3::Inverse() const
{
    // Cofactors of the first row give the determinant by expansion along that row.
    const float c00 = m[4] * m[8] - m[5] * m[7];
    const float c01 = m[5] * m[6] - m[3] * m[8];
    const float c02 = m[3] * m[7] - m[4] * m[6];
    const float det = m[0] * c00 + m[1] * c01 + m[2] * c02;
    if (NearZero(det))
        return *this;
    const float inv = 1.0f / det;
    // Adjugate: the transposed cofactor matrix.
    return float3x3(c00 * inv, (m[2] * m[7] - m[1] * m[8]) * inv, (m[1] * m[5] - m[2] * m[4]) * inv,
                    c01 * inv, (m[0] * m[8] - m[2] * m[6]) * inv, (m[2] * m[3] - m[0] * m[5]) * inv,
                    c02 * inv, (m[1] * m[6] - m[0] * m[7]) * inv, (m[0] * m[4] - m[1] * m[3]) * inv);
}

float3x3& float3x3::InvertThis()
{
    return *this = Inverse();
}

const float3x3& float3x3::Rotate(float angle)
{
    thread_local float3x3 result;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    result.m[0] = c;
    result.m[1] = -s;
    result.m[3] = s;
    result.m[4] = c;
    return result;
}

const float3x3& float3x3::Scale(const float2& s)
{
    thread_local float3x3 result;
    result.m[0] = s.x;
    result.m[4] = s.y;
    return result;
}

const float3x3& float3x3::Scale(float x, float y)
{
    thread_local float3x3 result;
    result.m[0] = x;
    result.m[4] = y;
    return result;
}

const float3x3& float3x3::Translate(const float2& t)
{
    thread_local float3x3 result;
    result.m[2] = t.x;
    result.m[5] = t.y;
    return result;
}

const float3x3& float3x3::Translate(float x, float y)
{
    thread_local float3x3 result;
    result.m[2] = x;
    result.m[5] = y;
    return result;
}

} // namespace ZOR
