#pragma once
#include "engine/Mat3.h"
#include "engine/reflection/Quat.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cmath>

// Small vector and 3x3 helpers shared by the collision and mass code. Matrices are row-major
// (entry (r, c) is m[r * 3 + c]) and act on column vectors.
namespace quellor::physics_math {

using ZOR::float3;
using ZOR::float3x3;

inline float LengthSquared(const float3& v)
{
    return v.x * v.x + v.y * v.y + v.z * v.z;
}

// Unit length, or the vector unchanged when its length is 0. Unlike float3::Normalize this
// also scales very short vectors: support and ray directions may legitimately be tiny.
inline float3 NormalizedOrSame(const float3& v)
{
    const float length = std::sqrt(LengthSquared(v));
    if (length > 0.0f)
        return v * (1.0f / length);
    return v;
}

inline float Component(const float3& v, int i)
{
    return i == 0 ? v.x : (i == 1 ? v.y : v.z);
}

inline void SetComponent(float3& v, int i, float value)
{
    if (i == 0)
        v.x = value;
    else if (i == 1)
        v.y = value;
    else
        v.z = value;
}

// Mᵀ v without forming the transpose.
inline float3 TransposeTimes(const float3x3& m, const float3& v)
{
    return float3(m.m[0] * v.x + m.m[3] * v.y + m.m[6] * v.z, m.m[1] * v.x + m.m[4] * v.y + m.m[7] * v.z,
                  m.m[2] * v.x + m.m[5] * v.y + m.m[8] * v.z);
}

inline float3 Column(const float3x3& m, int c)
{
    return float3(m.m[c], m.m[3 + c], m.m[6 + c]);
}

inline float3x3 ZeroMatrix()
{
    return float3x3(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
}

inline float3x3 Diagonal(float xx, float yy, float zz)
{
    return float3x3(xx, 0.0f, 0.0f, 0.0f, yy, 0.0f, 0.0f, 0.0f, zz);
}

// a bᵀ
inline float3x3 Outer(const float3& a, const float3& b)
{
    return float3x3(a.x * b.x, a.x * b.y, a.x * b.z, a.y * b.x, a.y * b.y, a.y * b.z, a.z * b.x, a.z * b.y,
                    a.z * b.z);
}

inline float3x3 Add(const float3x3& a, const float3x3& b)
{
    float3x3 r;
    for (int i = 0; i < 9; ++i)
        r.m[i] = a.m[i] + b.m[i];
    return r;
}

inline float3x3 Scaled(const float3x3& a, float s)
{
    float3x3 r;
    for (int i = 0; i < 9; ++i)
        r.m[i] = a.m[i] * s;
    return r;
}

inline float Trace(const float3x3& a)
{
    return a.m[0] + a.m[4] + a.m[8];
}

// The matrix whose columns are a, b, c.
inline float3x3 FromColumns(const float3& a, const float3& b, const float3& c)
{
    return float3x3(a.x, b.x, c.x, a.y, b.y, c.y, a.z, b.z, c.z);
}

inline float Determinant(const float3x3& a)
{
    return a.m[0] * (a.m[4] * a.m[8] - a.m[5] * a.m[7]) - a.m[1] * (a.m[3] * a.m[8] - a.m[5] * a.m[6]) +
           a.m[2] * (a.m[3] * a.m[7] - a.m[4] * a.m[6]);
}

// The coordinate axis along which v has its smallest absolute component; ties lean to z.
inline float3 SmallestAxis(const float3& v)
{
    const float ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
    if (ay > ax)
        return az > ax ? float3(1.0f, 0.0f, 0.0f) : float3(0.0f, 0.0f, 1.0f);
    return az > ay ? float3(0.0f, 1.0f, 0.0f) : float3(0.0f, 0.0f, 1.0f);
}

// The engine's in-place 3x3 operations work on quellor::Mat3, which has the same row-by-row
// layout as float3x3.
inline Mat3 ToMat3(const float3x3& a)
{
    return Mat3(a.m[0], a.m[1], a.m[2], a.m[3], a.m[4], a.m[5], a.m[6], a.m[7], a.m[8]);
}

inline float3x3 FromMat3(const Mat3& a)
{
    return float3x3(a.m00, a.m01, a.m02, a.m10, a.m11, a.m12, a.m20, a.m21, a.m22);
}

// The rotation of the unit quaternion (x, y, z, w).
inline float3x3 RotationFromQuaternion(float x, float y, float z, float w)
{
    return FromMat3(Quat(x, y, z, w).ToMatrix());
}

} // namespace quellor::physics_math
