#pragma once
#include "engine/BlockPool.h"
#include "engine/SmallBlockAllocator.h"
#include "physics/Collider3D.h"
#include "physics/HullMesh3D.h"
#include "physics/PhysicsDebugDraw3D.h"
#include "physics/RigidBody3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

namespace quellor::test {

inline ZOR::float3x3 RotationX(float a)
{
    const float c = std::cos(a), s = std::sin(a);
    return ZOR::float3x3(1, 0, 0, 0, c, -s, 0, s, c);
}

inline ZOR::float3x3 RotationY(float a)
{
    const float c = std::cos(a), s = std::sin(a);
    return ZOR::float3x3(c, 0, s, 0, 1, 0, -s, 0, c);
}

inline ZOR::float3x3 RotationZ(float a)
{
    const float c = std::cos(a), s = std::sin(a);
    return ZOR::float3x3(c, -s, 0, s, c, 0, 0, 0, 1);
}

// Exact quarter turns about z, so expectations can be written down by hand.
inline ZOR::float3x3 QuarterTurnZ()
{
    return ZOR::float3x3(0, -1, 0, 1, 0, 0, 0, 0, 1);
}

inline void ExpectNear(const ZOR::float3& actual, const ZOR::float3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectNear(const ZOR::float3x3& actual, const ZOR::float3x3& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "entry " << i;
}

inline BodyDescription3D BodyAt(const ZOR::float3& position, const ZOR::float3x3& rotation = ZOR::float3x3())
{
    BodyDescription3D description;
    description.m_position = position;
    description.m_rotation = rotation;
    return description;
}

// A collider pool and a small-block allocator as the world makes them, which builds colliders
// and destroys whatever is left when it goes.
class ColliderFactory {
public:
    ColliderFactory()
        : m_pool(sizeof(Collider3D), 4096, 1, alignof(Collider3D)),
          m_allocator(4096, 1, alignof(std::max_align_t))
    {
    }
    ~ColliderFactory()
    {
        for (Collider3D* collider : m_colliders)
            DestroyCollider3D(collider, m_pool, m_allocator);
    }

    // Builds the collider and, when a body is given, places it on that body.
    Collider3D* Make(const ColliderDescription3D& description, RigidBody3D* body = nullptr)
    {
        Collider3D* collider = CreateCollider3D(description, m_pool, m_allocator);
        if (collider) {
            collider->m_body = body;
            m_colliders.push_back(collider);
        }
        return collider;
    }

    void Destroy(Collider3D* collider)
    {
        std::erase(m_colliders, collider);
        DestroyCollider3D(collider, m_pool, m_allocator);
    }

    BlockPool& Pool() { return m_pool; }
    SmallBlockAllocator& Allocator() { return m_allocator; }

private:
    BlockPool m_pool;
    SmallBlockAllocator m_allocator;
    std::vector<Collider3D*> m_colliders;
};

inline ColliderDescription3D SphereDescription(const ZOR::float3& center, float radius, float density = 1.0f)
{
    ColliderDescription3D description;
    description.m_type = kColliderSphere;
    description.m_density = density;
    description.m_sphere.center = center;
    description.m_sphere.radius = radius;
    return description;
}

inline ColliderDescription3D BoxDescription(const ZOR::float3& center, const ZOR::float3& halfExtents,
                                            const ZOR::float3x3& rotation = ZOR::float3x3(), float density = 1.0f)
{
    ColliderDescription3D description;
    description.m_type = kColliderBox;
    description.m_density = density;
    description.m_box.center = center;
    description.m_box.halfExtents = halfExtents;
    description.m_box.rotation = rotation;
    return description;
}

inline ColliderDescription3D QuadDescription(const ZOR::float3& center, float halfWidth, float halfHeight,
                                             const ZOR::float3x3& rotation = ZOR::float3x3(), float density = 1.0f)
{
    ColliderDescription3D description;
    description.m_type = kColliderQuad;
    description.m_density = density;
    description.m_quad.center = center;
    description.m_quad.rotation = rotation;
    description.m_quad.halfWidth = halfWidth;
    description.m_quad.halfHeight = halfHeight;
    return description;
}

inline ColliderDescription3D HullDescription(const HullMesh3D& hull, float density = 1.0f)
{
    ColliderDescription3D description;
    description.m_type = kColliderPolyhedron;
    description.m_density = density;
    description.m_hull = hull;
    return description;
}

// The eight corners of an axis-aligned box, vertex k taking -half on axis i when bit i is set.
inline std::vector<ZOR::float3> BoxCorners(const ZOR::float3& center, const ZOR::float3& half)
{
    std::vector<ZOR::float3> corners;
    for (int k = 0; k < 8; ++k)
        corners.push_back(center + ZOR::float3((k & 1) ? -half.x : half.x, (k & 2) ? -half.y : half.y,
                                               (k & 4) ? -half.z : half.z));
    return corners;
}

// The twelve outward counter-clockwise triangles of a box built from BoxCorners.
inline std::vector<int> BoxTriangles()
{
    // Corner index bits: 1 = -x, 2 = -y, 4 = -z. Faces listed counter-clockwise from outside.
    return {0, 2, 6, 0, 6, 4,  // +x: corners 0 2 6 4
            1, 5, 7, 1, 7, 3,  // -x: corners 1 5 7 3
            0, 4, 5, 0, 5, 1,  // +y: corners 0 4 5 1
            2, 3, 7, 2, 7, 6,  // -y: corners 2 3 7 6
            0, 1, 3, 0, 3, 2,  // +z: corners 0 1 3 2
            4, 6, 7, 4, 7, 5}; // -z: corners 4 6 7 5
}

inline HullMesh3D BoxHull(const ZOR::float3& center, const ZOR::float3& half, bool reversed = false)
{
    HullMesh3D hull;
    for (const ZOR::float3& corner : BoxCorners(center, half))
        hull.AddVertex(corner);
    const std::vector<int> triangles = BoxTriangles();
    for (std::size_t k = 0; k < triangles.size(); k += 3) {
        if (reversed)
            hull.AddFace(triangles[k], triangles[k + 2], triangles[k + 1]);
        else
            hull.AddFace(triangles[k], triangles[k + 1], triangles[k + 2]);
    }
    return hull;
}

// Corners (0,0,0), (1,0,0), (0,1,0), (0,0,1) with outward counter-clockwise faces.
inline HullMesh3D UnitTetrahedron()
{
    HullMesh3D hull;
    hull.AddVertex(ZOR::float3(0, 0, 0));
    hull.AddVertex(ZOR::float3(1, 0, 0));
    hull.AddVertex(ZOR::float3(0, 1, 0));
    hull.AddVertex(ZOR::float3(0, 0, 1));
    hull.AddFace(0, 2, 1);
    hull.AddFace(0, 1, 3);
    hull.AddFace(0, 3, 2);
    hull.AddFace(1, 2, 3);
    return hull;
}

// Keeps every call so tests can look at what was drawn.
class RecordingDebugDraw : public PhysicsDebugDraw3D {
public:
    struct Line {
        ZOR::float3 from, to;
        std::uint32_t colour;
    };
    struct Sphere {
        ZOR::float3 centre;
        float radius;
        ZOR::float3x3 rotation;
        std::uint32_t colour;
    };

    void DrawLine(const ZOR::float3& from, const ZOR::float3& to, std::uint32_t colour) override
    {
        lines.push_back({from, to, colour});
    }
    void DrawSphere(const ZOR::float3& centre, float radius, const ZOR::float3x3& rotation,
                    std::uint32_t colour) override
    {
        spheres.push_back({centre, radius, rotation, colour});
    }
    void DrawAABB(const ZOR::float3&, const ZOR::float3&, std::uint32_t) override { ++others; }
    void DrawBox(const ZOR::float3&, const ZOR::float3&, const ZOR::float3x3&, std::uint32_t) override { ++others; }
    void DrawQuad(const ZOR::float3&, float, float, const ZOR::float3x3&, std::uint32_t) override { ++others; }
    void DrawProxy(const BroadphaseProxy3D&, std::uint32_t) override { ++others; }

    std::vector<Line> lines;
    std::vector<Sphere> spheres;
    int others = 0;
};

} // namespace quellor::test
