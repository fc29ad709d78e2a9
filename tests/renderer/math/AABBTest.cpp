#include "renderer/math/AABB.h"

#include <gtest/gtest.h>

using ZOR::AABB;
using ZOR::float3;
using ZOR::float4;

TEST(AABBMath, CenterFollowsEveryConstructorAndSetter)
{
    const AABB empty;
    EXPECT_TRUE(empty.min == float3());
    EXPECT_TRUE(empty.max == float3());
    EXPECT_TRUE(empty.GetCenter() == float3());

    const AABB cube(float3(-1, -1, -1), float3(1, 1, 1));
    EXPECT_TRUE(cube.GetCenter() == float3(0, 0, 0));

    const AABB fromFloat4(float4(0, 2, 4, 100), float4(2, 4, 8, -100));
    EXPECT_TRUE(fromFloat4.min == float3(0, 2, 4));
    EXPECT_TRUE(fromFloat4.max == float3(2, 4, 8));
    EXPECT_TRUE(fromFloat4.GetCenter() == float3(1, 3, 6));

    AABB box(0, 0, 0, 4, 6, 8);
    EXPECT_TRUE(box.GetCenter() == float3(2, 3, 4));
    box.Set(float3(10, 10, 10), float3(12, 14, 16));
    EXPECT_TRUE(box.GetCenter() == float3(11, 12, 13));
    box.Set(float4(0, 0, 0, 1), float4(1, 1, 1, 1));
    EXPECT_TRUE(box.GetCenter() == float3(0.5f, 0.5f, 0.5f));
    box.Set(-2, -2, -2, 0, 0, 0);
    EXPECT_TRUE(box.GetCenter() == float3(-1, -1, -1));

    // min and max are kept as given, even reversed; the center is still their midpoint.
    const AABB reversed(float3(2, 2, 2), float3(0, 0, 0));
    EXPECT_TRUE(reversed.min == float3(2, 2, 2));
    EXPECT_TRUE(reversed.GetCenter() == float3(1, 1, 1));

    // Fields written directly need ComputeCenter.
    box.max = float3(4, 4, 4);
    box.ComputeCenter();
    EXPECT_TRUE(box.GetCenter() == float3(1, 1, 1));
}

TEST(AABBMath, FormUnionCoversBothBoxes)
{
    AABB a(float3(-1, -1, -1), float3(1, 1, 1));
    a.FormUnion(AABB(float3(2, 2, 2), float3(3, 3, 3)));
    EXPECT_TRUE(a.min == float3(-1, -1, -1));
    EXPECT_TRUE(a.max == float3(3, 3, 3));
    EXPECT_TRUE(a.GetCenter() == float3(1, 1, 1));

    // Mixed axes: each component takes its own extreme.
    AABB b(float3(0, -5, 0), float3(1, 0, 1));
    b.FormUnion(AABB(float3(-2, -1, 0.5f), float3(0.5f, 3, 0.75f)));
    EXPECT_TRUE(b.min == float3(-2, -5, 0));
    EXPECT_TRUE(b.max == float3(1, 3, 1));
    EXPECT_TRUE(b.GetCenter() == float3(-0.5f, -1, 0.5f));
}

TEST(AABBMath, ContainsIncludesBounds)
{
    const AABB box(float3(-1, -1, -1), float3(1, 1, 1));
    EXPECT_TRUE(box.Contains(float3(1, 0, 0)));
    EXPECT_TRUE(box.Contains(float3(-1, -1, -1)));
    EXPECT_TRUE(box.Contains(float3(0, 0, 0)));
    EXPECT_FALSE(box.Contains(float3(1.0001f, 0, 0)));
    EXPECT_FALSE(box.Contains(float3(0, -1.5f, 0)));
    EXPECT_FALSE(box.Contains(float3(0, 0, 2)));
    EXPECT_TRUE(box.Contains(float4(0, 1, 0, 999)));
    EXPECT_FALSE(box.Contains(float4(0, 0, -3, 0)));

    EXPECT_TRUE(box.Contains(box));
    EXPECT_TRUE(box.Contains(AABB(float3(-0.5f, 0, 0), float3(0.5f, 1, 1))));
    EXPECT_FALSE(box.Contains(AABB(float3(-0.5f, 0, 0), float3(0.5f, 1, 1.5f))));
    EXPECT_FALSE(AABB(float3(0, 0, 0), float3(1, 1, 1)).Contains(box));
}

TEST(AABBMath, IntersectsWhenBoxesOverlapOrTouch)
{
    const AABB a(float3(0, 0, 0), float3(2, 2, 2));
    // Overlapping, one inside the other, and identical.
    EXPECT_TRUE(a.Intersects(AABB(float3(1, 1, 1), float3(3, 3, 3))));
    EXPECT_TRUE(a.Intersects(AABB(float3(0.5f, 0.5f, 0.5f), float3(1, 1, 1))));
    EXPECT_TRUE(AABB(float3(0.5f, 0.5f, 0.5f), float3(1, 1, 1)).Intersects(a));
    EXPECT_TRUE(a.Intersects(a));
    // Touching on a face, and at a single corner.
    EXPECT_TRUE(a.Intersects(AABB(float3(2, 0, 0), float3(4, 2, 2))));
    EXPECT_TRUE(AABB(float3(-2, 0, 0), float3(0, 2, 2)).Intersects(a));
    EXPECT_TRUE(a.Intersects(AABB(float3(2, 2, 2), float3(3, 3, 3))));
    // Separated on exactly one axis, from either side.
    EXPECT_FALSE(a.Intersects(AABB(float3(2.01f, 0, 0), float3(3, 2, 2))));
    EXPECT_FALSE(a.Intersects(AABB(float3(0, -3, 0), float3(2, -0.01f, 2))));
    EXPECT_FALSE(a.Intersects(AABB(float3(0, 0, 5), float3(2, 2, 6))));
    EXPECT_FALSE(AABB(float3(0, 0, 5), float3(2, 2, 6)).Intersects(a));
    EXPECT_FALSE(a.Intersects(AABB(float3(-3, 0, 0), float3(-1, 2, 2))));
}
