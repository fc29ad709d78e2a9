#pragma once
#include "renderer/math/Tolerance.h"
#include "renderer/math/float2.h"

#include <cmath>

namespace ZOR {

struct float4;

struct float3 {
    float x, y, z;

    constexpr float3() : x(0.0f), y(0.0f), z(0.0f) {}
    constexpr float3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float3 operator+(const float3& o) const { return float3(x + o.x, y + o.y, z + o.z); }
    float3 operator-(const float3& o) const { return float3(x - o.x, y - o.y, z - o.z); }
    float3 operator-() const { return float3(-x, -y, -z); }
    float3 operator*(const float3& o) const { return float3(x * o.x, y * o.y, z * o.z); }
    float3 operator*(float s) const { return float3(x * s, y * s, z * s); }
    float3 operator/(float s) const
    {
        const float inv = 1.0f / s;
        return float3(x * inv, y * inv, z * inv);
    }

    float3& operator+=(const float3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    float3& operator-=(const float3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    float3& operator*=(const float3& o) { x *= o.x; y *= o.y; z *= o.z; return *this; }
    float3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    float3& operator/=(float s)
    {
        const float inv = 1.0f / s;
        x *= inv; y *= inv; z *= inv;
        return *this;
    }

    // Equal when every component differs by less than the tolerance.
    bool operator==(const float3& o) const
    {
        return NearZero(x - o.x) && NearZero(y - o.y) && NearZero(z - o.z);
    }

    void Set(float x_, float y_, float z_) { x = x_; y = y_; z = z_; }
    void Set(const float3& o) { x = o.x; y = o.y; z = o.z; }
    void Set(const float4& o);
    void Set(const float2& xy, float z_) { x = xy.x; y = xy.y; z = z_; }

    float Dot(const float3& o) const { return x * o.x + y * o.y + z * o.z; }
    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    float Distance(const float3& o) const { return (*this - o).Length(); }

    // A vector shorter than the tolerance is left as it is rather than blown up.
    void Normalize()
    {
        const float length = Length();
        if (NearZero(length))
            return;
        *this *= 1.0f / length;
    }
    float3 Normalized() const
    {
        float3 copy = *this;
        copy.Normalize();
        return copy;
    }

    float3 Cross(const float3& b) const
    {
        return float3(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
    }

    // Index of the largest of x, y, z; equal values give the later index.
    int MajorComponent() const
    {
        if (x > y)
            return x > z ? 0 : 2;
        return y > z ? 1 : 2;
    }
    // Index of the smallest of x, y, z; equal values give the later index.
    int MinorComponent() const
    {
        if (x < y)
            return x < z ? 0 : 2;
        return y < z ? 1 : 2;
    }
};

} // namespace ZOR
