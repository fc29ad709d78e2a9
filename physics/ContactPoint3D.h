#pragma once
#include "renderer/math/float3.h"

#include <cstdint>

namespace quellor {

// One row of the contact solver: the linear and angular parts for body A and for body B.
struct ContactJacobian3D {
    ZOR::float3 m_linearA;
    ZOR::float3 m_angularA;
    ZOR::float3 m_linearB;
    ZOR::float3 m_angularB;
};

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

    // Solver rows: the normal and the two friction directions. Each row's effective mass is
    // 1 / denominator, or 0 when neither body can be moved along it.
    ContactJacobian3D m_normalRow;
    ContactJacobian3D m_tangent1Row;
    ContactJacobian3D m_tangent2Row;
    float m_normalMass = 0.0f;
    float m_tangent1Mass = 0.0f;
    float m_tangent2Mass = 0.0f;
    float m_velocityTarget = 0.0f;
    float m_accumulatedNormalImpulse = 0.0f; // within one step
    float m_savedNormalImpulse = 0.0f;       // from the previous step, for warm starting
    float m_accumulatedFriction1 = 0.0f;
    float m_accumulatedFriction2 = 0.0f;

    ZOR::float3 m_normalRelativeVelocity;
    ZOR::float3 m_tangentialRelativeVelocity;
    // What the last step applied, in world space, for readers outside the solver.
    ZOR::float3 m_normalImpulse;
    ZOR::float3 m_frictionImpulse;
};

} // namespace quellor
