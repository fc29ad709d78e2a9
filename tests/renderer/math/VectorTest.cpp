#include "renderer/math/Color.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <gtest/gtest.h>

#include <cmath>

using ZOR::Color;
using ZOR::float2;
using ZOR::float3;
using ZOR::float4;

TEST(VectorMath, EqualityUsesStrictTolerance)
{
    EXPECT_TRUE(float3(1, 2, 3) == float3(1.000005f, 2, 3));
    EXPECT_FALSE(float3(1, 2, 3) == float3(1.00002f, 2, 3));
    EXPECT_TRUE(float3(1, 2, 3) != float3(1, 2, 3.0001f));
    EXPECT_TRUE(float2(0, 0) == float2(-9e-6f, 9e-6f));
    EXPECT_FALSE(float2(0, 0) == float2(0, 2e-5f));
    // float4 compares w as well.
    EXPECT_TRUE(float4(1, 2, 3, 4) == float4(1, 2, 3, 4.000003f));
    EXPECT_FALSE(float4(1, 2, 3, 4) == float4(1, 2, 3, 4.1f));
}

TEST(VectorMath, NormalizeLeavesNearZeroVectorsAlone)
{
    float3 zero;
    zero.Normalize();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);

    float3 tiny(1e-6f, 0, 0);
    tiny.Normalize();
    EXPECT_EQ(tiny.x, 1e-6f);
    EXPECT_EQ(float3(1e-6f, 0, 0).Normalized().x, 1e-6f);

    float2 tiny2(0, -5e-6f);
    EXPECT_EQ(tiny2.Normalized().y, -5e-6f);
}

TEST(VectorMath, NormalizeScalesToUnitLengthIncludingW)
{
    float4 v(0, 0, 0, 2);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.w, 1.0f);
    EXPECT_EQ(v.x, 0.0f);

    const float3 a(3, 0, 4);
    const float3 n = a.Normalized();
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    EXPECT_FLOAT_EQ(a.x, 3.0f) << "Normalized must not change the source";

    const float2 b = float2(-5, 12).Normalized();
    EXPECT_FLOAT_EQ(b.Length(), 1.0f);
    EXPECT_FLOAT_EQ(b.x, -5.0f / 13.0f);

    const float4 c = float4(1, 1, 1, 1).Normalized();
    EXPECT_FLOAT_EQ(c.x, 0.5f);
    EXPECT_FLOAT_EQ(c.w, 0.5f);
}

TEST(VectorMath, MajorComponentBreaksTiesTowardLaterIndex)
{
    EXPECT_EQ(float3(1, 1, 1).MajorComponent(), 2);
    EXPECT_EQ(float3(2, 2, 1).MajorComponent(), 1);
    EXPECT_EQ(float3(3, 1, 2).MajorComponent(), 0);
    EXPECT_EQ(float3(3, 1, 3).MajorComponent(), 2);
    EXPECT_EQ(float3(-1, -5, -2).MajorComponent(), 0);
    EXPECT_EQ(float3(0, 4, 1).MajorComponent(), 1);
    // w takes no part.
    EXPECT_EQ(float4(1, 2, 3, 100).MajorComponent(), 2);
    EXPECT_EQ(float4(3, 1, 2, 100).MajorComponent(), 0);
}

TEST(VectorMath, MinorComponentFindsSmallestWithTiesTowardLaterIndex)
{
    EXPECT_EQ(float3(1, 2, 3).MinorComponent(), 0);
    EXPECT_EQ(float3(3, 1, 2).MinorComponent(), 1);
    EXPECT_EQ(float3(3, 2, 1).MinorComponent(), 2);
    EXPECT_EQ(float3(-4, 2, 1).MinorComponent(), 0);
    // Ties.
    EXPECT_EQ(float3(1, 1, 1).MinorComponent(), 2);
    EXPECT_EQ(float3(1, 1, 2).MinorComponent(), 1);
    EXPECT_EQ(float3(2, 1, 1).MinorComponent(), 2);
    EXPECT_EQ(float3(1, 2, 1).MinorComponent(), 2);
    // It must not simply mirror MajorComponent.
    EXPECT_NE(float3(3, 1, 2).MinorComponent(), float3(3, 1, 2).MajorComponent());
    // w takes no part.
    EXPECT_EQ(float4(3, 1, 2, -100).MinorComponent(), 1);
    EXPECT_EQ(float4(2, 2, 2, -1).MinorComponent(), 2);
}

TEST(VectorMath, CrossDotLengthDistance)
{
    const float3 z = float3(1, 0, 0).Cross(float3(0, 1, 0));
    EXPECT_TRUE(z == float3(0, 0, 1));
    EXPECT_TRUE(float3(0, 1, 0).Cross(float3(1, 0, 0)) == float3(0, 0, -1));
    const float3 c = float3(1, 2, 3).Cross(float3(4, 5, 6));
    EXPECT_TRUE(c == float3(-3, 6, -3));

    const float4 c4 = float4(1, 2, 3, 7).Cross(float4(4, 5, 6, 9));
    EXPECT_TRUE(c4 == float4(-3, 6, -3, 0));

    EXPECT_FLOAT_EQ(float3(1, 2, 3).Dot(float3(4, -5, 6)), 12.0f);
    EXPECT_FLOAT_EQ(float4(1, 2, 3, 4).Dot(float4(1, 1, 1, 1)), 10.0f);
    EXPECT_FLOAT_EQ(float2(3, 4).Length(), 5.0f);
    EXPECT_FLOAT_EQ(float4(0, 0, 0, -3).Length(), 3.0f);
    EXPECT_FLOAT_EQ(float3(1, 1, 1).Distance(float3(1, 4, 5)), 5.0f);
    EXPECT_FLOAT_EQ(float4(0, 0, 0, 1).Distance(float4(0, 0, 0, -1)), 2.0f);
    EXPECT_FLOAT_EQ(float2(1, 1).Distance(float2(4, 5)), 5.0f);
}

TEST(VectorMath, ArithmeticAndCompoundForms)
{
    float3 a(1, 2, 3);
    const float3 b(4, 5, 6);
    EXPECT_TRUE(a + b == float3(5, 7, 9));
    EXPECT_TRUE(a - b == float3(-3, -3, -3));
    EXPECT_TRUE(-a == float3(-1, -2, -3));
    EXPECT_TRUE(a * b == float3(4, 10, 18));
    EXPECT_TRUE(a * 2.0f == float3(2, 4, 6));
    EXPECT_TRUE(b / 2.0f == float3(2, 2.5f, 3));

    float3& same = (a += b);
    EXPECT_EQ(&same, &a);
    EXPECT_TRUE(a == float3(5, 7, 9));
    a -= float3(1, 1, 1);
    a *= float3(1, 0, 2);
    a *= 0.5f;
    EXPECT_TRUE(a == float3(2, 0, 8));
    a /= 4.0f;
    EXPECT_TRUE(a == float3(0.5f, 0, 2));

    float4 v(1, 2, 3, 4);
    v /= 2.0f;
    EXPECT_TRUE(v == float4(0.5f, 1, 1.5f, 2));
    EXPECT_TRUE(-v == float4(-0.5f, -1, -1.5f, -2));
    EXPECT_TRUE(v * v == float4(0.25f, 1, 2.25f, 4));

    float2 p(6, 8);
    p -= float2(1, 2);
    p /= 0.5f;
    EXPECT_TRUE(p == float2(10, 12));
    EXPECT_TRUE(p * float2(0.5f, 2) == float2(5, 24));

    // Division by zero passes the IEEE result through.
    EXPECT_TRUE(std::isinf((float3(1, 0, 0) / 0.0f).x));
}

TEST(VectorMath, SetOverloadsTakeTheRightComponents)
{
    float2 a;
    a.Set(float4(1, 2, 3, 4));
    EXPECT_TRUE(a == float2(1, 2));
    a.Set(float3(5, 6, 7));
    EXPECT_TRUE(a == float2(5, 6));

    float3 b;
    b.Set(float2(1, 2), 9);
    EXPECT_TRUE(b == float3(1, 2, 9));
    b.Set(float4(4, 3, 2, 1));
    EXPECT_TRUE(b == float3(4, 3, 2));

    float4 c;
    EXPECT_EQ(c.w, 0.0f);
    c.Set(float3(1, 2, 3), 1);
    EXPECT_TRUE(c == float4(1, 2, 3, 1));
    c.Set(float2(7, 8), 9, 10);
    EXPECT_TRUE(c == float4(7, 8, 9, 10));
}

TEST(ColorMath, DefaultsOpaqueAndScalesAlpha)
{
    const Color black;
    EXPECT_EQ(black.r, 0.0f);
    EXPECT_EQ(black.a, 1.0f);

    const Color c(0.2f, 0.4f, 0.6f, 0.8f);
    const Color half = c * 0.5f;
    EXPECT_FLOAT_EQ(half.a, 0.4f);
    EXPECT_FLOAT_EQ((c / 2.0f).a, 0.4f);
    EXPECT_FLOAT_EQ((c / 2.0f).g, 0.2f);

    const Color q = c / Color(0.2f, 0.2f, 0.3f, 0.4f);
    EXPECT_FLOAT_EQ(q.r, 1.0f);
    EXPECT_FLOAT_EQ(q.g, 2.0f);
    EXPECT_FLOAT_EQ(q.b, 2.0f);
    EXPECT_FLOAT_EQ(q.a, 2.0f);

    Color d(1, 1, 1, 1);
    d -= Color(0.5f, 0.25f, 0, 0);
    d *= Color(2, 2, 2, 0.5f);
    d /= Color(1, 3, 4, 1);
    d += Color(0, 0, 0, 0.25f);
    EXPECT_FLOAT_EQ(d.r, 1.0f);
    EXPECT_FLOAT_EQ(d.g, 0.5f);
    EXPECT_FLOAT_EQ(d.b, 0.5f);
    EXPECT_FLOAT_EQ(d.a, 0.75f);
    d *= 2.0f;
    d /= 4.0f;
    EXPECT_FLOAT_EQ(d.a, 0.375f);
    d.Set(0.1f, 0.2f, 0.3f, 0.4f);
    const Color sum = d + d - Color(0.1f, 0.1f, 0.1f, 0.1f);
    EXPECT_FLOAT_EQ(sum.b, 0.5f);
    EXPECT_FLOAT_EQ((sum * d).a, 0.7f * 0.4f);
}
