#include "renderer/BillboardedQuad.h"
#include "renderer/Decal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using ZOR::BillboardedQuad;
using ZOR::Decal;
using ZOR::float3;
using ZOR::float4;
using ZOR::float4x4;

namespace {

void ExpectPoint(const float3& actual, const float3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Decal PlacedDecal(const float3& position, const float3& scale)
{
    Decal decal;
    decal.m_position = position;
    decal.m_scale = scale;
    return decal;
}

} // namespace

TEST(Decal, AlphaIsClampedToZeroThroughOne)
{
    Decal decal;
    decal.SetAlpha(-0.5f);
    EXPECT_EQ(decal.GetAlpha(), 0.0f);
    decal.SetAlpha(2.0f);
    EXPECT_EQ(decal.GetAlpha(), 1.0f);
    decal.SetAlpha(0.25f);
    EXPECT_EQ(decal.GetAlpha(), 0.25f);
    EXPECT_EQ(decal.GetInstance().alpha, 0.25f);
}

TEST(Decal, OneUpdateBuildsTheWorldMatrixAndBoundsOfTheNewPlace)
{
    Decal decal = PlacedDecal(float3(0, 5, 0), float3(2, 1, 4));
    decal.Update(0.016f);
    const float4x4& world = decal.GetInstance().world;
    EXPECT_EQ(world.m[0], 2.0f);
    EXPECT_EQ(world.m[5], 1.0f);
    EXPECT_EQ(world.m[10], 4.0f);
    EXPECT_EQ(world.m[7], 5.0f);
    EXPECT_EQ(world.m[3], 0.0f);
    EXPECT_EQ(world.m[11], 0.0f);
    // The bounds already follow this update's matrix.
    ExpectPoint(decal.GetAABB().min, float3(-1, 4.5f, -2));
    ExpectPoint(decal.GetAABB().max, float3(1, 5.5f, 2));
    ExpectPoint(decal.GetAABB().center, float3(0, 5, 0));

    // A second update of the same placement changes nothing; a moved decal is bounded where it now is.
    decal.Update(0.016f);
    EXPECT_EQ(decal.GetInstance().world.m[7], 5.0f);
    ExpectPoint(decal.GetAABB().min, float3(-1, 4.5f, -2));
    decal.m_position = float3(100, 0, -50);
    decal.m_scale = float3(1, 1, 1);
    decal.Update(0.016f);
    ExpectPoint(decal.GetAABB().min, float3(99.5f, -0.5f, -50.5f));
    ExpectPoint(decal.GetAABB().max, float3(100.5f, 0.5f, -49.5f));
}

TEST(Decal, ProjectorMapsTheBoxOntoTheUnitSquareLookingDown)
{
    Decal decal = PlacedDecal(float3(3, 5, -7), float3(2, 1, 4));
    decal.Update(0.016f);
    const float4x4& projector = decal.GetInstance().projector;
    // Corner offsets (+-1, +-0.5, +-2): the projected x follows world z, the projected y world x.
    for (int i = 0; i < 8; ++i) {
        const float dx = (i & 1) ? 1.0f : -1.0f;
        const float dy = (i & 2) ? 0.5f : -0.5f;
        const float dz = (i & 4) ? 2.0f : -2.0f;
        const float4 clip = projector * float4(3 + dx, 5 + dy, -7 + dz, 1);
        EXPECT_NEAR(clip.x, dz / 2.0f, 1e-5f) << i;
        EXPECT_NEAR(clip.y, dx, 1e-5f) << i;
        EXPECT_NEAR(clip.w, 1.0f, 1e-6f) << i;
    }
    // Straight down: the centre projects to the middle, further down is further along view z.
    const float4 centre = projector * float4(3, 5, -7, 1);
    EXPECT_NEAR(centre.x, 0.0f, 1e-5f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-5f);
    const float4 below = projector * float4(3, 4, -7, 1);
    EXPECT_NEAR(below.z - centre.z, -1.0f, 1e-5f);
}

TEST(Decal, DegenerateScaleNeitherCrashesNorTouchesTheAlpha)
{
    Decal decal;
    decal.SetAlpha(0.5f);
    decal.Update(0.016f);
    ExpectPoint(decal.GetAABB().min, float3());
    ExpectPoint(decal.GetAABB().max, float3());
    EXPECT_EQ(decal.GetAlpha(), 0.5f);
}

TEST(BillboardedQuad, PositionSettersWriteTheirW)
{
    BillboardedQuad quad;
    quad.SetPosition(float4(9, 9, 9, 9));
    quad.SetPosition(float3(1, 2, 3));
    EXPECT_EQ(quad.GetPosition().w, 1.0f);
    quad.SetPosition(float4(9, 9, 9, 9));
    quad.SetPosition(4, 5, 6);
    EXPECT_TRUE(quad.GetPosition() == float4(4, 5, 6, 1));
    quad.SetPosition(float4(1, 2, 3, 0.5f));
    EXPECT_EQ(quad.GetInstance().position.w, 0.5f);
}

TEST(BillboardedQuad, BoundsTakeTheLargerSideInDepth)
{
    BillboardedQuad quad;
    quad.SetScale(4, 2);
    quad.Update(0.016f);
    ExpectPoint(quad.GetAABB().min, float3(-2, -1, -2));
    ExpectPoint(quad.GetAABB().max, float3(2, 1, 2));
    ExpectPoint(quad.GetAABB().center, float3(0, 0, 0));

    quad.SetPosition(10, 20, 30);
    quad.SetScale(1, 6);
    quad.Update(0.016f);
    ExpectPoint(quad.GetAABB().min, float3(9.5f, 17, 27));
    ExpectPoint(quad.GetAABB().max, float3(10.5f, 23, 33));
}
