#pragma once
// Between the engine's value types and the renderer's. The 4x4 matrices share one layout (row
// by row, translation in elements 3, 7 and 11), so converting copies the sixteen elements in
// order.
#include "engine/reflection/Mat4.h"
#include "engine/reflection/Vec4.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4x4.h"

namespace quellor {

// x, y and z; w is dropped.
inline ZOR::float3 ToFloat3(const Vec4& v)
{
    return ZOR::float3(v.x, v.y, v.z);
}

inline ZOR::float4x4 ToFloat4x4(const Mat4& m)
{
    return ZOR::float4x4(m.m00, m.m01, m.m02, m.m03, m.m10, m.m11, m.m12, m.m13,
                         m.m20, m.m21, m.m22, m.m23, m.m30, m.m31, m.m32, m.m33);
}

inline Mat4 ToMat4(const ZOR::float4x4& f)
{
    const float* m = f.m;
    return Mat4(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11], m[12], m[13],
                m[14], m[15]);
}

} // namespace quellor
