#include "renderer/Hash.h"
#include "renderer/Renderable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

using ZOR::Renderable;

namespace {

std::uint32_t HashOf(const char* text)
{
    return ZOR::FNV1a(text, std::strlen(text));
}

} // namespace

TEST(FNV1a, MatchesTheReferenceVectors)
{
    EXPECT_EQ(HashOf(""), 0x811C9DC5u);
    EXPECT_EQ(HashOf("a"), 0xE40C292Cu);
    EXPECT_EQ(HashOf("foobar"), 0xBF9CF968u);
}

TEST(FNV1a, HashesBytesInMemoryOrder)
{
    const unsigned char forward[4] = {1, 2, 3, 4};
    const unsigned char backward[4] = {4, 3, 2, 1};
    EXPECT_NE(ZOR::FNV1a(forward, 4), ZOR::FNV1a(backward, 4));
    // One step by hand: (basis ^ byte) * prime, modulo 2^32.
    const unsigned char one = 0x7F;
    EXPECT_EQ(ZOR::FNV1a(&one, 1), static_cast<std::uint32_t>((0x811C9DC5u ^ 0x7Fu) * 16777619u));
}

TEST(Renderable, StartsUnfiledVisibleEverywhereWithZeroBoundsAndHash)
{
    const Renderable r(Renderable::Type::Decal);
    EXPECT_EQ(r.GetType(), Renderable::Type::Decal);
    EXPECT_EQ(static_cast<std::uint32_t>(r.GetType()), 8u);
    EXPECT_EQ(r.GetOctree(), nullptr);
    EXPECT_EQ(r.GetHash(), 0u);
    EXPECT_TRUE(r.GetAABB().min == ZOR::float3());
    EXPECT_TRUE(r.GetAABB().max == ZOR::float3());
    EXPECT_TRUE(r.GetAABB().center == ZOR::float3());
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE(r.GetVisible(screen)) << screen;
}

TEST(Renderable, SetVisibleScreenNumbers)
{
    Renderable r(Renderable::Type::Renderable3D);

    // A negative screen touches screen 0 only.
    r.SetVisible(false, -1);
    EXPECT_FALSE(r.GetVisible(0));
    EXPECT_TRUE(r.GetVisible(1));
    EXPECT_TRUE(r.GetVisible(2));
    EXPECT_TRUE(r.GetVisible(3));
    EXPECT_FALSE(r.GetVisible(-1));

    r.SetVisible(true, -7);
    EXPECT_TRUE(r.GetVisible(0));

    // 0 to 3 touch that screen.
    r.SetVisible(false, 2);
    EXPECT_TRUE(r.GetVisible(0));
    EXPECT_TRUE(r.GetVisible(1));
    EXPECT_FALSE(r.GetVisible(2));
    EXPECT_TRUE(r.GetVisible(3));

    // 4 or more touch all four.
    r.SetVisible(false, 7);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(r.GetVisible(screen)) << screen;
    r.SetVisible(true, 4);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE(r.GetVisible(screen)) << screen;
}

TEST(Renderable, GetVisiblePastTheLastScreenAsksForAllFourWithoutReadingBeyond)
{
    Renderable r(Renderable::Type::Renderable3D);
    EXPECT_TRUE(r.GetVisible(4));
    EXPECT_TRUE(r.GetVisible(1000));
    r.SetVisible(false, 3);
    EXPECT_FALSE(r.GetVisible(4));
    EXPECT_TRUE(r.GetVisible(-100)); // screen 0
}

TEST(Renderable, BaseUpdateAndInvalidateOfAnUnfiledRenderableChangeNothing)
{
    Renderable r(Renderable::Type::PointLight);
    r.Update(0.016f);
    r.Invalidate();
    EXPECT_EQ(r.GetOctree(), nullptr);
    EXPECT_TRUE(r.GetAABB().max == ZOR::float3());
}
