#include "WorldTestSupport.h"

#include "physics/CollideShapes3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/PhysicsMath3D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;

class NarrowPhaseTest : public ::testing::Test {
protected:
    Collider3D* Place(const float3& position, const ColliderDescription3D& description,
                      const ZOR::float3x3& rotation = ZOR::float3x3())
    {
        Collider3D* collider = nullptr;
        RigidBody3D* body = test::BodyWith(world, position, description, kBodyDynamic, &collider);
        body->SetOrientation(rotation);
        return collider;
    }

    // Runs the narrow phase on a fresh contact of a and b, keeping the contact for inspection.
    bool Collide(Collider3D* a, Collider3D* b)
    {
        Release();
        contact = std::make_unique<Contact3D>(a, b);
        return CollideShapes3D(*contact, *a->m_geometry, *b->m_geometry, world.GetPointPool(),
                               world.GetEpaScratch());
    }

    const ContactPoint3D& Point() const { return *contact->m_points[0]; }

    void Release()
    {
        if (contact)
            contact->ReleasePoints(world.GetPointPool());
    }

    void TearDown() override { Release(); }

    PhysicsWorld3D world;
    std::unique_ptr<Contact3D> contact;
};

TEST_F(NarrowPhaseTest, SpheresTouchAtTheSumOfTheirRadii)
{
    Collider3D* a = Place(float3(), test::SphereDescription(float3(), 1.0f));
    Collider3D* b = Place(float3(2, 0, 0), test::SphereDescription(float3(), 1.0f));
    ASSERT_TRUE(Collide(a, b));
    EXPECT_EQ(contact->m_pointCount, 1);
    EXPECT_EQ(contact->m_touching, 1);
    EXPECT_EQ(Point().m_depth, 0.0f);
    ExpectNear(Point().m_normal, float3(1, 0, 0));
    ExpectNear(Point().m_pointA, float3(1, 0, 0));
    ExpectNear(Point().m_pointB, float3(1, 0, 0));
    ExpectNear(Point().m_localPointB, float3(-1, 0, 0));

    b->m_body->SetPosition(float3(2.5f, 0, 0));
    EXPECT_FALSE(Collide(a, b));
    EXPECT_EQ(contact->m_pointCount, 0);

    b->m_body->SetPosition(float3());
    ASSERT_TRUE(Collide(a, b));
    EXPECT_EQ(Point().m_depth, 2.0f);
    ExpectNear(Point().m_normal, float3());
}

TEST_F(NarrowPhaseTest, SphereOverQuadMiddleAndTheReverseOrder)
{
    Collider3D* quad = Place(float3(0, 0, 0), test::QuadDescription(float3(), 2.0f, 2.0f));
    Collider3D* sphere = Place(float3(0, 0.6f, 0), test::SphereDescription(float3(), 1.0f));
    ASSERT_TRUE(Collide(sphere, quad));
    ExpectNear(Point().m_pointA, float3());
    ExpectNear(Point().m_pointB, float3());
    ExpectNear(Point().m_normal, float3(0, -1, 0));
    EXPECT_NEAR(Point().m_depth, 0.8f, 1e-5f);
    ExpectNear(Point().m_localPointA, float3(0, -0.6f, 0));

    ASSERT_TRUE(Collide(quad, sphere));
    ExpectNear(Point().m_normal, float3(0, 1, 0));
    ExpectNear(Point().m_pointA, float3());
    ExpectNear(Point().m_localPointA, float3());
    ExpectNear(Point().m_localPointB, float3(0, -0.6f, 0));
    EXPECT_NEAR(Point().m_depth, 0.8f, 1e-5f);

    sphere->m_body->SetPosition(float3(0, 1.01f, 0));
    EXPECT_FALSE(Collide(sphere, quad));
    EXPECT_FALSE(Collide(quad, sphere));
}

TEST_F(NarrowPhaseTest, BoxesOverlappingAlongXGiveOnePointWithTheirDepth)
{
    Collider3D* a = Place(float3(), test::BoxDescription(float3(), float3(1, 1, 1)));
    Collider3D* b = Place(float3(1.9f, 0.2f, -0.3f), test::BoxDescription(float3(), float3(1, 1, 1)));
    ASSERT_TRUE(Collide(a, b));
    EXPECT_EQ(contact->m_pointCount, 1);
    EXPECT_NEAR(Point().m_depth, 0.1f, 1e-3f);
    ExpectNear(Point().m_normal, float3(1, 0, 0), 1e-3f);
    EXPECT_EQ(contact->m_freshOnly, 0);
    EXPECT_NEAR(Point().m_pointA.x, 1.0f, 1e-3f);
    EXPECT_NEAR(Point().m_pointB.x, 0.9f, 1e-3f);

    ASSERT_TRUE(Collide(b, a));
    ExpectNear(Point().m_normal, float3(-1, 0, 0), 1e-3f);
}

TEST_F(NarrowPhaseTest, BoxRestingFaceOnFaceGetsTheFaceNormal)
{
    // A unit box sunk into a wider one, nearly centred: the faces of the difference that face
    // the origin tie in distance, and only the top face is the boundary.
    Collider3D* floor = Place(float3(0, -0.5f, 0), test::BoxDescription(float3(), float3(2, 0.5f, 2)));
    for (float depth : {0.001f, 0.02f, 0.1f}) {
        Collider3D* box = Place(float3(0.012f, 0.5f - depth, 0.012f),
                                test::BoxDescription(float3(), float3(0.5f, 0.5f, 0.5f)));
        ASSERT_TRUE(Collide(floor, box)) << depth;
        ASSERT_EQ(contact->m_pointCount, 1);
        ExpectNear(Point().m_normal, float3(0, 1, 0), 1e-3f);
        EXPECT_NEAR(Point().m_depth, depth, 1e-4f);
    }
}

// A small box sunk a little into a large slab, anywhere over its diagonals: the difference of
// the two has long thin faces there, and a nearest point that strays off them by more than the
// tolerances made GJK report a shallow overlap as a separation.
TEST_F(NarrowPhaseTest, ShallowBoxOverTheDiagonalOfALargeSlabTouches)
{
    for (float half : {20.0f, 50.0f}) {
        Collider3D* slab = Place(float3(0, -0.5f, 0), test::BoxDescription(float3(), float3(half, 0.5f, half)));
        int cases = 0, misses = 0, wrong = 0;
        for (float along = -0.9f; along < 0.95f; along += 0.15f) {
            for (float side : {1.0f, -1.0f}) {
                for (float depth : {0.001f, 0.005f, 0.02f}) {
                    for (float yaw : {0.0f, 0.7f}) {
                        const float3 at(along * half, 0.5f - depth, side * along * half);
                        Collider3D* box = Place(at, test::BoxDescription(float3(), float3(0.5f, 0.5f, 0.5f)),
                                                test::RotationY(yaw));
                        for (bool slabFirst : {true, false}) {
                            ++cases;
                            if (!(slabFirst ? Collide(slab, box) : Collide(box, slab))) {
                                ++misses;
                                continue;
                            }
                            const float3 up(0, slabFirst ? 1.0f : -1.0f, 0);
                            if (contact->m_pointCount != 1 || std::fabs(Point().m_depth - depth) > 1e-4f ||
                                (Point().m_normal - up).Length() > 1e-3f)
                                ++wrong;
                        }
                    }
                }
            }
        }
        EXPECT_EQ(misses, 0) << "of " << cases << " with slab half size " << half;
        EXPECT_EQ(wrong, 0) << "of " << cases << " with slab half size " << half;
    }
}

TEST_F(NarrowPhaseTest, ShapesAtOneSpotTouch)
{
    Collider3D* a = Place(float3(3, 4, 5), test::BoxDescription(float3(), float3(1, 1, 1)));
    Collider3D* b = Place(float3(3, 4, 5), test::BoxDescription(float3(), float3(0.5f, 2, 0.5f)));
    ASSERT_TRUE(Collide(a, b));
    ASSERT_EQ(contact->m_pointCount, 1);
    EXPECT_GT(Point().m_depth, 0.0f);
    EXPECT_TRUE(std::isfinite(Point().m_normal.x));

    Collider3D* hull = Place(float3(3, 4, 5), test::HullDescription(test::BoxHull(float3(), float3(1, 1, 1))));
    EXPECT_TRUE(Collide(hull, a));
}

TEST_F(NarrowPhaseTest, DisjointShapesTakeNoPoint)
{
    Collider3D* box = Place(float3(), test::BoxDescription(float3(), float3(1, 1, 1)));
    Collider3D* far = Place(float3(0, 2.5f, 0), test::BoxDescription(float3(), float3(1, 1, 1), test::RotationY(0.4f)));
    Collider3D* sphere = Place(float3(3, 0, 0), test::SphereDescription(float3(), 1.0f));
    Collider3D* hull = Place(float3(-3, 0, 0), test::HullDescription(test::UnitTetrahedron()));
    Collider3D* touching = Place(float3(0.5f, 0, 0), test::SphereDescription(float3(), 1.0f));
    // Warm the pool so that its free count means something before and after.
    ASSERT_TRUE(Collide(box, touching));
    Release();
    const std::uint32_t freeBefore = world.GetPointPool().GetFreeCount();
    EXPECT_FALSE(Collide(box, far));
    EXPECT_FALSE(Collide(box, sphere));
    EXPECT_FALSE(Collide(sphere, box));
    EXPECT_FALSE(Collide(hull, box));
    EXPECT_FALSE(Collide(far, hull));
    EXPECT_EQ(world.GetPointPool().GetFreeCount(), freeBefore);
    EXPECT_EQ(contact->m_touching, 0);
}

TEST_F(NarrowPhaseTest, EveryPairWithASphereIsFreshOnly)
{
    Collider3D* sphere = Place(float3(), test::SphereDescription(float3(), 1.0f));
    Collider3D* other = Place(float3(1, 0, 0), test::SphereDescription(float3(), 1.0f));
    Collider3D* box = Place(float3(0, 1.5f, 0), test::BoxDescription(float3(), float3(1, 1, 1)));
    Collider3D* quad = Place(float3(0, -0.5f, 0), test::QuadDescription(float3(), 1, 1));
    Collider3D* hull = Place(float3(-0.5f, 0, 0), test::HullDescription(test::UnitTetrahedron()));
    for (Collider3D* partner : {other, box, quad, hull}) {
        ASSERT_TRUE(Collide(sphere, partner));
        EXPECT_EQ(contact->m_freshOnly, 1);
        ASSERT_TRUE(Collide(partner, sphere));
        EXPECT_EQ(contact->m_freshOnly, 1);
    }
    ASSERT_TRUE(Collide(box, hull));
    EXPECT_EQ(contact->m_freshOnly, 0);
}

TEST_F(NarrowPhaseTest, TangentsAreUnitAndOrthogonalToTheNormal)
{
    Collider3D* a = Place(float3(), test::BoxDescription(float3(), float3(1, 1, 1), test::RotationZ(0.3f)));
    const float3 offsets[] = {float3(1.8f, 0.3f, 0), float3(0, 1.7f, 0.2f), float3(0.2f, 0.1f, -1.85f),
                              float3(1.2f, 1.2f, 0.4f)};
    for (const float3& offset : offsets) {
        Collider3D* b = Place(offset, test::SphereDescription(float3(), 1.0f));
        ASSERT_TRUE(Collide(a, b));
        const ContactPoint3D& p = Point();
        EXPECT_NEAR(p.m_normal.Length(), 1.0f, 1e-4f);
        EXPECT_NEAR(p.m_tangent1.Length(), 1.0f, 1e-4f);
        EXPECT_NEAR(p.m_tangent2.Length(), 1.0f, 1e-4f);
        EXPECT_NEAR(p.m_tangent1.Dot(p.m_normal), 0.0f, 1e-4f);
        EXPECT_NEAR(p.m_tangent2.Dot(p.m_normal), 0.0f, 1e-4f);
        EXPECT_NEAR(p.m_tangent1.Dot(p.m_tangent2), 0.0f, 1e-4f);
        // The normal runs from A towards B.
        EXPECT_GT(p.m_normal.Dot(offset), 0.0f);
    }
}

TEST_F(NarrowPhaseTest, PolyhedronAgainstBoxMeasuresThePenetration)
{
    Collider3D* floor = Place(float3(0, -1, 0), test::BoxDescription(float3(), float3(5, 1, 5)));
    Collider3D* hull = Place(float3(0, -0.2f, 0), test::HullDescription(test::UnitTetrahedron()));
    ASSERT_TRUE(Collide(hull, floor));
    EXPECT_NEAR(Point().m_depth, 0.2f, 1e-3f);
    ExpectNear(Point().m_normal, float3(0, -1, 0), 1e-3f);
}

} // namespace
} // namespace quellor
