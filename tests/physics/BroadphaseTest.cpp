#include "WorldTestSupport.h"

#include "physics/NSquared3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;

class BroadphaseTest : public ::testing::Test {
protected:
    Collider3D* Box(const float3& position, const float3& half = float3(1, 1, 1), std::uint8_t sensor = 0)
    {
        ColliderDescription3D description = test::BoxDescription(float3(), half);
        description.m_sensor = sensor;
        Collider3D* collider = nullptr;
        test::BodyWith(world, position, description, kBodyDynamic, &collider);
        return collider;
    }

    std::vector<std::pair<Collider3D*, Collider3D*>> Pairs()
    {
        std::vector<std::pair<Collider3D*, Collider3D*>> pairs;
        for (const ColliderPair3D* pair : world.GetBroadphase().UpdatePairs())
            pairs.emplace_back(pair->m_colliderA, pair->m_colliderB);
        return pairs;
    }

    RayCastResult3D Cast(const float3& origin, const float3& direction, float maxDistance)
    {
        RayCastResult3D result;
        world.GetBroadphase().RayCast(result, Ray3D{origin, direction}, maxDistance);
        return result;
    }

    PhysicsWorld3D world;
};

TEST_F(BroadphaseTest, PairsNeedTwoProxiesAndFaceContactCounts)
{
    EXPECT_TRUE(Pairs().empty());
    Collider3D* a = Box(float3());
    EXPECT_TRUE(Pairs().empty());

    Collider3D* b = Box(float3(2, 0, 0)); // a's maximum x equals b's minimum x
    Box(float3(2.001f, 5, 0));
    const auto pairs = Pairs();
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].first, a);
    EXPECT_EQ(pairs[0].second, b);
    EXPECT_EQ(world.GetBroadphase().GetPairPool().GetFreeCount() + 1, world.GetBroadphase().GetPairPool().GetCapacity());
}

TEST_F(BroadphaseTest, RemovedProxyNeverPairsAgainAndAddingTwiceDoesNothing)
{
    Collider3D* a = Box(float3());
    Collider3D* b = Box(float3(1, 0, 0));
    Collider3D* c = Box(float3(0, 1, 0));
    auto& broadphase = static_cast<NSquared3D&>(world.GetBroadphase());
    broadphase.AddProxy(&b->m_proxy);
    EXPECT_EQ(broadphase.GetProxies().size(), 3u);
    EXPECT_EQ(Pairs().size(), 3u);

    b->m_body->RemoveCollider(b);
    const auto pairs = Pairs();
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].first, a);
    EXPECT_EQ(pairs[0].second, c);
    EXPECT_EQ(Pairs().size(), 1u);
    EXPECT_EQ(a->m_proxy.m_setIndex, 0);
    EXPECT_EQ(c->m_proxy.m_setIndex, 1);
}

TEST_F(BroadphaseTest, SensorsAreFoundByQueriesButNeverStopARay)
{
    Collider3D* sensor = Box(float3(5, 0, 0), float3(1, 1, 1), 1);
    Collider3D* solid = Box(float3(10, 0, 0));

    const RayCastResult3D result = Cast(float3(), float3(1, 0, 0), 20.0f);
    ASSERT_TRUE(result.m_hit);
    EXPECT_EQ(result.m_collider, solid);
    EXPECT_NEAR(result.m_fraction, 9.0f / 20.0f, 1e-5f);
    ExpectNear(result.m_point, float3(9, 0, 0));
    ExpectNear(result.m_normal, float3(-1, 0, 0));

    std::vector<Collider3D*> found;
    world.GetBroadphase().QueryPoint(float3(5, 1, 0), found); // on the sensor's face
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], sensor);
    world.GetBroadphase().QueryAABB(float3(4, -1, -1), float3(9, 1, 1), found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[1], sensor); // appended after what was there
    EXPECT_EQ(found[2], solid);
}

TEST_F(BroadphaseTest, NearestHitWinsWhateverTheOrderAndTiesKeepTheFirst)
{
    Collider3D* far = Box(float3(12, 0, 0));
    Collider3D* near = Box(float3(4, 0, 0));
    Box(float3(8, 0, 0));
    Box(float3(4, 0, 0), float3(1, 0.5f, 0.5f)); // entered at the same fraction as near
    EXPECT_EQ(Cast(float3(), float3(1, 0, 0), 20.0f).m_collider, near);
    EXPECT_EQ(Cast(float3(20, 0, 0), float3(-1, 0, 0), 20.0f).m_collider, far);

    RayCastResult3D miss = Cast(float3(0, 5, 0), float3(1, 0, 0), 20.0f);
    EXPECT_FALSE(miss.m_hit);
    EXPECT_EQ(miss.m_collider, nullptr);
    ExpectNear(miss.m_point, float3());
}

TEST_F(BroadphaseTest, ZeroLengthRayGivesAFiniteMiss)
{
    Box(float3(4, 0, 0));
    const RayCastResult3D outside = Cast(float3(), float3(), 20.0f);
    EXPECT_FALSE(outside.m_hit);
    const RayCastResult3D inside = Cast(float3(4, 0, 0), float3(), 20.0f);
    EXPECT_TRUE(std::isfinite(inside.m_fraction));
    EXPECT_TRUE(std::isfinite(inside.m_point.x));
}

} // namespace
} // namespace quellor
