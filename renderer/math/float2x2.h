#pragma once
#include "renderer/math/float2.h"

namespace ZOR {

// 2x2 matrix, row-major: entry (r, c) is m[r * 2 + c]. Identity by default.
struct float2x2 {
    float m[4];

    constexpr float2x2() : m{1.0f, 0.0f, 0.0f, 1.0f} {}
    constexpr float2x2(float m0, float m1, float m2, float m3) : m{m0, m1, m2, m3} {}

    float2x2 operator*(const float2x2& o) const
    {
        return float2x2(m[0] * o.m[0] + m[1] * o.m[2], m[0] * o.m[1] + m[1] * o.m[3],
                        m[2] * o.m[0] + m[3] * o.m[2], m[2] * o.m[1] + m[3] * o.m[3]);
    }
    float2x2& operator*=(const float2x2& o) { return *this = *this * o; }

    // Column vector: M * v.
    float2 operator*(const float2& v) const
    {
        return float2(m[0] * v.x + m[1] * v.y, m[2] * v.x + m[3] * v.y);
    }

    void SetIdentity() { *this = float2x2(); }

    // Rotation by an angle in radians. The result lives in a per-thread matrix that the next
    // call on the same thread overwrites: copy it before calling again.
    static const float2x2& Rotate(float angle);
};

} // namespace ZOR
