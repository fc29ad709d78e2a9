#pragma once
#include "renderer/math/Tolerance.h"

#include <cmath>

namespace ZOR {

struct float3;
struct float4;

struct float2 {
    float x, y;

    constexpr float2() : x(0.0f), y(0.0f) {}
    constexpr float2(float x_, float y_) : x(x_), y(y_) {}

    float2 operator+(const float2& o) const { return float2(x + o.x, y + o.y); }
    float2 operator-(const float2& o) const { return float2(x - o.x, y - o.y); }
    float2 operator-() const { return float2(-x, -y); }
    float2 operator*(const float2& o) const { return float2(x * o.x, y * o.y); }
    float2 operator*(float s) const { return float2(x * s, y * s); }
    float2 operator/(float s) const
    {
        const float inv = 1.0f / s;
        return float2(x * inv, y * inv);
    }

    float2& operator+=(const float2& o) { x += o.x; y += o.y; return *this; }
    float2& operator-=(const float2& o) { x -= o.x; y -= o.y; return *this; }
    float2& operator*=(const float2& o) { x *= o.x; y *= o.y; return *this; }
    float2& operator*=(float s) { x *= s; y *= s; return *this; }
    float2& operator/=(float s)
    {
        const float inv = 1.0f / s;
        x *= inv; y *= inv;
        return *this;
    }

    // Equal when every component differs by less than the tolerance.
    bool operator==(const float2& o) const { return NearZero(x - o.x) && NearZero(y - o.y); }

    void Set(float x_, float y_) { x = x_; y = y_; }
    void Set(const float2& o) { x = o.x; y = o.y; }
    void Set(const float3& o);
    void Set(const float4& o);

    float Dot(const float2& o) const { return x * o.x + y * o.y; }
    float Length() const { return std::sqrt(x * x + y * y); }
    float Distance(const float2& o) const { return (*this - o).Length(); }

    // A vector shorter than the tolerance is left as it is rather than blown up.
    void Normalize()
    {
        const float length = Length();
        if (NearZero(length))
            return;
        *this *= 1.0f / length;
    }
    float2 Normalized() const
    {
        float2 copy = *this;
        copy.Normalize();
        return copy;
    }
};

} // namespace ZOR
