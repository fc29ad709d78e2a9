#pragma once

namespace ZOR {

// Degree conversions of the renderer's settings and files (field of view, spot cones, emitter
// cones, the sun's camera). The factors are single-precision on purpose: stored angles are
// the products of exactly these values.
inline constexpr float kDegreesToRadians = 0.017453292f;
inline constexpr float kRadiansToDegrees = 57.295776f;

} // namespace ZOR
