#include "physics/CollisionFilter3D.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

CollisionFilter3D Filter(std::uint32_t category, std::uint32_t mask, std::int32_t group)
{
    CollisionFilter3D filter;
    filter.category = category;
    filter.mask = mask;
    filter.group = group;
    return filter;
}

TEST(CollisionFilter3DTest, DefaultFiltersCollide)
{
    const CollisionFilter3D a;
    const CollisionFilter3D b;
    EXPECT_EQ(a.category, 1u);
    EXPECT_EQ(a.mask, 0xFFFFu);
    EXPECT_EQ(a.group, 0);
    EXPECT_TRUE(a.ShouldCollide(b));
}

TEST(CollisionFilter3DTest, SharedGroupDecidesWhateverTheMasks)
{
    EXPECT_TRUE(Filter(0, 0, 3).ShouldCollide(Filter(0, 0, 3)));
    EXPECT_TRUE(Filter(1, 0xFFFF, 3).ShouldCollide(Filter(1, 0xFFFF, 3)));
    EXPECT_FALSE(Filter(1, 0xFFFF, -3).ShouldCollide(Filter(1, 0xFFFF, -3)));
    EXPECT_FALSE(Filter(0xFFFF, 0xFFFF, -3).ShouldCollide(Filter(0xFFFF, 0xFFFF, -3)));
}

TEST(CollisionFilter3DTest, DifferentGroupsFallBackToCategoryAndMask)
{
    // Category 0 on both sides, or mask 0 on both sides, keeps them apart.
    EXPECT_FALSE(Filter(0, 0xFFFF, 1).ShouldCollide(Filter(0, 0xFFFF, 2)));
    EXPECT_FALSE(Filter(1, 0, 1).ShouldCollide(Filter(1, 0, 2)));
    // Mask 0 on one side alone does not, in either order.
    EXPECT_TRUE(Filter(1, 0, 1).ShouldCollide(Filter(1, 0xFFFF, 2)));
    EXPECT_TRUE(Filter(1, 0xFFFF, 2).ShouldCollide(Filter(1, 0, 1)));
    // Negative groups that differ fall back too.
    EXPECT_TRUE(Filter(1, 0xFFFF, -1).ShouldCollide(Filter(1, 0xFFFF, -2)));
    // Only non-zero is tested: disjoint bits still collide.
    EXPECT_TRUE(Filter(1, 2, 0).ShouldCollide(Filter(4, 8, 0)));
}

} // namespace
} // namespace quellor
