#include "ContactTestSupport.h"

#include "physics/BodyPairEdge3D.h"
#include "physics/ContactManager3D.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

using ZOR::float3;
using test::PointSpec;
using Log = std::vector<std::string>;

// A static floor and a dynamic box above it, each with one box collider, no gravity.
struct BoxOnFloor {
    BoxOnFloor()
    {
        listener = new test::RecordingListener(log);
        world.SetContactListener(listener);
        floor = test::BodyWith(world, float3(0, -0.5f, 0), test::BoxDescription(float3(), float3(5, 0.5f, 5)),
                               kBodyStatic, &floorCollider);
        box = test::BodyWith(world, float3(0, 0.5f, 0), test::BoxDescription(float3(), float3(0.5f, 0.5f, 0.5f)),
                             kBodyDynamic, &boxCollider);
    }

    // The four bottom corners of the box, touching the floor.
    std::vector<PointSpec> Corners(float dx = 0.0f) const
    {
        std::vector<PointSpec> points;
        for (float x : {-0.5f, 0.5f})
            for (float z : {-0.5f, 0.5f})
                points.push_back({float3(x + dx, 0, z), float3(x + dx, 0, z)});
        return points;
    }

    Contact3D* Kept() { return world.GetContactManager().GetContacts().Front(); }

    // Offers a floor-box contact with the given points, as the narrow phase would.
    bool Offer(const std::vector<PointSpec>& points, bool freshOnly = false)
    {
        return test::Offer(world, test::NewContact(world, floorCollider, boxCollider, points, freshOnly));
    }
    // Forgets what the listener heard so far.
    void Hush()
    {
        log.clear();
        listener->added.clear();
    }

    Log log;
    PhysicsWorld3D world;
    test::RecordingListener* listener;
    RigidBody3D* floor;
    RigidBody3D* box;
    Collider3D* floorCollider;
    Collider3D* boxCollider;
};

TEST(ContactManagerTest, RestingBoxKeepsItsFourPointsAndNewPointsNearThemAreDroppedSilently)
{
    BoxOnFloor scene;
    ASSERT_TRUE(scene.Offer(scene.Corners()));
    EXPECT_EQ(scene.log, (Log{"BodyPairBegin", "ContactBegin", "PointAdded", "PointAdded", "PointAdded", "PointAdded"}));
    Contact3D* kept = scene.Kept();
    ASSERT_NE(kept, nullptr);
    EXPECT_FLOAT_EQ(kept->m_restitution, 0.4f);
    EXPECT_FLOAT_EQ(kept->m_friction, 1.0f);
    std::vector<ContactPoint3D*> first(kept->m_points, kept->m_points + 4);
    for (ContactPoint3D* p : first)
        EXPECT_EQ(p->m_persisted, 0);

    for (int step = 0; step < 3; ++step) {
        scene.Hush();
        scene.world.GetContactManager().BeginUpdate();
        // The narrow phase finds the same corners again, a little off: within 0.05 of kept ones.
        EXPECT_FALSE(scene.Offer(scene.Corners(0.01f)));
        EXPECT_TRUE(scene.log.empty()) << "step " << step;
        ASSERT_EQ(kept->m_pointCount, 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(kept->m_points[i], first[i]);
            EXPECT_EQ(kept->m_points[i]->m_persisted, 1);
        }
        EXPECT_EQ(kept->m_touching, 1);
    }
    // Every dropped candidate went back to the pool.
    EXPECT_EQ(scene.world.GetPointPool().GetFreeCount() + 4, scene.world.GetPointPool().GetCapacity());
}

TEST(ContactManagerTest, SlidingFurtherThanTheMatchingDistanceReplacesThePoint)
{
    BoxOnFloor scene;
    ASSERT_TRUE(scene.Offer({{float3(0.5f, 0, 0.5f), float3(0.5f, 0, 0.5f)}}));
    ContactPoint3D* old = scene.Kept()->m_points[0];

    // Slides 0.06 along x: the point on the box moves with it, the point on the floor does not.
    scene.box->SetPosition(float3(0.06f, 0.5f, 0));
    scene.Hush();
    scene.world.GetContactManager().BeginUpdate();
    EXPECT_FALSE(scene.Offer({{float3(0.56f, 0, 0.5f), float3(0.56f, 0, 0.5f)}}));
    EXPECT_EQ(scene.log, (Log{"PointRemoved", "PointAdded"}));
    ASSERT_EQ(scene.listener->removed.size(), 1u);
    EXPECT_EQ(scene.listener->removed[0], old);
    ASSERT_EQ(scene.Kept()->m_pointCount, 1);
    EXPECT_EQ(scene.Kept()->m_points[0]->m_persisted, 0);
    test::ExpectNear(scene.Kept()->m_points[0]->m_pointA, float3(0.56f, 0, 0.5f));

    // Sliding 0.04 keeps it.
    scene.box->SetPosition(float3(0.1f, 0.5f, 0));
    scene.Hush();
    EXPECT_FALSE(scene.Offer({}));
    EXPECT_TRUE(scene.log.empty());
    EXPECT_EQ(scene.Kept()->m_pointCount, 1);
}

TEST(ContactManagerTest, PointThatSeparatesFails)
{
    BoxOnFloor scene;
    ASSERT_TRUE(scene.Offer({{float3(0.5f, 0, 0.5f), float3(0.5f, 0, 0.5f)}}));
    scene.box->SetPosition(float3(0, 0.51f, 0)); // lifted: the point on B is now above the one on A
    scene.Hush();
    EXPECT_FALSE(scene.Offer({}));
    EXPECT_EQ(scene.log, (Log{"PointRemoved"}));
    EXPECT_EQ(scene.Kept()->m_pointCount, 0);
}

TEST(ContactManagerTest, FreshOnlyContactReplacesItsPointEveryStep)
{
    BoxOnFloor scene;
    const PointSpec bottom{float3(0, 0, 0), float3(0, 0, 0)};
    ASSERT_TRUE(scene.Offer({bottom}, true));
    for (int step = 0; step < 3; ++step) {
        scene.Hush();
        ContactPoint3D* old = scene.Kept()->m_points[0];
        EXPECT_FALSE(scene.Offer({bottom}, true));
        EXPECT_EQ(scene.log, (Log{"PointRemoved", "PointAdded"}));
        EXPECT_EQ(scene.listener->removed.back(), old);
        EXPECT_EQ(scene.Kept()->m_pointCount, 1);
        EXPECT_EQ(scene.Kept()->m_points[0]->m_persisted, 0);
    }
}

TEST(ContactManagerTest, SixCandidatesReduceToDeepestFarthestLineAndTriangle)
{
    ContactPoint3D points[6] = {};
    const float3 where[6] = {float3(0, 0, 0), float3(1, 0, 0), float3(4, 0, 0),
                             float3(2, 0, 1), float3(2, 0, 3), float3(1, 0, -2)};
    const float depth[6] = {0.1f, 0.3f, 0.2f, 0.3f, 0.0f, 0.1f};
    ContactPoint3D* candidates[6];
    for (int i = 0; i < 6; ++i) {
        points[i].m_pointA = where[i];
        points[i].m_depth = depth[i];
        candidates[i] = &points[i];
    }
    int picked[4];
    SelectContactPoints3D(candidates, 6, picked);
    // Deepest: 1 and 3 tie at 0.3 and the earlier wins. Farthest from (1,0,0): (2,0,3) at 10
    // against (4,0,0) at 9. Farthest from the line through those two: (4,0,0) at 8.1. Farthest
    // from that triangle: (1,0,-2) at 4, while (2,0,1) lies inside it.
    EXPECT_EQ(picked[0], 1);
    EXPECT_EQ(picked[1], 4);
    EXPECT_EQ(picked[2], 2);
    EXPECT_EQ(picked[3], 5);
}

TEST(ContactManagerTest, ReductionThroughAMergeReportsOnlyDroppedPersistedPoints)
{
    BoxOnFloor scene;
    // Three kept points, then three new ones far from them: six candidates.
    ASSERT_TRUE(scene.Offer({{float3(0, 0, 0), float3(0, 0, 0)},
                             {float3(0.1f, 0, 0), float3(0.1f, 0, 0)},
                             {float3(0.2f, 0, 0), float3(0.2f, 0, 0)}}));
    scene.Hush();
    EXPECT_FALSE(scene.Offer({{float3(0.5f, 0, 0.5f), float3(0.5f, 0, 0.5f)},
                              {float3(-0.5f, 0, -0.5f), float3(-0.5f, 0, -0.5f)},
                              {float3(0.5f, 0, -0.5f), float3(0.5f, 0, -0.5f)}}));
    Contact3D* kept = scene.Kept();
    ASSERT_EQ(kept->m_pointCount, 4);
    // All are equally deep, so the first kept point leads; the three new corners span the most.
    // The two other kept points are dropped and reported; the three new ones are added.
    test::ExpectNear(kept->m_points[0]->m_pointA, float3(0, 0, 0));
    EXPECT_EQ(kept->m_points[0]->m_persisted, 1);
    test::ExpectNear(kept->m_points[1]->m_pointA, float3(0.5f, 0, 0.5f));
    test::ExpectNear(kept->m_points[2]->m_pointA, float3(0.5f, 0, -0.5f));
    test::ExpectNear(kept->m_points[3]->m_pointA, float3(-0.5f, 0, -0.5f));
    EXPECT_EQ(scene.listener->removed.size(), 2u);
    EXPECT_EQ(scene.listener->added.size(), 3u);
    EXPECT_EQ(scene.log, (Log{"PointRemoved", "PointRemoved", "PointAdded", "PointAdded", "PointAdded"}));
    EXPECT_EQ(scene.world.GetPointPool().GetFreeCount() + 4, scene.world.GetPointPool().GetCapacity());
}

TEST(ContactManagerTest, TwoContactsBetweenTwoBodiesShareOneEdgePair)
{
    test::RecordingListener* listener;
    Log log;
    PhysicsWorld3D world;
    listener = new test::RecordingListener(log);
    world.SetContactListener(listener);
    RigidBody3D* a = world.CreateBody(test::BodyAt(float3()));
    RigidBody3D* b = world.CreateBody(test::BodyAt(float3(0, 1, 0)));
    Collider3D* a1 = a->AddCollider(test::SphereDescription(float3(-1, 0, 0), 0.5f));
    Collider3D* a2 = a->AddCollider(test::SphereDescription(float3(1, 0, 0), 0.5f));
    Collider3D* b1 = b->AddCollider(test::SphereDescription(float3(-1, 0, 0), 0.5f));
    Collider3D* b2 = b->AddCollider(test::SphereDescription(float3(1, 0, 0), 0.5f));

    ASSERT_TRUE(test::Offer(world, test::NewContact(world, a1, b1, {{float3(-1, 0.5f, 0), float3(-1, 0.5f, 0)}})));
    ASSERT_TRUE(test::Offer(world, test::NewContact(world, a2, b2, {{float3(1, 0.5f, 0), float3(1, 0.5f, 0)}})));
    ASSERT_EQ(a->m_edges.Count(), 1u);
    ASSERT_EQ(b->m_edges.Count(), 1u);
    BodyPairEdge3D* edge = a->m_edges.Front();
    EXPECT_EQ(edge->m_other, b);
    EXPECT_EQ(edge->m_twin, b->m_edges.Front());
    EXPECT_EQ(edge->m_count, 2u);
    EXPECT_EQ(edge->m_twin->m_count, 2u);
    EXPECT_EQ(std::count(log.begin(), log.end(), "BodyPairBegin"), 1);

    ContactManager3D& manager = world.GetContactManager();
    log.clear();
    manager.Destroy(manager.GetContacts().Front());
    EXPECT_EQ(log, (Log{"PointRemoved", "ContactEnd"}));
    EXPECT_EQ(edge->m_count, 1u);
    log.clear();
    manager.Destroy(manager.GetContacts().Front());
    EXPECT_EQ(log, (Log{"PointRemoved", "ContactEnd", "BodyPairEnd"}));
    EXPECT_TRUE(a->m_edges.Empty());
    EXPECT_TRUE(b->m_edges.Empty());
    EXPECT_TRUE(a1->m_contacts.Empty());
    EXPECT_TRUE(b2->m_contacts.Empty());
    EXPECT_EQ(world.GetEdgePool().GetFreeCount(), world.GetEdgePool().GetCapacity());
    EXPECT_EQ(world.GetContactPool().GetFreeCount(), world.GetContactPool().GetCapacity());
    EXPECT_EQ(world.GetPointPool().GetFreeCount(), world.GetPointPool().GetCapacity());
}

TEST(ContactManagerTest, PairThatStopsTouchingEndsInThatStep)
{
    Log log;
    PhysicsWorld3D world;
    world.SetContactListener(new test::RecordingListener(log));
    test::BodyWith(world, float3(0, -0.5f, 0), test::BoxDescription(float3(), float3(5, 0.5f, 5)), kBodyStatic);
    RigidBody3D* ball = test::BodyWith(world, float3(0, 0.45f, 0), test::SphereDescription(float3(), 0.5f));
    world.Step(1.0f / 60.0f, 12, 12);
    ASSERT_EQ(world.GetContactManager().GetContacts().Count(), 1u);
    EXPECT_EQ(log.front(), "BodyPairBegin");

    ball->SetPosition(float3(0, 3, 0));
    log.clear();
    world.Step(1.0f / 60.0f, 12, 12);
    EXPECT_EQ(log, (Log{"PointRemoved", "ContactEnd", "BodyPairEnd"}));
    EXPECT_TRUE(world.GetContactManager().GetContacts().Empty());
}

TEST(ContactManagerTest, RemovingATouchingColliderEndsItsContactAndWakesTheOtherBody)
{
    BoxOnFloor scene;
    ASSERT_TRUE(scene.Offer(scene.Corners()));
    scene.box->SetAwake(false);
    scene.Hush();
    scene.floor->RemoveCollider(scene.floorCollider);
    EXPECT_EQ(scene.log, (Log{"PointRemoved", "PointRemoved", "PointRemoved", "PointRemoved", "ContactEnd",
                              "BodyPairEnd"}));
    EXPECT_TRUE(scene.box->IsAwake());
    EXPECT_TRUE(scene.boxCollider->m_contacts.Empty());
    EXPECT_TRUE(scene.world.GetContactManager().GetContacts().Empty());
    EXPECT_TRUE(scene.box->m_edges.Empty());

    // Destroying a body does the same for all its colliders.
    ASSERT_TRUE(test::Offer(scene.world, test::NewContact(scene.world, scene.boxCollider,
                                                          scene.floor->AddCollider(test::BoxDescription(
                                                              float3(), float3(5, 0.5f, 5))),
                                                          scene.Corners())));
    scene.world.DestroyBody(scene.floor);
    EXPECT_TRUE(scene.boxCollider->m_contacts.Empty());
    EXPECT_EQ(scene.world.GetContactPool().GetFreeCount(), scene.world.GetContactPool().GetCapacity());
}

} // namespace
} // namespace quellor
