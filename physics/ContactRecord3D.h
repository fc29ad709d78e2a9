#pragma once
#include "renderer/math/float3.h"

#include <cstdint>

namespace quellor {

class ColliderComponent3D;
class Collider3D;
class Contact3D;

// One contact point as seen from one collider: the point lies on the other collider and the
// normal points from the other collider towards this one. The solver vectors keep the
// contact's own orientation (from A's side).
struct ContactRecordPoint3D {
    ZOR::float3 m_point;
    ZOR::float3 m_normal;
    float m_depth = 0.0f;
    ZOR::float3 m_normalRelativeVelocity;
    ZOR::float3 m_tangentialRelativeVelocity;
    ZOR::float3 m_normalImpulse;
    ZOR::float3 m_frictionImpulse;
};

// A flat per-frame copy of one contact, from one of its colliders' side.
struct ContactRecord3D {
    std::uint8_t m_pointCount = 0;
    ContactRecordPoint3D m_points[4];
    std::uint8_t m_wasTouching = 0;
    std::uint8_t m_touching = 0;
    ColliderComponent3D* m_other = nullptr; // the other collider's user data
};

// The record of contact as seen from self, which must be one of its two colliders.
ContactRecord3D MakeContactRecord3D(const Contact3D& contact, const Collider3D* self);

} // namespace quellor
