#pragma once
#include "physics/CollisionFilter3D.h"
#include "physics/HullMesh3D.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>
#include <vector>

namespace quellor {

// Geometry kinds, as stored in a description's and a geometry's type byte.
enum ColliderType3D : std::uint8_t {
    kColliderSphere = 0,
    kColliderQuad = 1,
    kColliderPolyhedron = 2,
    kColliderBox = 3,
    kColliderMesh = 4,
    kColliderNone = 255, // a geometry base without a kind
};

// Shape data of each kind, all in the owning body's frame.
struct SphereShape3D {
    ZOR::float3 center;
    float radius = 0.0f;
};

// A rectangle in the plane y = 0 of its own frame (x along the width, z along the height),
// placed by x_body = center + rotation x_quad.
struct QuadShape3D {
    ZOR::float3 center;
    ZOR::float3x3 rotation;
    float halfWidth = 0.0f;
    float halfHeight = 0.0f;
};

// Placed by x_body = center + rotation x_box.
struct BoxShape3D {
    ZOR::float3 center;
    ZOR::float3 halfExtents;
    ZOR::float3x3 rotation;
};

// Everything a collider is built from. Only the shape data of m_type is read.
struct ColliderDescription3D {
    float m_density = 1.0f;
    float m_restitution = 0.4f;
    float m_friction = 1.0f;
    std::uint8_t m_type = kColliderNone;
    std::uint8_t m_sensor = 0;
    CollisionFilter3D m_filter;
    void* m_userData = nullptr; // the collider component that made the collider

    SphereShape3D m_sphere;
    QuadShape3D m_quad;
    BoxShape3D m_box;
    HullMesh3D m_hull;               // polyhedron
    std::vector<HullMesh3D> m_hulls; // mesh: one hull per convex piece
};

} // namespace quellor
