#pragma once
#include "renderer/math/float3.h"

#include <cstdint>

namespace quellor {

// One point of contact between two colliders A and B (the owning contact's fixed order). The
// narrow phase fills the geometric fields; the solver owns the velocity and impulse fields.
// A new point is all zeros.
struct ContactPoint3D {
    std::uint8_t m_persisted = 0; // set once the point survives a later step
    ZOR::float3 m_pointA;         // world, on A's surface
    ZOR::float3 m_pointB;         // world, on B's surface
    ZOR::float3 m_localPointA;    // body A's frame
    ZOR::float3 m_localPointB;    // body B's frame
    ZOR::float3 m_normal;         // unit, from A towards B
    ZOR::float3 m_tangent1;
    ZOR::float3 m_tangent2;
    float m_depth = 0.0f; // positive when overlapping

    ZOR::float3 m_normalRelativeVelocity;
    ZOR::float3 m_tangentialRelativeVelocity;
    ZOR::float3 m_normalImpulse;
    ZOR::float3 m_frictionImpulse;
};

} // namespace quellor
