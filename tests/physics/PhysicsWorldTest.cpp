#include "WorldTestSupport.h"

#include "physics/MeshColliderGeometry3D.h"
#include "physics/NSquared3D.h"

#include <gtest/gtest.h>

#include <algorithm>

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


ColliderDescription3D ThreePieces()
{
    ColliderDescription3D description;
    description.m_type = kColliderMesh;
    for (int i = 0; i < 3; ++i)
        description.m_hulls.push_back(test::BoxHull(float3(3.0f * i, 0, 0), float3(1, 1, 1)));
    return description;
}

TEST(MeshColliderBodyTest, HullsBecomePolyhedronCollidersAndLeaveAgain)
{
    PhysicsWorld3D world;
    RigidBody3D* body = world.CreateBody(BodyDescription3D{});
    Collider3D* mesh = body->AddCollider(ThreePieces());
    ASSERT_NE(mesh, nullptr);

    ASSERT_EQ(body->m_colliders.Count(), 4u);
    auto it = body->m_colliders.begin();
    EXPECT_EQ(*it, mesh);
    for (int i = 0; i < 3; ++i) {
        ++it;
        EXPECT_EQ((*it)->m_geometry->GetType(), kColliderPolyhedron);
        EXPECT_EQ((*it)->m_body, body);
        EXPECT_EQ((*it)->m_restitution, 0.4f);
        EXPECT_GT((*it)->m_serial, mesh->m_serial);
    }
    auto& broadphase = static_cast<NSquared3D&>(world.GetBroadphase());
    EXPECT_EQ(broadphase.GetProxies().size(), 4u);

    // The mesh's own box meets nothing, not even a box around everything.
    std::vector<Collider3D*> found;
    world.QueryAABB(float3(-100, -100, -100), float3(100, 100, 100), found);
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(std::count(found.begin(), found.end(), mesh), 0);
    for (const ColliderPair3D* pair : broadphase.UpdatePairs()) {
        EXPECT_NE(pair->m_colliderA, mesh);
        EXPECT_NE(pair->m_colliderB, mesh);
    }

    body->RemoveCollider(mesh);
    EXPECT_EQ(body->m_colliders.Count(), 0u);
    EXPECT_TRUE(broadphase.GetProxies().empty());
    EXPECT_EQ(broadphase.GetProxyList().Count(), 0u);
    EXPECT_EQ(world.GetColliderPool().GetFreeCount(), world.GetColliderPool().GetCapacity());
}

TEST(MeshColliderBodyTest, DestroyingTheBodyFreesEveryPieceOnce)
{
    PhysicsWorld3D world;
    RigidBody3D* body = world.CreateBody(BodyDescription3D{});
    body->AddCollider(test::SphereDescription(float3(), 1.0f));
    body->AddCollider(ThreePieces());
    body->AddCollider(test::BoxDescription(float3(), float3(1, 1, 1)));
    ASSERT_EQ(body->m_colliders.Count(), 6u);

    world.DestroyBody(body);
    EXPECT_GT(world.GetColliderPool().GetCapacity(), 0u);
    EXPECT_EQ(world.GetColliderPool().GetFreeCount(), world.GetColliderPool().GetCapacity());
    EXPECT_EQ(world.GetBodies().Count(), 0u);
    EXPECT_TRUE(static_cast<NSquared3D&>(world.GetBroadphase()).GetProxies().empty());
}

TEST(MeshColliderBodyTest, BodyOutsideAWorldTakesNoCollider)
{
    RigidBody3D body(BodyDescription3D{});
    EXPECT_EQ(body.AddCollider(ThreePieces()), nullptr);
    ColliderDescription3D bad = test::SphereDescription(float3(), 1.0f);
    bad.m_type = 9;
    PhysicsWorld3D world;
    EXPECT_EQ(world.CreateBody(BodyDescription3D{})->AddCollider(bad), nullptr);
}

} // namespace
} // namespace quellor
