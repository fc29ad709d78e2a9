#pragma once
#include "renderer/math/float3.h"

namespace quellor {

// A ray in world space: where it starts and its unit direction. Casts report hits as a fraction
// of the maximum distance they are given.
struct Ray3D {
    ZOR::float3 origin;
    ZOR::float3 direction;
};

} // namespace quellor
