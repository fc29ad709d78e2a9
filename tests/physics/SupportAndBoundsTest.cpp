#include "PhysicsTestSupport.h"
#include "physics/ColliderGeometry3D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace quellor {
namespace {

using test::ColliderFactory;
using test::ExpectNear;
using ZOR::float3;

// The tight box of world points.
void TightBox(const std::vector<float3>& points, float3& lo, float3& hi)
{
    lo = float3(FLT_MAX, FLT_MAX, FLT_MAX);
    hi = float3(-FLT_MAX, -FLT_MAX, -FLT_MAX);
    for (const float3& p : points) {
        lo = float3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = float3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
}

std::vector<float3> ToWorld(const RigidBody3D& body, const std::vector<float3>& points)
{
    std::vector<float3> world;
    for (const float3& p : points)
        world.push_back(body.m_position + body.m_rotation * p);
    return world;
}

TEST(SupportTest, CubeHullSupportMatchesTheBestVertexInEveryDirection)
{
    const HullMesh3D cube = test::BoxHull(float3(0.5f, 0.5f, 0.5f), float3(0.5f, 0.5f, 0.5f));
    const std::vector<float3> corners = test::BoxCorners(float3(0.5f, 0.5f, 0.5f), float3(0.5f, 0.5f, 0.5f));
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dz = -1; dz <= 1; ++dz) {
                if (dx == 0 && dy == 0 && dz == 0)
                    continue;
                // Slightly off the axes too, so a unique best vertex must be found.
                for (const float skew : {0.0f, 0.1f}) {
                    const float3 d(dx + skew, dy + 0.5f * skew, dz - 0.3f * skew);
                    float best = -FLT_MAX;
                    for (const float3& c : corners)
                        best = std::max(best, d.Dot(c));
                    const float3 s = cube.Support(d);
                    EXPECT_GE(d.Dot(s), best - 1e-5f) << dx << " " << dy << " " << dz << " skew " << skew;
                    EXPECT_TRUE(std::find(corners.begin(), corners.end(), s) != corners.end());
                }
            }
        }
    }
}

TEST(SupportTest, SimpleKindsSupportInTheBodyFrame)
{
    ColliderFactory factory;
    Collider3D* sphere = factory.Make(test::SphereDescription(float3(1, 2, 3), 2.0f));
    ExpectNear(sphere->m_geometry->Support(float3(0, 0, 5)), float3(1, 2, 5));
    // A zero direction is left as it is: the centre. A tiny one still reaches the surface.
    ExpectNear(sphere->m_geometry->Support(float3(0, 0, 0)), float3(1, 2, 3));
    ExpectNear(sphere->m_geometry->Support(float3(1e-7f, 0, 0)), float3(3, 2, 3));

    Collider3D* box = factory.Make(test::BoxDescription(float3(1, 0, 0), float3(1, 2, 3), test::QuarterTurnZ()));
    // The box's x axis is body y: along +y the support has y = 1 (half extent x).
    const float3 s = box->m_geometry->Support(float3(0.1f, 1.0f, -0.2f));
    ExpectNear(s, float3(1, 0, 0) + test::QuarterTurnZ() * float3(1, -2, -3));

    Collider3D* quad = factory.Make(test::QuadDescription(float3(0, 1, 0), 2.0f, 1.0f));
    ExpectNear(quad->m_geometry->Support(float3(-1, 5, 1)), float3(-2, 1, 1));
}

TEST(WorldBoxTest, TurnedBoxQuadAndPolyhedronGiveTheTightBoxOfTheirCorners)
{
    RigidBody3D body(test::BodyAt(float3(3, -2, 1), test::RotationZ(0.4f) * test::RotationX(0.9f)));
    ColliderFactory factory;
    const float3 center(1, 0.5f, -1), half(1, 2, 3);
    const ZOR::float3x3 own = test::RotationY(0.7f);
    std::vector<float3> boxCorners, quadCorners;
    for (const float3& k : test::BoxCorners(float3(), half))
        boxCorners.push_back(center + own * k);
    for (const float3& k : {float3(2, 0, 1), float3(-2, 0, 1), float3(2, 0, -1), float3(-2, 0, -1)})
        quadCorners.push_back(center + own * k);
    const std::pair<ColliderDescription3D, std::vector<float3>> cases[] = {
        {test::BoxDescription(center, half, own), boxCorners},
        {test::QuadDescription(center, 2.0f, 1.0f, own), quadCorners},
        {test::HullDescription(test::UnitTetrahedron()),
         {float3(0, 0, 0), float3(1, 0, 0), float3(0, 1, 0), float3(0, 0, 1)}},
    };
    for (const auto& [description, corners] : cases) {
        Collider3D* collider = factory.Make(description, &body);
        collider->ComputeAABB();
        float3 lo, hi;
        TightBox(ToWorld(body, corners), lo, hi);
        ExpectNear(collider->m_proxy.m_min, lo, 1e-4f);
        ExpectNear(collider->m_proxy.m_max, hi, 1e-4f);
    }
}

TEST(WorldBoxTest, PolyhedronBoxFollowsEveryMoveAndTurnEvenAfterAStill)
{
    RigidBody3D body(test::BodyAt(float3(3, -2, 1), test::RotationZ(0.4f)));
    ColliderFactory factory;
    Collider3D* hull = factory.Make(test::HullDescription(test::UnitTetrahedron()), &body);
    const std::vector<float3> corners = {float3(0, 0, 0), float3(1, 0, 0), float3(0, 1, 0), float3(0, 0, 1)};
    auto expectTight = [&](const char* when) {
        // A box written over by someone else is written again, pose unchanged or not.
        hull->m_proxy.m_min = hull->m_proxy.m_max = float3(99, 99, 99);
        hull->ComputeAABB();
        float3 lo, hi;
        TightBox(ToWorld(body, corners), lo, hi);
        EXPECT_LT(std::fabs(hull->m_proxy.m_min.x - lo.x) + std::fabs(hull->m_proxy.m_min.y - lo.y) +
                      std::fabs(hull->m_proxy.m_min.z - lo.z) + std::fabs(hull->m_proxy.m_max.x - hi.x) +
                      std::fabs(hull->m_proxy.m_max.y - hi.y) + std::fabs(hull->m_proxy.m_max.z - hi.z),
                  1e-4f)
            << when;
    };
    expectTight("first");
    expectTight("still");
    body.SetPosition(float3(-5, 0, 2));
    expectTight("moved");
    body.SetOrientation(test::RotationX(1.2f));
    expectTight("turned");
    // The inverse alone changes (as a step's refresh may change it): the box is worked out again.
    body.m_inverseRotation = test::RotationX(0.3f);
    hull->ComputeAABB();
    const float3 fromNewInverse = hull->m_proxy.m_max;
    body.m_inverseRotation = body.m_rotation.Transpose();
    expectTight("inverse restored");
    EXPECT_NE(fromNewInverse, hull->m_proxy.m_max);
}

TEST(WorldBoxTest, SphereBoxDoesNotTurnWithTheBody)
{
    RigidBody3D body(test::BodyAt(float3(1, 1, 1)));
    ColliderFactory factory;
    Collider3D* sphere = factory.Make(test::SphereDescription(float3(0, 0, 0), 0.5f), &body);
    sphere->ComputeAABB();
    ExpectNear(sphere->m_proxy.m_min, float3(0.5f, 0.5f, 0.5f));
    ExpectNear(sphere->m_proxy.m_max, float3(1.5f, 1.5f, 1.5f));
    body.SetOrientation(test::RotationX(1.0f) * test::RotationY(2.0f));
    sphere->ComputeAABB();
    ExpectNear(sphere->m_proxy.m_min, float3(0.5f, 0.5f, 0.5f));
    ExpectNear(sphere->m_proxy.m_max, float3(1.5f, 1.5f, 1.5f));
}

TEST(ContainsPointTest, StrictForSpheresInclusiveForBoxesNeverForQuads)
{
    RigidBody3D body(test::BodyAt(float3(10, 0, 0), test::QuarterTurnZ()));
    ColliderFactory factory;
    Collider3D* sphere = factory.Make(test::SphereDescription(float3(1, 0, 0), 2.0f), &body);
    EXPECT_TRUE(sphere->m_geometry->ContainsPoint(float3(10, 1, 0)));
    EXPECT_TRUE(sphere->m_geometry->ContainsPoint(float3(10, 2.99f, 0)));
    EXPECT_FALSE(sphere->m_geometry->ContainsPoint(float3(10, 3, 0)));
    EXPECT_FALSE(sphere->m_geometry->ContainsPoint(float3(13, 0, 0)));

    // World x 8..12, y 0..2, z -3..3.
    Collider3D* box = factory.Make(test::BoxDescription(float3(1, 0, 0), float3(1, 2, 3)), &body);
    EXPECT_TRUE(box->m_geometry->ContainsPoint(float3(12, 2, 3)));
    EXPECT_TRUE(box->m_geometry->ContainsPoint(float3(8, 0, -3)));
    EXPECT_FALSE(box->m_geometry->ContainsPoint(float3(12.01f, 1, 0)));
    EXPECT_FALSE(box->m_geometry->ContainsPoint(float3(10, 2.01f, 0)));

    Collider3D* quad = factory.Make(test::QuadDescription(float3(0, 0, 0), 1.0f, 1.0f), &body);
    EXPECT_FALSE(quad->m_geometry->ContainsPoint(float3(10, 0, 0)));

    // A hull: strictly inside its face planes.
    Collider3D* cube = factory.Make(test::HullDescription(test::BoxHull(float3(1, 0, 0), float3(1, 1, 1))), &body);
    EXPECT_TRUE(cube->m_geometry->ContainsPoint(float3(10, 1, 0)));
    EXPECT_FALSE(cube->m_geometry->ContainsPoint(float3(11, 1, 0)));
    EXPECT_FALSE(cube->m_geometry->ContainsPoint(float3(12, 1, 0)));
}

} // namespace
} // namespace quellor
