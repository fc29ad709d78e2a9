#pragma once
#include "renderer/math/Tolerance.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"

#include <cmath>

namespace ZOR {

// Four floats; w defaults to 0, so a default float4 is a direction, not a point.
struct float4 {
    float x, y, z, w;

    constexpr float4() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}
    constexpr float4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    float4 operator+(const float4& o) const { return float4(x + o.x, y + o.y, z + o.z, w + o.w); }
    float4 operator-(const float4& o) const { return float4(x - o.x, y - o.y, z - o.z, w - o.w); }
    float4 operator-() const { return float4(-x, -y, -z, -w); }
    float4 operator*(const float4& o) const { return float4(x * o.x, y * o.y, z * o.z, w * o.w); }
    float4 operator*(float s) const { return float4(x * s, y * s, z * s, w * s); }
    float4 operator/(float s) const
    {
        const float inv = 1.0f / s;
        return float4(x * inv, y * inv, z * inv, w * inv);
    }

    float4& operator+=(const float4& o) { x += o.x; y += o.y; z += o.z; w += o.w; return *this; }
    float4& operator-=(const float4& o) { x -= o.x; y -= o.y; z -= o.z; w -= o.w; return *this; }
    float4& operator*=(const float4& o) { x *= o.x; y *= o.y; z *= o.z; w *= o.w; return *this; }
    float4& operator*=(float s) { x *= s; y *= s; z *= s; w *= s; return *this; }
    float4& operator/=(float s)
    {
        const float inv = 1.0f / s;
        x *= inv; y *= inv; z *= inv; w *= inv;
        return *this;
    }

    // Equal when every component, w included, differs by less than the tolerance.
    bool operator==(const float4& o) const
    {
        return NearZero(x - o.x) && NearZero(y - o.y) && NearZero(z - o.z) && NearZero(w - o.w);
    }

    void Set(float x_, float y_, float z_, float w_) { x = x_; y = y_; z = z_; w = w_; }
    void Set(const float4& o) { x = o.x; y = o.y; z = o.z; w = o.w; }
    void Set(const float2& xy, float z_, float w_) { x = xy.x; y = xy.y; z = z_; w = w_; }
    void Set(const float3& xyz, float w_) { x = xyz.x; y = xyz.y; z = xyz.z; w = w_; }

    // Dot, length, distance and normalisation all include w.
    float Dot(const float4& o) const { return x * o.x + y * o.y + z * o.z + w * o.w; }
    float Length() const { return std::sqrt(x * x + y * y + z * z + w * w); }
    float Distance(const float4& o) const { return (*this - o).Length(); }

    void Normalize()
    {
        const float length = Length();
        if (NearZero(length))
            return;
        *this *= 1.0f / length;
    }
    float4 Normalized() const
    {
        float4 copy = *this;
        copy.Normalize();
        return copy;
    }

    // Cross product of the x, y, z parts; the result is a direction (w = 0).
    float4 Cross(const float4& b) const
    {
        return float4(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x, 0.0f);
    }

    // Index of the largest / smallest of x, y, z (w is not looked at); ties give the later index.
    int MajorComponent() const
    {
        if (x > y)
            return x > z ? 0 : 2;
        return y > z ? 1 : 2;
    }
    int MinorComponent() const
    {
        if (x < y)
            return x < z ? 0 : 2;
        return y < z ? 1 : 2;
    }
};

} // namespace ZOR
