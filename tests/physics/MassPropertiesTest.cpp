#include "PhysicsTestSupport.h"
#include "physics/MassProperties3D.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/PolyhedronColliderGeometry3D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;
using ZOR::float3x3;

struct Mass {
    float mass = -1.0f;
    float3x3 inertia;
    float3 center;
};

Mass MassOf(const ColliderDescription3D& description)
{
    test::ColliderFactory factory;
    const Collider3D* collider = factory.Make(description);
    EXPECT_EQ(collider->m_geometry->GetType(), description.m_type);
    if (collider->m_mass > 0.0f)
        EXPECT_NEAR(collider->m_inverseMass * collider->m_mass, 1.0f, 1e-6f);
    else
        EXPECT_TRUE(std::isinf(collider->m_inverseMass)) << "no mass, no inverse";
    Mass result;
    result.mass = collider->m_mass;
    result.inertia = collider->m_inertia;
    result.center = collider->m_centerOfMass;
    return result;
}

float3x3 Diag(float x, float y, float z)
{
    return float3x3(x, 0, 0, 0, y, 0, 0, 0, z);
}

TEST(MassPropertiesTest, SimpleKindsGiveTheTextbookValues)
{
    const Mass sphere = MassOf(test::SphereDescription(float3(1, 2, 3), 1.0f));
    EXPECT_NEAR(sphere.mass, 4.0f / 3.0f * 3.14159265f, 1e-5f);
    ExpectNear(sphere.inertia, Diag(0.4f, 0.4f, 0.4f));
    ExpectNear(sphere.center, float3(1, 2, 3));

    const Mass box = MassOf(test::BoxDescription(float3(0, 1, 0), float3(1, 2, 3)));
    EXPECT_NEAR(box.mass, 48.0f, 1e-4f);
    ExpectNear(box.inertia, Diag(52.0f / 12.0f, 40.0f / 12.0f, 20.0f / 12.0f));
    ExpectNear(box.center, float3(0, 1, 0));

    const Mass quad = MassOf(test::QuadDescription(float3(0, 0, 5), 2.0f, 1.0f, float3x3(), 2.0f));
    EXPECT_NEAR(quad.mass, 16.0f, 1e-5f);
    ExpectNear(quad.inertia, Diag(16.0f / 12.0f, 20.0f / 12.0f, 4.0f / 12.0f));
    ExpectNear(quad.center, float3(0, 0, 5));
}

TEST(MassPropertiesTest, TurnedBoxAndQuadTurnTheirInertia)
{
    const Mass box = MassOf(test::BoxDescription(float3(), float3(1, 2, 3), test::QuarterTurnZ()));
    ExpectNear(box.inertia, Diag(40.0f / 12.0f, 52.0f / 12.0f, 20.0f / 12.0f));

    // Any turn keeps the tensor symmetric, with the same trace.
    const float3x3 turn = test::RotationX(0.3f) * test::RotationY(1.2f);
    const Mass turned = MassOf(test::BoxDescription(float3(), float3(1, 2, 3), turn));
    EXPECT_NEAR(turned.inertia.m[1], turned.inertia.m[3], 1e-5f);
    EXPECT_NEAR(turned.inertia.m[2], turned.inertia.m[6], 1e-5f);
    EXPECT_NEAR(turned.inertia.m[5], turned.inertia.m[7], 1e-5f);
    EXPECT_NEAR(turned.inertia.m[0] + turned.inertia.m[4] + turned.inertia.m[8], 112.0f / 12.0f, 1e-4f);

    const Mass quad = MassOf(test::QuadDescription(float3(), 2.0f, 1.0f, test::QuarterTurnZ()));
    ExpectNear(quad.inertia, Diag(20.0f / 12.0f, 16.0f / 12.0f, 4.0f / 12.0f));
}

TEST(MassPropertiesTest, UnitCubeHullMatchesTheEqualBoxWhateverItsWinding)
{
    const float3 center(0.5f, 0.5f, 0.5f), half(0.5f, 0.5f, 0.5f);
    const Mass box = MassOf(test::BoxDescription(center, half));
    for (const bool reversed : {false, true}) {
        const Mass hull = MassOf(test::HullDescription(test::BoxHull(center, half, reversed), 3.0f));
        EXPECT_NEAR(hull.mass, 3.0f, 1e-5f) << "reversed " << reversed;
        ExpectNear(hull.center, center);
        ExpectNear(hull.inertia, box.inertia);
        ExpectNear(hull.inertia, Diag(1.0f / 6.0f, 1.0f / 6.0f, 1.0f / 6.0f));
    }
}

TEST(MassPropertiesTest, FlatOrEmptyHullHasNoMassAndStaysFinite)
{
    // Four corners in the plane z = 1, closed up as a two-sided sheet.
    HullMesh3D flat;
    flat.AddVertex(float3(0, 0, 1));
    flat.AddVertex(float3(2, 0, 1));
    flat.AddVertex(float3(2, 2, 1));
    flat.AddVertex(float3(0, 2, 1));
    flat.AddFace(0, 1, 2);
    flat.AddFace(0, 2, 3);
    flat.AddFace(0, 2, 1);
    flat.AddFace(0, 3, 2);
    const Mass sheet = MassOf(test::HullDescription(flat));
    EXPECT_EQ(sheet.mass, 0.0f);
    ExpectNear(sheet.center, float3(1, 1, 1));
    ExpectNear(sheet.inertia, Diag(0, 0, 0));

    HullMesh3D points;
    points.AddVertex(float3(4, 0, 0));
    points.AddVertex(float3(0, 4, 0));
    const Mass faceless = MassOf(test::HullDescription(points));
    EXPECT_EQ(faceless.mass, 0.0f);
    ExpectNear(faceless.center, float3(2, 2, 0));
    for (float v : faceless.inertia.m)
        EXPECT_TRUE(std::isfinite(v));

    // The mesh kind carries no mass of its own.
    ColliderDescription3D mesh;
    mesh.m_type = kColliderMesh;
    mesh.m_hulls.push_back(test::UnitTetrahedron());
    const Mass meshMass = MassOf(mesh);
    EXPECT_EQ(meshMass.mass, 0.0f);
    ExpectNear(meshMass.inertia, Diag(0, 0, 0));
    ExpectNear(meshMass.center, float3(0, 0, 0));
}

TEST(MassPropertiesTest, DegenerateSimpleShapesStayFinite)
{
    const Mass sphere = MassOf(test::SphereDescription(float3(1, 1, 1), 0.0f));
    EXPECT_EQ(sphere.mass, 0.0f);
    ExpectNear(sphere.inertia, Diag(0, 0, 0));
    const Mass box = MassOf(test::BoxDescription(float3(), float3(0, 0, 0)));
    EXPECT_EQ(box.mass, 0.0f);
    ExpectNear(box.inertia, Diag(0, 0, 0));
}

TEST(MassPropertiesTest, TetrahedronInertiaAboutItsCentroid)
{
    // The corner tetrahedron has mass 1/6; about its centroid the moments are 1/80 and the
    // off-diagonal terms 1/480.
    const float3 g(0.25f, 0.25f, 0.25f);
    const float3x3 inertia =
        TetrahedronInertia(float3(0, 0, 0), float3(1, 0, 0), float3(0, 1, 0), float3(0, 0, 1), g);
    const float d = 1.0f / 80.0f, o = 1.0f / 480.0f;
    ExpectNear(inertia, float3x3(d, o, o, o, d, o, o, o, d), 1e-6f);

    // The same tetrahedron described from another corner, moved away: only the placement
    // changes, so the moments about its own centroid stay.
    const float3 shift(3, -2, 5);
    const float3x3 moved = TetrahedronInertia(float3(1, 0, 0) + shift, float3(0, 1, 0) + shift,
                                              float3(0, 0, 0) + shift, float3(0, 0, 1) + shift, g + shift);
    ExpectNear(moved, inertia, 1e-5f);
}

TEST(MassPropertiesTest, ParallelAxisShift)
{
    const float3x3 inertia(1, 2, 3, 2, 4, 5, 3, 5, 6);
    ExpectNear(ParallelAxis(inertia, float3(0, 0, 0), 7.0f), inertia);
    // A point mass of 2 at distance 1 along x: 2 about y and z, nothing about x.
    ExpectNear(ParallelAxis(Diag(0, 0, 0), float3(1, 0, 0), 2.0f), Diag(0, 2, 2));
    ExpectNear(ParallelAxis(Diag(0, 0, 0), float3(1, 1, 0), 1.0f), float3x3(1, -1, 0, -1, 1, 0, 0, 0, 2));
}

} // namespace
} // namespace quellor
