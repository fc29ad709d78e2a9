#include "renderer/Camera.h"
#include "renderer/DebugDrawer.h"
#include "tests/support/RecordingRenderContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

using ZOR::AABB;
using ZOR::Color;
using ZOR::DebugDrawer;
using ZOR::float3;
using ZOR::float4;
using ZOR::float4x4;

namespace {

float3 At(const DebugDrawer& drawer, std::uint32_t i)
{
    const float4& p = drawer.GetVertices()[i].position;
    return float3(p.x, p.y, p.z);
}

void ExpectPoint(const float3& actual, const float3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Keeps what the drawer hands to CopyData, and can refuse to create buffers.
class CopyCapturingContext : public tarsel::test::RecordingRenderContext {
public:
    bool refuseBuffers = false;
    std::vector<DebugDrawer::Vertex> copied;

    bool CreateVertexBuffer(ZOR::Handle& handle, ZOR::BufferUsage usage, std::uint32_t bytes, const void* data) override
    {
        if (refuseBuffers)
            return false;
        return RecordingRenderContext::CreateVertexBuffer(handle, usage, bytes, data);
    }
    void CopyData(const ZOR::Handle& handle, const void* data, std::uint32_t bytes) override
    {
        const auto* vertices = static_cast<const DebugDrawer::Vertex*>(data);
        copied.assign(vertices, vertices + bytes / sizeof(DebugDrawer::Vertex));
        RecordingRenderContext::CopyData(handle, data, bytes);
    }
};

void ExpectColor(const Color& actual, const Color& expected)
{
    EXPECT_EQ(actual.r, expected.r);
    EXPECT_EQ(actual.g, expected.g);
    EXPECT_EQ(actual.b, expected.b);
    EXPECT_EQ(actual.a, expected.a);
}

} // namespace

TEST(DebugDrawer, EveryShapeHasItsVertexCount)
{
    ZOR::Camera camera;
    camera.SetProjectionMatrix(1.0f, 1.0f, 1.0f, 10.0f);
    const std::vector<std::pair<std::string, std::function<void(DebugDrawer&)>>> shapes = {
        {"Line", [](DebugDrawer& d) { d.Line(float3(1, 2, 3)); }},
        {"Line4", [](DebugDrawer& d) { d.Line(float4(1, 2, 3, 9)); }},
        {"Vector", [](DebugDrawer& d) { d.Vector(float3(1, 2, 3)); }},
        {"Vector4", [](DebugDrawer& d) { d.Vector(float4(1, 2, 3, 9)); }},
        {"Axis", [](DebugDrawer& d) { d.Axis(); }},
        {"Circle", [](DebugDrawer& d) { d.Circle(2.0f); }},
        {"Rect", [](DebugDrawer& d) { d.Rect(); }},
        {"Cube", [](DebugDrawer& d) { d.Cube(); }},
        {"Sphere", [](DebugDrawer& d) { d.Sphere(); }},
        {"BoundingBox", [](DebugDrawer& d) { d.BoundingBox(AABB(0, 0, 0, 1, 1, 1)); }},
        {"CameraBounds", [&camera](DebugDrawer& d) { d.CameraBounds(camera); }},
    };
    const std::uint32_t counts[] = {2, 2, 6, 6, 18, 32, 8, 24, 240, 24, 32};
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        DebugDrawer drawer(1000);
        shapes[i].second(drawer);
        EXPECT_EQ(drawer.GetSize(), counts[i]) << shapes[i].first;
    }
}

TEST(DebugDrawer, AFullDrawerCutsAShapeAfterTheVertexThatFits)
{
    DebugDrawer drawer(3);
    drawer.SetPenPosition(1, 1, 1);
    drawer.Line(float3(2, 2, 2));
    drawer.SetPenPosition(5, 5, 5);
    drawer.Line(float3(6, 6, 6));
    ASSERT_EQ(drawer.GetSize(), 3u);
    ExpectPoint(At(drawer, 0), float3(1, 1, 1));
    ExpectPoint(At(drawer, 1), float3(2, 2, 2));
    ExpectPoint(At(drawer, 2), float3(5, 5, 5));
    drawer.Sphere();
    drawer.BoundingBox(AABB(0, 0, 0, 1, 1, 1));
    EXPECT_EQ(drawer.GetSize(), 3u);

    DebugDrawer none(0);
    none.Sphere();
    none.Axis();
    none.CameraBounds(ZOR::Camera());
    EXPECT_EQ(none.GetSize(), 0u);
}

TEST(DebugDrawer, ScaleAndRotationApplyAboutThePen)
{
    DebugDrawer drawer(100);
    drawer.SetPenPosition(float3(1, 0, 0));
    drawer.SetObjectScale(2, 2, 2);
    drawer.Line(float3(5, 5, 5));
    // Clear empties the drawer but keeps the pen.
    drawer.Clear();
    EXPECT_EQ(drawer.GetSize(), 0u);
    drawer.Line(float3(2, 0, 0));
    ASSERT_EQ(drawer.GetSize(), 2u);
    ExpectPoint(At(drawer, 0), float3(1, 0, 0));
    ExpectPoint(At(drawer, 1), float3(3, 0, 0));
    EXPECT_EQ(drawer.GetVertices()[1].position.w, 1.0f);

    // Points turn by the transpose of the rotation: a quarter turn taking x to y sends x to -y.
    drawer.Clear();
    drawer.SetObjectScale(1, 1, 1);
    drawer.SetPenPosition(float4(1, 2, 3, 7));
    drawer.SetObjectRotation(float4x4::Rotate(float3(0, 0, 1), std::numbers::pi_v<float> / 2));
    drawer.Line(float3(2, 2, 3));
    ExpectPoint(At(drawer, 0), float3(1, 2, 3));
    ExpectPoint(At(drawer, 1), float3(1, 1, 3));

    // A new pen position rebuilds the transform about the new point; per-axis scale follows.
    drawer.Clear();
    drawer.SetObjectRotation(float4x4());
    drawer.SetObjectScale(1, 3, 1);
    drawer.SetPenPosition(0, 10, 0);
    drawer.Line(float3(1, 11, 1));
    ExpectPoint(At(drawer, 1), float3(1, 13, 1));
}

TEST(DebugDrawer, VectorPicksItsArrowheadAxis)
{
    DebugDrawer drawer(100);
    // v along z: the helper axis is y, so the head spreads along x.
    drawer.Vector(float3(0, 0, 1));
    const float3 expectedZ[6] = {{0, 0, 0}, {0, 0, 1}, {0, 0, 1}, {0.1f, 0, 0.8f}, {0, 0, 1}, {-0.1f, 0, 0.8f}};
    for (std::uint32_t i = 0; i < 6; ++i)
        ExpectPoint(At(drawer, i), expectedZ[i]);

    // v along x: the helper axis is z, so the head spreads along y.
    drawer.Clear();
    drawer.SetPenPosition(1, 1, 1);
    drawer.Vector(float3(1, 0, 0));
    const float3 expectedX[6] = {{1, 1, 1}, {2, 1, 1}, {2, 1, 1}, {1.8f, 1.1f, 1}, {2, 1, 1}, {1.8f, 0.9f, 1}};
    for (std::uint32_t i = 0; i < 6; ++i)
        ExpectPoint(At(drawer, i), expectedX[i]);

    // A zero vector stays finite.
    drawer.Clear();
    drawer.Vector(float3(0, 0, 0));
    for (std::uint32_t i = 0; i < 6; ++i)
        EXPECT_TRUE(std::isfinite(At(drawer, i).x) && std::isfinite(At(drawer, i).y) && std::isfinite(At(drawer, i).z));
}

TEST(DebugDrawer, AxisDrawsRedGreenBlueAndRestoresThePen)
{
    DebugDrawer drawer(100);
    // Three components make an opaque pen.
    drawer.SetPenColor(Color(0, 0, 0, 0));
    drawer.SetPenColor(0.25f, 0.5f, 0.75f);
    const Color pen(0.25f, 0.5f, 0.75f, 1.0f);
    drawer.SetPenPosition(1, 2, 3);
    drawer.Axis();
    ASSERT_EQ(drawer.GetSize(), 18u);
    const Color colors[3] = {Color(1, 0, 0, 1), Color(0, 1, 0, 1), Color(0, 0, 1, 1)};
    const float3 tips[3] = {{2, 2, 3}, {1, 3, 3}, {1, 2, 4}};
    for (std::uint32_t axis = 0; axis < 3; ++axis) {
        ExpectPoint(At(drawer, axis * 6), float3(1, 2, 3));
        ExpectPoint(At(drawer, axis * 6 + 1), tips[axis]);
        for (std::uint32_t i = 0; i < 6; ++i)
            ExpectColor(drawer.GetVertices()[axis * 6 + i].color, colors[axis]);
    }
    drawer.Line(float3(0, 0, 0));
    ExpectColor(drawer.GetVertices()[18].color, pen);
}

TEST(DebugDrawer, CircleJoinsSixteenPointsAroundThePen)
{
    DebugDrawer drawer(100);
    drawer.SetPenPosition(1, 2, 3);
    drawer.Circle(2.0f);
    ExpectPoint(At(drawer, 0), float3(3, 2, 3));
    ExpectPoint(At(drawer, 1), float3(1 + 2 * std::cos(0.3926991f), 2 + 2 * std::sin(0.3926991f), 3));
    for (std::uint32_t i = 0; i < 32; ++i) {
        const float3 d = At(drawer, i) - float3(1, 2, 3);
        EXPECT_NEAR(d.Length(), 2.0f, 1e-5f) << i;
        EXPECT_EQ(d.z, 0.0f);
    }
    // Each segment starts where the previous one ended, and the last closes on the first point.
    for (std::uint32_t i = 2; i < 32; i += 2)
        ExpectPoint(At(drawer, i), At(drawer, i - 1));
    ExpectPoint(At(drawer, 31), At(drawer, 0), 1e-5f);
}

TEST(DebugDrawer, RectCornersLieAtZeroZ)
{
    DebugDrawer drawer(100);
    drawer.SetPenPosition(0, 0, 5);
    drawer.Rect();
    const float3 expected[8] = {{-1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {1, -1, 0}, {-1, -1, 0}, {-1, -1, 0}, {-1, 1, 0}};
    for (std::uint32_t i = 0; i < 8; ++i)
        ExpectPoint(At(drawer, i), expected[i]);
}

TEST(DebugDrawer, CubeEdgesInOrder)
{
    DebugDrawer drawer(100);
    drawer.SetPenPosition(10, 20, 30);
    drawer.Cube();
    const float3 p(10, 20, 30);
    ExpectPoint(At(drawer, 0), p + float3(0.5f, 0.5f, 0.5f));
    ExpectPoint(At(drawer, 1), p + float3(0.5f, 0.5f, -0.5f));
    ExpectPoint(At(drawer, 10), p + float3(-0.5f, -0.5f, 0.5f)); // sixth edge (-,-,+)-(-,+,+)
    ExpectPoint(At(drawer, 11), p + float3(-0.5f, 0.5f, 0.5f));
    ExpectPoint(At(drawer, 22), p + float3(-0.5f, -0.5f, -0.5f));
    ExpectPoint(At(drawer, 23), p + float3(-0.5f, 0.5f, -0.5f));
    // Every edge joins corners one unit apart.
    for (std::uint32_t i = 0; i < 24; i += 2)
        EXPECT_NEAR((At(drawer, i + 1) - At(drawer, i)).Length(), 1.0f, 1e-5f) << i;
}

TEST(DebugDrawer, SphereIsThreeUnitCircles)
{
    DebugDrawer drawer(1000);
    drawer.SetPenPosition(1, 1, 1);
    drawer.Sphere();
    const float3 p(1, 1, 1);
    for (std::uint32_t i = 0; i < 240; ++i)
        EXPECT_NEAR((At(drawer, i) - p).Length(), 1.0f, 1e-5f) << i;
    // XY circle, then YZ, then XZ, each starting at angle 0.
    ExpectPoint(At(drawer, 0), p + float3(1, 0, 0));
    ExpectPoint(At(drawer, 80), p + float3(0, 1, 0));
    ExpectPoint(At(drawer, 160), p + float3(0, 0, 1));
    for (std::uint32_t i = 0; i < 80; ++i) {
        EXPECT_NEAR(At(drawer, i).z, 1.0f, 1e-6f);
        EXPECT_NEAR(At(drawer, 80 + i).x, 1.0f, 1e-6f);
        EXPECT_NEAR(At(drawer, 160 + i).y, 1.0f, 1e-6f);
    }
    ExpectPoint(At(drawer, 161), p + float3(std::sin(0.15707964f), 0, std::cos(0.15707964f)));
}

TEST(DebugDrawer, BoundingBoxIsUntransformedWithItsEdgesInOrder)
{
    DebugDrawer drawer(100);
    drawer.SetPenPosition(5, 5, 5);
    drawer.SetObjectScale(3, 3, 3);
    drawer.BoundingBox(AABB(-1, -2, -3, 1, 2, 3));
    ASSERT_EQ(drawer.GetSize(), 24u);
    ExpectPoint(At(drawer, 0), float3(-1, -2, -3));
    ExpectPoint(At(drawer, 1), float3(-1, 2, -3));
    ExpectPoint(At(drawer, 6), float3(1, 2, 3));
    ExpectPoint(At(drawer, 7), float3(-1, 2, 3));
    ExpectPoint(At(drawer, 22), float3(1, 2, -3));
    ExpectPoint(At(drawer, 23), float3(1, -2, -3));
}

TEST(DebugDrawer, CameraBoundsReachesTheFarPlaneAndEndsItsFourLinesAtTheCamera)
{
    ZOR::Camera camera;
    camera.SetPosition(0, 0, 10);
    camera.LookAt(float3(0, 0, -1), float3(0, 1, 0));
    camera.SetProjectionMatrix(std::numbers::pi_v<float> / 2, 1.0f, 1.0f, 100.0f);

    DebugDrawer drawer(100);
    drawer.SetObjectScale(2, 2, 2);
    drawer.CameraBounds(camera);
    ASSERT_EQ(drawer.GetSize(), 32u);
    for (std::uint32_t k = 0; k < 4; ++k)
        ExpectPoint(At(drawer, 2 * k + 1), float3(0, 0, 10));

    // Corners 4..7 (clip z = 1) lie on the far plane, 100 in front of the eye, at +-100 in x and y
    // for a 90 degree view: their edges 4-5, 5-6, 7-6, 7-4 start at vertex 16.
    const float3 corner4 = At(drawer, 16), corner5 = At(drawer, 17), corner7 = At(drawer, 20), corner6 = At(drawer, 21);
    ExpectPoint(corner4, float3(-100, -100, -90), 0.05f);
    ExpectPoint(corner5, float3(100, -100, -90), 0.05f);
    ExpectPoint(corner6, float3(100, 100, -90), 0.05f);
    ExpectPoint(corner7, float3(-100, 100, -90), 0.05f);
    // The first four lines start at corners 0..3, which the edges 0-1, 1-2, 2-3, 3-0 join next.
    for (std::uint32_t k = 0; k < 4; ++k)
        ExpectPoint(At(drawer, 8 + 2 * k), At(drawer, 2 * k), 1e-4f);
    // The side edges run from corner k to corner k + 4.
    ExpectPoint(At(drawer, 25), corner4, 1e-4f);
    ExpectPoint(At(drawer, 31), corner7, 1e-4f);
}

TEST(DebugDrawer, InitializeCreatesOneDynamicBufferOfTheWholeCapacityOrNothingIsDrawn)
{
    CopyCapturingContext context;
    DebugDrawer drawer(50000);
    ASSERT_TRUE(drawer.Initialize(&context));
    EXPECT_EQ(drawer.GetVertexBuffer().GetType(), ZOR::ObjectType::VertexBuffer);
    const std::vector<std::string> expected = {"CreateVertexBuffer(null, 2, 1600000, null)"};
    EXPECT_EQ(context.Calls(), expected);

    DebugDrawer refused(10);
    refused.Line(float3(1, 1, 1));
    refused.Draw(); // no context at all
    CopyCapturingContext refusing;
    refusing.refuseBuffers = true;
    EXPECT_FALSE(refused.Initialize(&refusing));
    refused.Draw();
    EXPECT_EQ(refusing.Count("CopyData"), 0u);
    EXPECT_EQ(refusing.Count("Draw"), 0u);
    EXPECT_FALSE(refused.Initialize(nullptr));
    refused.Draw();
}

TEST(DebugDrawer, DrawIsOneCopyOneBindAndOneDraw)
{
    CopyCapturingContext context;
    DebugDrawer drawer(100);
    ASSERT_TRUE(drawer.Initialize(&context));
    context.ClearCalls();

    drawer.SetPenColor(0.5f, 0.5f, 0.5f);
    drawer.Line(float3(1, 2, 3));
    drawer.Cube();
    drawer.Draw();
    const std::string buffer = "{8, 0}";
    const std::vector<std::string> expected = {"CopyData(" + buffer + ", pointer, 832)",
                                               "BindVertexBuffer(" + buffer + ", 32)", "Draw(26, 0)"};
    EXPECT_EQ(context.Calls(), expected);
    // The copy is the drawer's own vertices, in order.
    ASSERT_EQ(context.copied.size(), 26u);
    ExpectPoint(float3(context.copied[1].position.x, context.copied[1].position.y, context.copied[1].position.z), float3(1, 2, 3));
    EXPECT_EQ(context.copied[25].position.w, 1.0f);
    ExpectColor(context.copied[0].color, Color(0.5f, 0.5f, 0.5f, 1));

    // After Clear the next frame draws only what it holds.
    drawer.Clear();
    context.ClearCalls();
    drawer.Line(float3(0, 0, 1));
    drawer.Draw();
    const std::vector<std::string> next = {"CopyData(" + buffer + ", pointer, 64)",
                                           "BindVertexBuffer(" + buffer + ", 32)", "Draw(2, 0)"};
    EXPECT_EQ(context.Calls(), next);
}

TEST(DebugDrawer, AnEmptyDrawerDrawsZeroVertices)
{
    CopyCapturingContext context;
    DebugDrawer empty(0);
    ASSERT_TRUE(empty.Initialize(&context));
    empty.Line(float3(1, 1, 1));
    context.ClearCalls();
    empty.Draw();
    const std::vector<std::string> expected = {"CopyData({8, 0}, pointer, 0)", "BindVertexBuffer({8, 0}, 32)",
                                               "Draw(0, 0)"};
    EXPECT_EQ(context.Calls(), expected);
}
