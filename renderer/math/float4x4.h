#pragma once
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

namespace ZOR {

// 4x4 matrix, row-major: entry (r, c) is m[r * 4 + c]. Column vectors, so A * B applies B first
// and the translation sits in entries 3, 7 and 11. Identity by default. Right-handed; the
// projections map depth to [0, 1].
struct float4x4 {
    float m[16];

    constexpr float4x4()
        : m{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}
    {
    }
    constexpr float4x4(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
                       float m8, float m9, float m10, float m11, float m12, float m13, float m14,
                       float m15)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15}
    {
    }

    float4x4 operator*(const float4x4& o) const
    {
        // Each result row is a weighted sum of o's rows: four independent lanes per row that the
        // compiler turns into vector operations.
        float4x4 r;
        for (int row = 0; row < 4; ++row) {
            const float* a = m + row * 4;
            float* out = r.m + row * 4;
            out[0] = a[0] * o.m[0] + a[1] * o.m[4] + a[2] * o.m[8] + a[3] * o.m[12];
            out[1] = a[0] * o.m[1] + a[1] * o.m[5] + a[2] * o.m[9] + a[3] * o.m[13];
            out[2] = a[0] * o.m[2] + a[1] * o.m[6] + a[2] * o.m[10] + a[3] * o.m[14];
            out[3] = a[0] * o.m[3] + a[1] * o.m[7] + a[2] * o.m[11] + a[3] * o.m[15];
        }
        return r;
    }
    float4x4& operator*=(const float4x4& o) { return *this = *this * o; }

    // Column vector: M * v.
    float4 operator*(const float4& v) const
    {
        return float4(m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3] * v.w,
                      m[4] * v.x + m[5] * v.y + m[6] * v.z + m[7] * v.w,
                      m[8] * v.x + m[9] * v.y + m[10] * v.z + m[11] * v.w,
                      m[12] * v.x + m[13] * v.y + m[14] * v.z + m[15] * v.w);
    }

    void SetIdentity() { *this = float4x4(); }

    float4x4 Transpose() const;
    float4x4& TransposeThis();

    // A matrix whose determinant is exactly zero comes back unchanged.
    float4x4 Inverse() const;
    float4x4& InvertThis();

    // Diagonal matrix of the lengths of the first three columns.
    float4x4 ExtractScale() const;
    // The first three columns normalised, no translation.
    float4x4 ExtractRotation() const;
    // Identity with this matrix's translation.
    float4x4 ExtractTranslation() const;

    // View matrix for an eye looking along a direction (not at a target point).
    void SetLookAt(const float3& eye, const float3& direction, const float3& up);
    void SetOrthographic(float width, float height, float nearPlane, float farPlane);
    void SetOrthographic(float left, float right, float bottom, float top, float nearPlane, float farPlane);
    void SetPerspective(float fovY, float aspect, float nearPlane, float farPlane);
    void SetPerspective(float left, float right, float bottom, float top, float nearPlane, float farPlane);

    // Builders. Each overload writes into its own per-thread matrix (identity on first use) and
    // sets only the entries it owns; the next call of the same overload on the same thread
    // overwrites it, so copy the result before calling again. The axis of Rotate is used as
    // given (not normalised); RotateX and RotateY turn the opposite way to Rotate about the
    // same axis.
    static const float4x4& Rotate(const float3& axis, float angle);
    static const float4x4& Rotate(const float4& axis, float angle);
    static const float4x4& RotateX(float angle);
    static const float4x4& RotateY(float angle);
    static const float4x4& RotateZ(float angle);
    static const float4x4& Scale(const float2& s);
    static const float4x4& Scale(const float3& s);
    static const float4x4& Scale(const float4& s);
    static const float4x4& Scale(float x, float y, float z);
    static const float4x4& Translate(const float2& t);
    static const float4x4& Translate(const float3& t);
    static const float4x4& Translate(const float4& t);
    static const float4x4& Translate(float x, float y, float z);
};

} // namespace ZOR
