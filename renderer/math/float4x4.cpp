#include "renderer/math/float4x4.h"

#include <cmath>
#include <utility>

namespace ZOR {

namespace {

void WriteAxisRotation(float4x4& r, float x, float y, float z, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    r.m[0] = x * x * t + c;
    r.m[1] = x * y * t - z * s;
    r.m[2] = x * z * t + y * s;
    r.m[4] = x * y * t + z * s;
    r.m[5] = y * y * t + c;
    r.m[6] = y * z * t - x * s;
    r.m[8] = x * z * t - y * s;
    r.m[9] = y * z * t + x * s;
    r.m[10] = z * z * t + c;
}

// A turn in the plane of axes a and b: the cosine on both their diagonal entries, the sine at row a,
// column b and its negative at row b, column a.
void WritePlaneRotation(float4x4& r, int a, int b, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    r.m[a * 5] = c;
    r.m[b * 5] = c;
    r.m[a * 4 + b] = s;
    r.m[b * 4 + a] = -s;
}

void WriteScale(float4x4& r, float x, float y, float z)
{
    r.m[0] = x;
    r.m[5] = y;
    r.m[10] = z;
}

void WriteTranslation(float4x4& r, float x, float y, float z)
{
    r.m[3] = x;
    r.m[7] = y;
    r.m[11] = z;
}

} // namespace

float4x4 float4x4::Transpose() const
{
    return float4x4(m[0], m[4], m[8], m[12], m[1], m[5], m[9], m[13], m[2], m[6], m[10], m[14], m[3],
                    m[7], m[11], m[15]);
}

float4x4& float4x4::TransposeThis()
{
    std::swap(m[1], m[4]);
    std::swap(m[2], m[8]);
    std::swap(m[3], m[12]);
    std::swap(m[6], m[9]);
    std::swap(m[7], m[13]);
    std::swap(m[11], m[14]);
    return *this;
}

float4x4 float4x4::Inverse() const
{
    // Adjugate (transposed cofactors) built from 2x2 sub-determinants of the lower and upper halves.
    const float s0 = m[0] * m[5] - m[1] * m[4];
    const float s1 = m[0] * m[6] - m[2] * m[4];
    const float s2 = m[0] * m[7] - m[3] * m[4];
    const float s3 = m[1] * m[6] - m[2] * m[5];
    const float s4 = m[1] * m[7] - m[3] * m[5];
    const float s5 = m[2] * m[7] - m[3] * m[6];

    const float c5 = m[10] * m[15] - m[11] * m[14];
    const float c4 = m[9] * m[15] - m[11] * m[13];
    const float c3 = m[9] * m[14] - m[10] * m[13];
    const float c2 = m[8] * m[15] - m[11] * m[12];
    const float c1 = m[8] * m[14] - m[10] * m[12];
    const float c0 = m[8] * m[13] - m[9] * m[12];

    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (det == 0.0f)
        return *this;
    const float inv = 1.0f / det;

    return float4x4((m[5] * c5 - m[6] * c4 + m[7] * c3) * inv,
                    (-m[1] * c5 + m[2] * c4 - m[3] * c3) * inv,
                    (m[13] * s5 - m[14] * s4 + m[15] * s3) * inv,
                    (-m[9] * s5 + m[10] * s4 - m[11] * s3) * inv,

                    (-m[4] * c5 + m[6] * c2 - m[7] * c1) * inv,
                    (m[0] * c5 - m[2] * c2 + m[3] * c1) * inv,
                    (-m[12] * s5 + m[14] * s2 - m[15] * s1) * inv,
                    (m[8] * s5 - m[10] * s2 + m[11] * s1) * inv,

                    (m[4] * c4 - m[5] * c2 + m[7] * c0) * inv,
                    (-m[0] * c4 + m[1] * c2 - m[3] * c0) * inv,
                    (m[12] * s4 - m[13] * s2 + m[15] * s0) * inv,
                    (-m[8] * s4 + m[9] * s2 - m[11] * s0) * inv,

                    (-m[4] * c3 + m[5] * c1 - m[6] * c0) * inv,
                    (m[0] * c3 - m[1] * c1 + m[2] * c0) * inv,
                    (-m[12] * s3 + m[13] * s1 - m[14] * s0) * inv,
                    (m[8] * s3 - m[9] * s1 + m[10] * s0) * inv);
}

float4x4& float4x4::InvertThis()
{
    return *this = Inverse();
}

float4x4 float4x4::ExtractScale() const
{
    float4x4 r(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
               1.0f);
    for (int col = 0; col < 3; ++col)
        r.m[col * 5] = float3(m[col], m[4 + col], m[8 + col]).Length();
    return r;
}

float4x4 float4x4::ExtractRotation() const
{
    float4x4 r;
    for (int col = 0; col < 3; ++col) {
        const float3 axis = float3(m[col], m[4 + col], m[8 + col]).Normalized();
        r.m[col] = axis.x;
        r.m[4 + col] = axis.y;
        r.m[8 + col] = axis.z;
    }
    return r;
}

float4x4 float4x4::ExtractTranslation() const
{
    float4x4 r;
    WriteTranslation(r, m[3], m[7], m[11]);
    return r;
}

void float4x4::SetLookAt(const float3& eye, const float3& direction, const float3& up)
{
    const float3 f = direction.Normalized();
    const float3 u = up.Normalized();
    const float3 s = u.Cross(f).Normalized();
    const float3 v = f.Cross(s);
    *this = float4x4(-s.x, -s.y, -s.z, s.Dot(eye),
                     v.x, v.y, v.z, -v.Dot(eye),
                     -f.x, -f.y, -f.z, f.Dot(eye),
                     0.0f, 0.0f, 0.0f, 1.0f);
}

void float4x4::SetOrthographic(float width, float height, float nearPlane, float farPlane)
{
    SetIdentity();
    m[0] = 2.0f / width;
    m[5] = 2.0f / height;
    m[10] = 1.0f / (nearPlane - farPlane);
    m[11] = nearPlane / (nearPlane - farPlane);
}

void float4x4::SetOrthographic(float left, float right, float bottom, float top, float nearPlane,
                               float farPlane)
{
    SetIdentity();
    m[0] = 2.0f / (right - left);
    m[3] = -1.0f - 2.0f * left / (right - left);
    m[5] = 2.0f / (top - bottom);
    m[7] = 1.0f + 2.0f * top / (bottom - top);
    m[10] = 1.0f / (nearPlane - farPlane);
    m[11] = nearPlane / (nearPlane - farPlane);
}

void float4x4::SetPerspective(float fovY, float aspect, float nearPlane, float farPlane)
{
    const float t = std::tan(fovY * 0.5f);
    SetIdentity();
    m[0] = 1.0f / (t * aspect);
    m[5] = 1.0f / t;
    m[10] = farPlane / (nearPlane - farPlane);
    m[11] = nearPlane * farPlane / (nearPlane - farPlane);
    m[14] = -1.0f;
    m[15] = 0.0f;
}

void float4x4::SetPerspective(float left, float right, float bottom, float top, float nearPlane,
                              float farPlane)
{
    SetIdentity();
    m[0] = 2.0f * nearPlane / (right - left);
    m[2] = (right + left) / (right - left);
    m[5] = 2.0f * nearPlane / (top - bottom);
    m[6] = (top + bottom) / (top - bottom);
    m[10] = farPlane / (nearPlane - farPlane);
    m[11] = nearPlane * farPlane / (nearPlane - farPlane);
    m[14] = -1.0f;
    m[15] = 0.0f;
}

const float4x4& float4x4::Rotate(const float3& axis, float angle)
{
    thread_local float4x4 result;
    WriteAxisRotation(result, axis.x, axis.y, axis.z, angle);
    return result;
}

const float4x4& float4x4::Rotate(const float4& axis, float angle)
{
    thread_local float4x4 result;
    WriteAxisRotation(result, axis.x, axis.y, axis.z, angle);
    return result;
}

const float4x4& float4x4::RotateX(float angle)
{
    thread_local float4x4 result;
    WritePlaneRotation(result, 1, 2, angle);
    return result;
}

const float4x4& float4x4::RotateY(float angle)
{
    thread_local float4x4 result;
    WritePlaneRotation(result, 2, 0, angle);
    return result;
}

const float4x4& float4x4::RotateZ(float angle)
{
    thread_local float4x4 result;
    WritePlaneRotation(result, 1, 0, angle);
    return result;
}

const float4x4& float4x4::Scale(const float2& s)
{
    thread_local float4x4 result;
    WriteScale(result, s.x, s.y, 1.0f);
    return result;
}

const float4x4& float4x4::Scale(const float3& s)
{
    thread_local float4x4 result;
    WriteScale(result, s.x, s.y, s.z);
    return result;
}

const float4x4& float4x4::Scale(const float4& s)
{
    thread_local float4x4 result;
    WriteScale(result, s.x, s.y, s.z);
    return result;
}

const float4x4& float4x4::Scale(float x, float y, float z)
{
    thread_local float4x4 result;
    WriteScale(result, x, y, z);
    return result;
}

const float4x4& float4x4::Translate(const float2& t)
{
    thread_local float4x4 result;
    WriteTranslation(result, t.x, t.y, 0.0f);
    return result;
}

const float4x4& float4x4::Translate(const float3& t)
{
    thread_local float4x4 result;
    WriteTranslation(result, t.x, t.y, t.z);
    return result;
}

const float4x4& float4x4::Translate(const float4& t)
{
    thread_local float4x4 result;
    WriteTranslation(result, t.x, t.y, t.z);
    return result;
}

const float4x4& float4x4::Translate(float x, float y, float z)
{
    thread_local float4x4 result;
    WriteTranslation(result, x, y, z);
    return result;
}

} // namespace ZOR
