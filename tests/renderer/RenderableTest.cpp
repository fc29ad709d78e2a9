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

TEST(FNV1a, MatchesTheReferenceVectorsAndHashesBytesInMemoryOrder)
{
    EXPECT_EQ(HashOf(""), 0x811C9DC5u);
    EXPECT_EQ(HashOf("a"), 0xE40C292Cu);
    EXPECT_EQ(HashOf("foobar"), 0xBF9CF968u);
    const unsigned char forward[4] = {1, 2, 3, 4};
    const unsigned char backward[4] = {4, 3, 2, 1};
    EXPECT_NE(ZOR::FNV1a(forward, 4), ZOR::FNV1a(backward, 4));
}

TEST(Renderable, VisibilityPerScreenNumber)
{
    Renderable r(Renderable::Type::Renderable3D);
    // Past the last screen asks for all four, without reading beyond them.
    EXPECT_TRUE(r.GetVisible(4));
    EXPECT_TRUE(r.GetVisible(1000));

    // A negative screen touches screen 0 only.
    r.SetVisible(false, -1);
    EXPECT_FALSE(r.GetVisible(0));
    EXPECT_TRUE(r.GetVisible(1));
    EXPECT_FALSE(r.GetVisible(-100));
    r.SetVisible(true, -7);
    EXPECT_TRUE(r.GetVisible(0));

    // 0 to 3 touch that screen.
    r.SetVisible(false, 2);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_EQ(r.GetVisible(screen), screen != 2) << screen;
    EXPECT_FALSE(r.GetVisible(4));

    // 4 or more touch all four.
    r.SetVisible(false, 7);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(r.GetVisible(screen)) << screen;
    r.SetVisible(true, 4);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE(r.GetVisible(screen)) << screen;
}
