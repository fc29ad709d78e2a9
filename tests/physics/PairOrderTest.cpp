#include "WorldTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace quellor {
namespace {

using ZOR::float3;

// Builds one small pile of overlapping shapes and lists its broadphase pairs by collider
// identity. Between the bodies, heap blocks of odd sizes are taken so that two builds get
// different addresses.
std::vector<std::pair<std::uint32_t, std::uint32_t>> BuildAndPair(std::vector<std::unique_ptr<char[]>>& clutter,
                                                                   std::size_t clutterSize)
{
    PhysicsWorld3D world;
    for (int i = 0; i < 12; ++i) {
        clutter.push_back(std::make_unique<char[]>(clutterSize + static_cast<std::size_t>(i) * 24));
        const float3 position(0.7f * static_cast<float>(i % 4), 0.6f * static_cast<float>(i / 4), 0);
        if (i % 3 == 0)
            test::BodyWith(world, position, test::SphereDescription(float3(), 0.5f));
        else
            test::BodyWith(world, position, test::BoxDescription(float3(), float3(0.4f, 0.4f, 0.4f)));
    }
    // A removal in the middle must not reorder what remains.
    RigidBody3D* third = world.GetBodies().Front();
    third = RigidBodyList3D::Next(RigidBodyList3D::Next(third));
    world.DestroyBody(third);
    // This one reuses the freed blocks: a lower address than colliders made before it.
    test::BodyWith(world, float3(1.4f, 0.6f, 0), test::BoxDescription(float3(), float3(0.4f, 0.4f, 0.4f)));

    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    for (const ColliderPair3D* pair : world.GetBroadphase().UpdatePairs())
        pairs.emplace_back(pair->m_colliderA->m_serial, pair->m_colliderB->m_serial);
    return pairs;
}

TEST(PairOrderTest, SameSceneGivesTheSamePairOrderWhateverTheAddresses)
{
    std::vector<std::unique_ptr<char[]>> clutter;
    const auto first = BuildAndPair(clutter, 40);
    const auto second = BuildAndPair(clutter, 4000);
    ASSERT_GT(first.size(), 5u);
    EXPECT_EQ(first, second);
    for (const auto& [a, b] : first)
        EXPECT_LT(a, b); // insertion order: the earlier collider comes first
}

} // namespace
} // namespace quellor
