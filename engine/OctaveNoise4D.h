#pragma once

namespace quellor {

// Fractal 4D simplex noise: octaves of noise at doubling frequencies (the first at scale), each
// weighted by persistence to the power of its index, normalised by the sum of the weights.
// The result lies within [-1, 1]. Not a number when octaves is not a positive finite count or
// a scaled coordinate is not finite or not within int range. Free of shared state.
float OctaveNoise4D(float octaves, float persistence, float scale, float x, float y, float z, float w);

} // namespace quellor
