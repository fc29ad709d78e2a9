#pragma once
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"

namespace ZOR {

// 3x3 matrix, row-major: entry (r, c) is m[r * 3 + c]. Identity by default. As a 2D transform
// it keeps its translation in entries 2 and 5.
struct float3x3 {
    float m[9];

    constexpr float3x3() : m{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f} {}
    constexpr float3x3(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
                       float m8)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8}
    {
    }

    float3x3 operator*(const float3x3& o) const
    {
        float3x3 r;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                r.m[row * 3 + col] = m[row * 3] * o.m[col] + m[row * 3 + 1] * o.m[3 + col] +
                                     m[row * 3 + 2] * o.m[6 + col];
        return r;
    }
    float3x3& operator*=(const float3x3& o) { return *this = *this * o; }

    // Column vector: M * v.
    float3 operator*(const float3& v) const
    {
        return float3(m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
                      m[6] * v.x + m[7] * v.y + m[8] * v.z);
    }

    void SetIdentity() { *this = float3x3(); }

    float3x3 Transpose() const;
    float3x3& TransposeThis();

    // A matrix whose determinant is within tolerance of zero comes back unchanged.
    float3x3 Inverse() const;
    float3x3& InvertThis();

    // Builders. Each overload writes into its own per-thread matrix (identity on first use) and
    // sets only the entries it owns; the next call of the same overload on the same thread
    // overwrites it, so copy the result before calling again.
    static const float3x3& Rotate(float angle);
    static const float3x3& Scale(const float2& s);
    static const float3x3& Scale(float x, float y);
    static const float3x3& Translate(const float2& t);
    static const float3x3& Translate(float x, float y);
};

} // namespace ZOR
