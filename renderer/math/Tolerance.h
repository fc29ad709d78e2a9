#pragma once

namespace ZOR {

// Single-precision near-zero tolerance shared by every comparison and guard of the math types.
inline constexpr float kEpsilon = 1e-5f;

// Strictly inside (-kEpsilon, kEpsilon).
inline constexpr bool NearZero(float value)
{
    return value > -kEpsilon && value < kEpsilon;
}

} // namespace ZOR
