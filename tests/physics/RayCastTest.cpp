#include "PhysicsTestSupport.h"
#include "physics/RayCastAABB.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quellor {
namespace {

using test::ColliderFactory;
using test::ExpectNear;
using ZOR::float3;

Ray3D RayFrom(const float3& origin, const float3& direction)
{
    return Ray3D{origin, direction};
}

// A body moved to (10, 0, 0) and turned a quarter about z: its x axis points along world y.
class RayCastOnMovedBody : public ::testing::Test {
protected:
    RigidBody3D body{test::BodyAt(float3(10, 0, 0), test::QuarterTurnZ())};
    bool Hits(Collider3D* collider, const float3& origin, const float3& direction, float length)
    {
        return collider->RayCast(RayFrom(origin, direction), length, fraction, normal);
    }
    void ExpectHit(Collider3D* collider, const float3& origin, const float3& direction, float length,
                   float expectedFraction, const float3& expectedNormal)
    {
        ASSERT_TRUE(Hits(collider, origin, direction, length));
        EXPECT_NEAR(fraction, expectedFraction, 1e-5f);
        ExpectNear(normal, expectedNormal);
    }

    ColliderFactory factory;
    float fraction = -1.0f;
    float3 normal;
};

TEST_F(RayCastOnMovedBody, SphereIsHitAtTheEntryFraction)
{
    // Body-frame centre (1, 0, 0) is world (10, 1, 0).
    Collider3D* sphere = factory.Make(test::SphereDescription(float3(1, 0, 0), 2.0f), &body);
    ExpectHit(sphere, float3(0, 1, 0), float3(1, 0, 0), 20.0f, 8.0f / 20.0f, float3(-1, 0, 0));

    // Off-centre: enters where y = 2 meets the sphere, x = 10 - sqrt(3).
    ExpectHit(sphere, float3(0, 2, 0), float3(1, 0, 0), 20.0f, (10.0f - std::sqrt(3.0f)) / 20.0f, float3(-std::sqrt(3.0f) / 2.0f, 0.5f, 0));

    EXPECT_FALSE(Hits(sphere, float3(0, 1, 0), float3(1, 0, 0), 7.9f));
    EXPECT_FALSE(Hits(sphere, float3(0, 3.1f, 0), float3(1, 0, 0), 20.0f));
    EXPECT_FALSE(Hits(sphere, float3(0, 1, 0), float3(-1, 0, 0), 20.0f));
}

TEST_F(RayCastOnMovedBody, RayStartingInsideSphereOrBoxMisses)
{
    Collider3D* sphere = factory.Make(test::SphereDescription(float3(1, 0, 0), 2.0f), &body);
    Collider3D* box = factory.Make(test::BoxDescription(float3(1, 0, 0), float3(1, 2, 3)), &body);
    EXPECT_FALSE(Hits(sphere, float3(10, 1, 0), float3(1, 0, 0), 20.0f));
    EXPECT_FALSE(Hits(box, float3(10, 1, 0), float3(1, 0, 0), 20.0f));
    // On the box's surface counts as inside.
    EXPECT_FALSE(Hits(box, float3(8, 1, 0), float3(1, 0, 0), 20.0f));
}

TEST_F(RayCastOnMovedBody, BoxIsHitOnItsTurnedFaces)
{
    // Centre world (10, 1, 0); the body's turn makes the box span x 8..12, y 0..2, z -3..3.
    Collider3D* box = factory.Make(test::BoxDescription(float3(1, 0, 0), float3(1, 2, 3)), &body);
    ExpectHit(box, float3(0, 1, 0), float3(1, 0, 0), 20.0f, 8.0f / 20.0f, float3(-1, 0, 0));
    ExpectHit(box, float3(11, 5, 1), float3(0, -1, 0), 10.0f, 3.0f / 10.0f, float3(0, 1, 0));
    ExpectHit(box, float3(9, 1, -7), float3(0, 0, 1), 10.0f, 4.0f / 10.0f, float3(0, 0, -1));
    EXPECT_FALSE(Hits(box, float3(0, 2.5f, 0), float3(1, 0, 0), 20.0f));

    // The box's own turn undoes the body's: it spans x 9..11, y -1..3.
    Collider3D* turned =
        factory.Make(test::BoxDescription(float3(1, 0, 0), float3(1, 2, 3), test::QuarterTurnZ().Transpose()), &body);
    ExpectHit(turned, float3(0, 2.5f, 0), float3(1, 0, 0), 20.0f, 9.0f / 20.0f, float3(-1, 0, 0));
}

TEST_F(RayCastOnMovedBody, QuadIsHitFromBothSidesWithTheNormalFacingTheStart)
{
    // The quad's normal is its y axis, which the body turns to world -x: a wall at x = 10
    // (body centre (0, 0, 0)), 2 wide along world y and 1 high along z.
    Collider3D* quad = factory.Make(test::QuadDescription(float3(0, 0, 0), 1.0f, 0.5f), &body);
    ExpectHit(quad, float3(6, 0.5f, 0.25f), float3(1, 0, 0), 8.0f, 0.5f, float3(-1, 0, 0));
    ExpectHit(quad, float3(14, 0.5f, 0.25f), float3(-1, 0, 0), 8.0f, 0.5f, float3(1, 0, 0));

    // The edges belong to the quad.
    EXPECT_TRUE(Hits(quad, float3(6, 1.0f, 0.5f), float3(1, 0, 0), 8.0f));
    EXPECT_TRUE(Hits(quad, float3(6, -1.0f, -0.5f), float3(1, 0, 0), 8.0f));
    EXPECT_FALSE(Hits(quad, float3(6, 1.01f, 0), float3(1, 0, 0), 8.0f));
    EXPECT_FALSE(Hits(quad, float3(6, 0, 0.51f), float3(1, 0, 0), 8.0f));

    // Ending short of the plane, or running along it, misses.
    EXPECT_FALSE(Hits(quad, float3(6, 0, 0), float3(1, 0, 0), 3.9f));
    EXPECT_FALSE(Hits(quad, float3(10, -3, 0), float3(0, 1, 0), 8.0f));
}

TEST_F(RayCastOnMovedBody, QuadWithItsOwnTurnUsesItsOwnAxes)
{
    // Its own turn Rx(-90) lays it flat: normal along world z, width along world y (-1..1),
    // height along world -x (x 9.5..10.5).
    Collider3D* quad = factory.Make(test::QuadDescription(float3(0, 0, 0), 1.0f, 0.5f, test::RotationX(-1.5707964f)), &body);
    ExpectHit(quad, float3(10.4f, 0.9f, 2), float3(0, 0, -1), 4.0f, 0.5f, float3(0, 0, 1));
    EXPECT_FALSE(Hits(quad, float3(10.6f, 0, 2), float3(0, 0, -1), 4.0f));
}

TEST_F(RayCastOnMovedBody, PolyhedronHitGivesTheFaceNormal)
{
    // A cube of half size 1 around body (1, 0, 0): world x 9..11, y 0..2, z -1..1.
    Collider3D* cube = factory.Make(test::HullDescription(test::BoxHull(float3(1, 0, 0), float3(1, 1, 1))), &body);
    ExpectHit(cube, float3(0, 1, 0.5f), float3(1, 0, 0), 20.0f, 9.0f / 20.0f, float3(-1, 0, 0));
    ExpectHit(cube, float3(10, 6, 0), float3(0, -1, 0), 10.0f, 4.0f / 10.0f, float3(0, 1, 0));

    // Parallel to the top face and above it: a miss, however long the ray.
    EXPECT_FALSE(Hits(cube, float3(0, 2.5f, 0), float3(1, 0, 0), 100.0f));
    // Beside it, or short of it.
    EXPECT_FALSE(Hits(cube, float3(0, 1, 1.5f), float3(1, 0, 0), 20.0f));
    EXPECT_FALSE(Hits(cube, float3(0, 1, 0), float3(1, 0, 0), 8.9f));
}

TEST_F(RayCastOnMovedBody, PolyhedronRayFromInsideHitsAtZeroWithAZeroNormal)
{
    Collider3D* cube = factory.Make(test::HullDescription(test::BoxHull(float3(1, 0, 0), float3(1, 1, 1))), &body);
    normal = float3(std::numeric_limits<float>::quiet_NaN(), 7.0f, 7.0f);
    ASSERT_TRUE(cube->RayCast(RayFrom(float3(10, 1, 0), float3(1, 0, 0)), 5.0f, fraction, normal));
    EXPECT_EQ(fraction, 0.0f);
    EXPECT_EQ(normal.x, 0.0f);
    EXPECT_EQ(normal.y, 0.0f);
    EXPECT_EQ(normal.z, 0.0f);
}

TEST(RayCastAABBTest, EntryFractionAndStartInsideExit)
{
    const float3 lo(-1, -1, -1), hi(1, 1, 1);
    float fraction = -1.0f;
    ASSERT_TRUE(RayCastAABB(RayFrom(float3(-5, 0, 0), float3(1, 0, 0)), lo, hi, 10.0f, fraction, false));
    EXPECT_NEAR(fraction, 0.4f, 1e-6f);
    ASSERT_TRUE(RayCastAABB(RayFrom(float3(-5, 0, 0), float3(1, 0, 0)), lo, hi, 10.0f, fraction, true));
    EXPECT_NEAR(fraction, 0.4f, 1e-6f);

    // From the centre: the exit with the flag, fraction 0 without it.
    ASSERT_TRUE(RayCastAABB(RayFrom(float3(0, 0, 0), float3(0, 1, 0)), lo, hi, 4.0f, fraction, true));
    EXPECT_NEAR(fraction, 0.25f, 1e-6f);
    ASSERT_TRUE(RayCastAABB(RayFrom(float3(0, 0, 0), float3(0, 1, 0)), lo, hi, 4.0f, fraction, false));
    EXPECT_EQ(fraction, 0.0f);

    EXPECT_FALSE(RayCastAABB(RayFrom(float3(-5, 2, 0), float3(1, 0, 0)), lo, hi, 10.0f, fraction, true));
    EXPECT_FALSE(RayCastAABB(RayFrom(float3(-5, 0, 0), float3(1, 0, 0)), lo, hi, 3.0f, fraction, false));
    EXPECT_FALSE(RayCastAABB(RayFrom(float3(5, 0, 0), float3(1, 0, 0)), lo, hi, 10.0f, fraction, false));
}

TEST(RayCastAABBTest, OutcodesAreInclusive)
{
    const float3 e(1, 2, 3);
    EXPECT_EQ(ComputeOutcode(float3(0, 0, 0), e), 0u);
    EXPECT_EQ(ComputeOutcode(float3(1, 0, 0), e), unsigned(kOutPosX));
    EXPECT_EQ(ComputeOutcode(float3(-1, -2, 3), e), unsigned(kOutNegX | kOutNegY | kOutPosZ));
    EXPECT_EQ(ComputeOutcode(float3(5, 0, -9), e), unsigned(kOutPosX | kOutNegZ));
    // A flat box: a point in its plane lies on both sides.
    EXPECT_EQ(ComputeOutcode(float3(0, 0, 0), float3(0, 1, 1)), unsigned(kOutPosX | kOutNegX));
}

} // namespace
} // namespace quellor
