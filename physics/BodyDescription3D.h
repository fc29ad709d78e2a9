#pragma once
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>

namespace quellor {

// Motion types of a body.
enum BodyMotionType3D : std::uint8_t {
    kBodyStatic = 0,
    kBodyDynamic = 1,
    kBodyFixed = 2, // does not move, but keeps the velocities it is given
};

// Description flags.
enum BodyDescriptionFlags3D : std::uint8_t {
    kBodyAllowRotation = 1,
    kBodyHasGravity = 2,
};

// Everything a body is built from (the rigid-body component fills it).
struct BodyDescription3D {
    std::uint8_t m_motionType = kBodyDynamic;
    std::uint8_t m_flags = kBodyAllowRotation | kBodyHasGravity;
    ZOR::float3 m_position;
    ZOR::float3 m_linearVelocity;
    ZOR::float3 m_angularVelocity; // radians per second, world axes
    ZOR::float3x3 m_rotation;      // columns are the body axes in world space
    void* m_userData = nullptr;    // the owning rigid-body component
};

} // namespace quellor
