#include "WorldTestSupport.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

using ZOR::float3;

struct CountedListener : ContactListener3D {
    explicit CountedListener(int& deaths) : deaths(deaths) {}
    ~CountedListener() override { ++deaths; }
    int& deaths;
};

struct CountedDrawer : test::RecordingDebugDraw {
    explicit CountedDrawer(int& deaths) : deaths(deaths) {}
    ~CountedDrawer() override { ++deaths; }
    int& deaths;
};

TEST(PhysicsWorldTest, BodiesAreListedInCreationOrderAndGoBackToThePool)
{
    PhysicsWorld3D world;
    RigidBody3D* a = world.CreateBody(test::BodyAt(float3(1, 0, 0)));
    RigidBody3D* b = test::BodyWith(world, float3(2, 0, 0), test::SphereDescription(float3(), 1.0f));
    RigidBody3D* c = world.CreateBody(test::BodyAt(float3(3, 0, 0)));
    EXPECT_EQ(a->m_world, &world);
    ASSERT_EQ(world.GetBodies().Count(), 3u);
    EXPECT_EQ(world.GetBodies().Front(), a);
    EXPECT_EQ(RigidBodyList3D::Next(a), b);
    EXPECT_EQ(world.GetBodies().Back(), c);

    world.DestroyBody(b);
    EXPECT_EQ(RigidBodyList3D::Next(a), c);
    EXPECT_EQ(world.GetBodyPool().GetFreeCount() + 2, world.GetBodyPool().GetCapacity());
    EXPECT_EQ(world.GetColliderPool().GetFreeCount(), world.GetColliderPool().GetCapacity());
    world.DestroyBody(nullptr);
    EXPECT_EQ(world.GetBodies().Count(), 2u);
}

TEST(PhysicsWorldTest, ListenerAndDrawerAreOwnedAndReplaced)
{
    int listenerDeaths = 0, drawerDeaths = 0;
    {
        PhysicsWorld3D world;
        auto* first = new CountedListener(listenerDeaths);
        world.SetContactListener(first);
        world.SetContactListener(first); // the same object stays
        EXPECT_EQ(listenerDeaths, 0);
        world.SetContactListener(new CountedListener(listenerDeaths));
        EXPECT_EQ(listenerDeaths, 1);

        world.SetDebugDraw(new CountedDrawer(drawerDeaths));
        world.SetDebugDraw(nullptr);
        EXPECT_EQ(drawerDeaths, 1);
        EXPECT_EQ(world.GetDebugDraw(), nullptr);
        world.SetDebugDraw(new CountedDrawer(drawerDeaths));

        world.SetGravity(float3(0, -9.8f, 0));
        EXPECT_EQ(world.GetGravity().y, -9.8f);
    }
    EXPECT_EQ(listenerDeaths, 2);
    EXPECT_EQ(drawerDeaths, 2);
}

TEST(PhysicsWorldTest, SeveralWorldsKeepTheirOwnIdentitiesAndProxies)
{
    PhysicsWorld3D first, second;
    Collider3D* a = nullptr;
    Collider3D* b = nullptr;
    test::BodyWith(first, float3(), test::SphereDescription(float3(), 1.0f), kBodyDynamic, &a);
    test::BodyWith(second, float3(), test::SphereDescription(float3(), 1.0f), kBodyDynamic, &b);
    EXPECT_EQ(a->m_serial, b->m_serial);
    std::vector<Collider3D*> found;
    first.QueryAABB(float3(-1, -1, -1), float3(1, 1, 1), found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], a);
}

} // namespace
} // namespace quellor
