#pragma once
#include "renderer/math/float3.h"

#include <cstdint>

namespace quellor {

class Collider3D;

// Outcome of a ray cast; everything is zero on a miss until the world fills in the ray and its
// end point.
struct RayCastResult3D {
    std::uint8_t m_hit = 0;
    ZOR::float3 m_origin;
    ZOR::float3 m_direction; // unit
    float m_fraction = 0.0f; // of the maximum distance
    ZOR::float3 m_point;
    ZOR::float3 m_normal;
    Collider3D* m_collider = nullptr;
};

} // namespace quellor
