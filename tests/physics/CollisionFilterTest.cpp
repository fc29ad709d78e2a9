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

// A shared non-zero group decides by its sign whatever the masks; otherwise each category must
// meet the other's mask, where only non-zero is tested.
TEST(CollisionFilter3DTest, GroupsDecideFirstThenCategoriesAndMasks)
{
    EXPECT_TRUE(CollisionFilter3D().ShouldCollide(CollisionFilter3D()));
    struct Case {
        CollisionFilter3D a, b;
        bool collide;
    };
    const Case cases[] = {
        {Filter(0, 0, 3), Filter(0, 0, 3), true},
        {Filter(1, 0xFFFF, 3), Filter(1, 0xFFFF, 3), true},
        {Filter(1, 0xFFFF, -3), Filter(1, 0xFFFF, -3), false},
        {Filter(0xFFFF, 0xFFFF, -3), Filter(0xFFFF, 0xFFFF, -3), false},
        {Filter(0, 0xFFFF, 1), Filter(0, 0xFFFF, 2), false}, // category 0 on both sides
        {Filter(1, 0, 1), Filter(1, 0, 2), false},           // mask 0 on both sides
        {Filter(1, 0, 1), Filter(1, 0xFFFF, 2), true},       // mask 0 on one side alone
        {Filter(1, 0xFFFF, 2), Filter(1, 0, 1), true},
        {Filter(1, 0xFFFF, -1), Filter(1, 0xFFFF, -2), true}, // differing negative groups fall back
        {Filter(1, 2, 0), Filter(4, 8, 0), true},             // disjoint bits still collide
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].a.ShouldCollide(cases[i].b), cases[i].collide) << "case " << i;
}

} // namespace
} // namespace quellor
