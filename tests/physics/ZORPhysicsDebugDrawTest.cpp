#include "PhysicsTestSupport.h"

#include "physics/BroadphaseProxy3D.h"
#include "physics/ZORPhysicsDebugDraw3D.h"
#include "renderer/DebugDrawer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quellor {
namespace {

using ZOR::float3;

struct Extent {
    float3 min{1e9f, 1e9f, 1e9f};
    float3 max{-1e9f, -1e9f, -1e9f};
};

Extent ExtentOf(const ZOR::DebugDrawer& drawer)
{
    Extent e;
    for (std::uint32_t i = 0; i < drawer.GetSize(); ++i) {
        const auto& p = drawer.GetVertices()[i].position;
        e.min = float3(std::min(e.min.x, p.x), std::min(e.min.y, p.y), std::min(e.min.z, p.z));
        e.max = float3(std::max(e.max.x, p.x), std::max(e.max.y, p.y), std::max(e.max.z, p.z));
    }
    return e;
}

TEST(ZORPhysicsDebugDrawTest, ColoursAreSplitFromArgbIntoChannelsOverTwoFiftyFive)
{
    const ZOR::Color green = ZORPhysicsDebugDraw3D::ToColor(0xFF00FF00u);
    EXPECT_FLOAT_EQ(green.r, 0.0f);
    EXPECT_NEAR(green.g, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(green.b, 0.0f);
    EXPECT_NEAR(green.a, 1.0f, 1e-6f);
    const ZOR::Color mixed = ZORPhysicsDebugDraw3D::ToColor(0x80FF0033u);
    EXPECT_NEAR(mixed.a, 0.502f, 1e-3f);
    EXPECT_NEAR(mixed.r, 1.0f, 1e-6f);
    EXPECT_NEAR(mixed.b, 0.2f, 1e-6f);

    ZOR::DebugDrawer drawer(64);
    ZORPhysicsDebugDraw3D adapter(&drawer, 1.0f);
    adapter.DrawLine(float3(1, 2, 3), float3(4, 5, 6), 0xFF00FF00u);
    ASSERT_EQ(drawer.GetSize(), 2u);
    const auto& from = drawer.GetVertices()[0];
    const auto& to = drawer.GetVertices()[1];
    EXPECT_FLOAT_EQ(from.position.x, 1.0f);
    EXPECT_FLOAT_EQ(to.position.z, 6.0f);
    EXPECT_FLOAT_EQ(to.color.g, green.g);
    EXPECT_FLOAT_EQ(to.color.r, 0.0f);
}

TEST(ZORPhysicsDebugDrawTest, BoxesAreCubesPlacedAndScaledByTheirExtents)
{
    ZOR::DebugDrawer drawer(256);
    ZORPhysicsDebugDraw3D adapter(&drawer, 1.0f);
    adapter.DrawAABB(float3(0, 0, 0), float3(2, 4, 6), 0xFFFFFFFFu);
    ASSERT_EQ(drawer.GetSize(), 24u); // twelve edges
    Extent e = ExtentOf(drawer);
    test::ExpectNear(e.min, float3(0, 0, 0));
    test::ExpectNear(e.max, float3(2, 4, 6));
    test::ExpectNear((e.min + e.max) * 0.5f, float3(1, 2, 3));

    drawer.Clear();
    // Turned boxes are still drawn axis-aligned.
    adapter.DrawBox(float3(5, 5, 5), float3(0.1f, 0.1f, 0.1f), test::RotationY(0.7f), 0xFFFFFFFFu);
    e = ExtentOf(drawer);
    test::ExpectNear(e.max - e.min, float3(0.2f, 0.2f, 0.2f));
    test::ExpectNear(e.min, float3(4.9f, 4.9f, 4.9f));

    drawer.Clear();
    BroadphaseProxy3D proxy;
    proxy.m_min = float3(-1, -1, -1);
    proxy.m_max = float3(1, 3, 1);
    adapter.DrawProxy(proxy, 0xFFFFFFFFu);
    e = ExtentOf(drawer);
    test::ExpectNear(e.min, proxy.m_min);
    test::ExpectNear(e.max, proxy.m_max);
}

TEST(ZORPhysicsDebugDrawTest, ScaleMultipliesPositionsAndSizes)
{
    ZOR::DebugDrawer drawer(256);
    ZORPhysicsDebugDraw3D adapter(&drawer, 2.0f);
    adapter.DrawSphere(float3(1, 0, 0), 0.5f, ZOR::float3x3(), 0xFFFFFFFFu);
    ASSERT_GT(drawer.GetSize(), 0u);
    const Extent e = ExtentOf(drawer);
    // Radius 0.5 x 2 around (2, 0, 0).
    EXPECT_NEAR(e.max.x, 3.0f, 1e-4f);
    EXPECT_NEAR(e.min.x, 1.0f, 1e-4f);

    drawer.Clear();
    adapter.DrawLine(float3(1, 1, 1), float3(2, 2, 2), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(drawer.GetVertices()[0].position.x, 2.0f);
    EXPECT_FLOAT_EQ(drawer.GetVertices()[1].position.x, 4.0f);
}

TEST(ZORPhysicsDebugDrawTest, QuadIsFourLinesInItsLocalXzPlane)
{
    ZOR::DebugDrawer drawer(64);
    ZORPhysicsDebugDraw3D adapter(&drawer, 1.0f);
    adapter.DrawQuad(float3(0, 1, 0), 2.0f, 4.0f, test::RotationX(1.5707964f), 0xFFFFFFFFu);
    ASSERT_EQ(drawer.GetSize(), 8u);
    const auto& v = drawer.GetVertices();
    // Turned a quarter about x, the quad stands in the x-y plane: 2 wide along x, 4 high along y.
    EXPECT_NEAR(v[0].position.x, 1.0f, 1e-5f);
    EXPECT_NEAR(v[0].position.y, -1.0f, 1e-5f);
    EXPECT_NEAR(v[0].position.z, 0.0f, 1e-5f);
    const Extent e = ExtentOf(drawer);
    test::ExpectNear(e.min, float3(-1, -1, 0));
    test::ExpectNear(e.max, float3(1, 3, 0));
    EXPECT_FLOAT_EQ(v[7].position.x, v[0].position.x); // closed
}

} // namespace
} // namespace quellor
