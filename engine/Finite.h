#pragma once
// Finiteness tests and guards for values that arrive from data or other components, so that a
// value that is not a number does not spread through physics, cameras or the motor.
#include "engine/graphics/Convert.h"
#include "engine/reflection/Vec4.h"
#include "renderer/math/float3.h"

#include <cmath>

namespace quellor {

inline bool IsFinite(const ZOR::float3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// All four parts.
inline bool IsFinite(const Vec4& v)
{
    return IsFinite(ToFloat3(v)) && std::isfinite(v.w);
}

// The value, or 0 when it is not a finite number.
inline float FiniteOrZero(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

// Each part through FiniteOrZero.
inline Vec4 FiniteOrZero(const Vec4& v)
{
    return Vec4(FiniteOrZero(v.x), FiniteOrZero(v.y), FiniteOrZero(v.z), FiniteOrZero(v.w));
}

} // namespace quellor
