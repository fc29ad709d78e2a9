#pragma once

namespace ZOR {

// RGBA colour; opaque black by default. Scalar products and quotients scale alpha too.
struct Color {
    float r, g, b, a;

    constexpr Color() : r(0.0f), g(0.0f), b(0.0f), a(1.0f) {}
    constexpr Color(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}

    Color operator+(const Color& o) const { return Color(r + o.r, g + o.g, b + o.b, a + o.a); }
    Color operator-(const Color& o) const { return Color(r - o.r, g - o.g, b - o.b, a - o.a); }
    Color operator*(const Color& o) const { return Color(r * o.r, g * o.g, b * o.b, a * o.a); }
    Color operator/(const Color& o) const { return Color(r / o.r, g / o.g, b / o.b, a / o.a); }
    Color operator*(float s) const { return Color(r * s, g * s, b * s, a * s); }
    Color operator/(float s) const
    {
        const float inv = 1.0f / s;
        return Color(r * inv, g * inv, b * inv, a * inv);
    }

    Color& operator+=(const Color& o) { r += o.r; g += o.g; b += o.b; a += o.a; return *this; }
    Color& operator-=(const Color& o) { r -= o.r; g -= o.g; b -= o.b; a -= o.a; return *this; }
    Color& operator*=(const Color& o) { r *= o.r; g *= o.g; b *= o.b; a *= o.a; return *this; }
    Color& operator/=(const Color& o) { r /= o.r; g /= o.g; b /= o.b; a /= o.a; return *this; }
    Color& operator*=(float s) { r *= s; g *= s; b *= s; a *= s; return *this; }
    Color& operator/=(float s)
    {
        const float inv = 1.0f / s;
        r *= inv; g *= inv; b *= inv; a *= inv;
        return *this;
    }

    void Set(float r_, float g_, float b_, float a_) { r = r_; g = g_; b = b_; a = a_; }
};

} // namespace ZOR
