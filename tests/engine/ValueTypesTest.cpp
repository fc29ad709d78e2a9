#include "engine/reflection/Mat2.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec2.h"
#include "engine/reflection/Vec4.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(ValueTypes, DefaultsAreZeroVectorsIdentityRotationAndIdentityMatrices)
{
    const Vec2 v2;
    EXPECT_EQ(v2.x, 0.0f);
    EXPECT_EQ(v2.y, 0.0f);

    const Vec4 v4;
    EXPECT_EQ(v4.x, 0.0f);
    EXPECT_EQ(v4.y, 0.0f);
    EXPECT_EQ(v4.z, 0.0f);
    EXPECT_EQ(v4.w, 0.0f);

    const Quat q;
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_EQ(q.z, 0.0f);
    EXPECT_EQ(q.w, 1.0f);

    const Mat2 m2;
    EXPECT_EQ(m2.m00, 1.0f);
    EXPECT_EQ(m2.m01, 0.0f);
    EXPECT_EQ(m2.m10, 0.0f);
    EXPECT_EQ(m2.m11, 1.0f);

    const Mat4 m4;
    const float* e = &m4.m00;
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(e[k], (k / 4 == k % 4) ? 1.0f : 0.0f) << "element " << k;
}

TEST(ValueTypes, AccessorsReadAndWriteTheirComponentOnly)
{
    Vec2 v2(1.0f, 2.0f);
    v2.SetX(5.0f);
    v2.SetY(-3.0f);
    EXPECT_EQ(v2.GetX(), 5.0f);
    EXPECT_EQ(v2.GetY(), -3.0f);
    EXPECT_EQ(v2.x, 5.0f);
    EXPECT_EQ(v2.y, -3.0f);

    Vec4 v4(1.0f, 2.0f, 3.0f, 4.0f);
    v4.SetX(9.0f);
    EXPECT_EQ(v4.GetX(), 9.0f);
    EXPECT_EQ(v4.y, 2.0f);
    EXPECT_EQ(v4.z, 3.0f);
    EXPECT_EQ(v4.w, 4.0f);
}

} // namespace
} // namespace quellor
