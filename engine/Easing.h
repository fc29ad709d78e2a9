#pragma once
// The 22 easing curves of the tweens (Robert Penner's equations). Each takes
// (t, b, c, d) = (elapsed, begin, change, duration) and returns the value at t.
namespace quellor {

using EasingFunction = float (*)(float t, float b, float c, float d);

namespace Easing {

constexpr int kCount = 22;

// The indices by name, for the code that picks a curve.
enum Index : int {
    kLinear = 0,
    kBackIn = 1,
    kBackOut = 2,
    kBackInOut = 3,
    kElasticIn = 4,
    kElasticOut = 5,
    kElasticInOut = 6,
    kExponentialIn = 7,
    kExponentialOut = 8,
    kExponentialInOut = 9,
    kSineIn = 10,
    kSineOut = 11,
    kSineInOut = 12,
    kCircularIn = 13,
    kCircularOut = 14,
    kCircularInOut = 15,
    kCubicIn = 16,
    kCubicOut = 17,
    kCubicInOut = 18,
    kQuadraticIn = 19,
    kQuadraticOut = 20,
    kQuadraticInOut = 21,
};

// The curve of an index: 0 linear, 1-3 back, 4-6 elastic, 7-9 exponential, 10-12 sine,
// 13-15 circular, 16-18 cubic, 19-21 quadratic (in, out, in-out). Any other index is linear.
EasingFunction Get(int index);

float Linear(float t, float b, float c, float d);
float BackIn(float t, float b, float c, float d);
float BackOut(float t, float b, float c, float d);
float BackInOut(float t, float b, float c, float d);
float ElasticIn(float t, float b, float c, float d);
float ElasticOut(float t, float b, float c, float d);
float ElasticInOut(float t, float b, float c, float d);
float ExponentialIn(float t, float b, float c, float d);
float ExponentialOut(float t, float b, float c, float d);
float ExponentialInOut(float t, float b, float c, float d);
float SineIn(float t, float b, float c, float d);
float SineOut(float t, float b, float c, float d);
float SineInOut(float t, float b, float c, float d);
float CircularIn(float t, float b, float c, float d);
float CircularOut(float t, float b, float c, float d);
float CircularInOut(float t, float b, float c, float d);
float CubicIn(float t, float b, float c, float d);
float CubicOut(float t, float b, float c, float d);
float CubicInOut(float t, float b, float c, float d);
float QuadraticIn(float t, float b, float c, float d);
float QuadraticOut(float t, float b, float c, float d);
float QuadraticInOut(float t, float b, float c, float d);

} // namespace Easing
} // namespace quellor
