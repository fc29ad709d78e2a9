#include "engine/Easing.h"

#include <cmath>

namespace quellor::Easing {

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kBackOvershoot = 1.70158f;
constexpr float kBackInOutOvershoot = 2.5949094f; // 1.70158 x 1.525

// Powers of two are taken in double precision and narrowed.
float Pow2(float exponent)
{
    return static_cast<float>(std::pow(2.0, static_cast<double>(exponent)));
}

} // namespace

float Linear(float t, float b, float c, float d)
{
    return c * t / d + b;
}

float BackIn(float t, float b, float c, float d)
{
    const float s = kBackOvershoot;
    t /= d;
    return c * t * t * ((s + 1.0f) * t - s) + b;
}

float BackOut(float t, float b, float c, float d)
{
    const float s = kBackOvershoot;
    t = t / d - 1.0f;
    return c * (t * t * ((s + 1.0f) * t + s) + 1.0f) + b;
}

float BackInOut(float t, float b, float c, float d)
{
    const float s = kBackInOutOvershoot;
    t /= d / 2.0f;
    if (t < 1.0f)
        return c / 2.0f * (t * t * ((s + 1.0f) * t - s)) + b;
    t -= 2.0f;
    return c / 2.0f * (t * t * ((s + 1.0f) * t + s) + 2.0f) + b;
}

float ElasticIn(float t, float b, float c, float d)
{
    if (t == 0.0f)
        return b;
    t /= d;
    if (t == 1.0f)
        return b + c;
    const float p = d * 0.3f;
    const float s = p / 4.0f;
    t -= 1.0f;
    return b - c * Pow2(10.0f * t) * std::sin((t * d - s) * (2.0f * kPi) / p);
}

float ElasticOut(float t, float b, float c, float d)
{
    if (t == 0.0f)
        return b;
    t /= d;
    if (t == 1.0f)
        return b + c;
    const float p = d * 0.3f;
    const float s = p / 4.0f;
    return c * Pow2(-10.0f * t) * std::sin((t * d - s) * (2.0f * kPi) / p) + c + b;
}

float ElasticInOut(float t, float b, float c, float d)
{
    if (t == 0.0f)
        return b;
    t /= d / 2.0f;
    if (t == 2.0f)
        return b + c;
    const float p = d * 0.45f;
    const float s = p / 4.0f;
    t -= 1.0f;
    if (t < 0.0f)
        return b - 0.5f * c * Pow2(10.0f * t) * std::sin((t * d - s) * (2.0f * kPi) / p);
    return 0.5f * c * Pow2(-10.0f * t) * std::sin((t * d - s) * (2.0f * kPi) / p) + c + b;
}

// Starts exactly at b and, by design, ends 0.001 c short of b + c; the tween itself writes
// the exact end value when its time is up.
float ExponentialIn(float t, float b, float c, float d)
{
    if (t == 0.0f)
        return b;
    return Pow2(10.0f * (t / d - 1.0f)) * c + b - 0.001f * c;
}

float ExponentialOut(float t, float b, float c, float d)
{
    if (t == d)
        return b + c;
    return (1.0f - Pow2(-10.0f * t / d)) * c + b;
}

float ExponentialInOut(float t, float b, float c, float d)
{
    if (t == 0.0f)
        return b;
    if (t == d)
        return b + c;
    t /= d / 2.0f;
    if (t < 1.0f)
        return c / 2.0f * Pow2(10.0f * (t - 1.0f)) + b;
    t -= 1.0f;
    return c / 2.0f * (2.0f - Pow2(-10.0f * t)) + b;
}

float SineIn(float t, float b, float c, float d)
{
    return (1.0f - std::cos(t / d * (kPi / 2.0f))) * c + b;
}

float SineOut(float t, float b, float c, float d)
{
    return std::sin(t / d * (kPi / 2.0f)) * c + b;
}

float SineInOut(float t, float b, float c, float d)
{
    return b - (std::cos(kPi * t / d) - 1.0f) * c / 2.0f;
}

float CircularIn(float t, float b, float c, float d)
{
    t /= d;
    return b - (std::sqrt(1.0f - t * t) - 1.0f) * c;
}

float CircularOut(float t, float b, float c, float d)
{
    t = t / d - 1.0f;
    return std::sqrt(1.0f - t * t) * c + b;
}

float CircularInOut(float t, float b, float c, float d)
{
    t /= d / 2.0f;
    if (t < 1.0f)
        return b - c / 2.0f * (std::sqrt(1.0f - t * t) - 1.0f);
    t -= 2.0f;
    return c / 2.0f * (std::sqrt(1.0f - t * t) + 1.0f) + b;
}

float CubicIn(float t, float b, float c, float d)
{
    t /= d;
    return c * t * t * t + b;
}

float CubicOut(float t, float b, float c, float d)
{
    t = t / d - 1.0f;
    return c * (t * t * t + 1.0f) + b;
}

float CubicInOut(float t, float b, float c, float d)
{
    t /= d / 2.0f;
    if (t < 1.0f)
        return c / 2.0f * t * t * t + b;
    t -= 2.0f;
    return c / 2.0f * (t * t * t + 2.0f) + b;
}

float QuadraticIn(float t, float b, float c, float d)
{
    t /= d;
    return c * t * t + b;
}

float QuadraticOut(float t, float b, float c, float d)
{
    t /= d;
    return -c * t * (t - 2.0f) + b;
}

float QuadraticInOut(float t, float b, float c, float d)
{
    t /= d / 2.0f;
    if (t < 1.0f)
        return c / 2.0f * t * t + b;
    t -= 1.0f;
    return -c / 2.0f * (t * (t - 2.0f) - 1.0f) + b;
}

EasingFunction Get(int index)
{
    static constexpr EasingFunction kCurves[kCount] = {
        Linear,        BackIn,         BackOut,          BackInOut,  ElasticIn,     ElasticOut,
        ElasticInOut,  ExponentialIn,  ExponentialOut,   ExponentialInOut, SineIn,  SineOut,
        SineInOut,     CircularIn,     CircularOut,      CircularInOut,    CubicIn, CubicOut,
        CubicInOut,    QuadraticIn,    QuadraticOut,     QuadraticInOut,
    };
    if (index < 0 || index >= kCount)
        return Linear;
    return kCurves[index];
}

} // namespace quellor::Easing
