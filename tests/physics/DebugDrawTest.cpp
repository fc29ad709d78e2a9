#include "PhysicsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace quellor {
namespace {

using test::ColliderFactory;
using test::ExpectNear;
using test::RecordingDebugDraw;
using ZOR::float3;

constexpr std::uint32_t kColour = 0xFF12AB34;

// Index of the point in the list that the given point matches, or -1.
int IndexOf(const std::vector<float3>& points, const float3& p)
{
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (p.Distance(points[i]) < 1e-4f)
            return static_cast<int>(i);
    }
    return -1;
}

// How often each pair of points is joined by one of the lines [first, first + count), every end
// having to be one of the points.
std::map<std::pair<int, int>, int> Joins(const std::vector<RecordingDebugDraw::Line>& lines,
                                         const std::vector<float3>& points, std::size_t first, std::size_t count)
{
    std::map<std::pair<int, int>, int> joins;
    for (std::size_t k = first; k < first + count && k < lines.size(); ++k) {
        const int a = IndexOf(points, lines[k].from);
        const int b = IndexOf(points, lines[k].to);
        EXPECT_GE(a, 0) << "line " << k;
        EXPECT_GE(b, 0) << "line " << k;
        EXPECT_NE(a, b) << "line " << k;
        ++joins[{std::min(a, b), std::max(a, b)}];
    }
    return joins;
}

TEST(DebugDrawTest, TurnedBoxDrawsItsTwelveEdgesAtItsTurnedCorners)
{
    RigidBody3D body(test::BodyAt(float3(2, -1, 4), test::RotationZ(0.5f) * test::RotationX(0.2f)));
    ColliderFactory factory;
    const float3 center(1, 0, 0), half(1, 2, 3);
    const ZOR::float3x3 own = test::RotationY(0.8f);
    Collider3D* box = factory.Make(test::BoxDescription(center, half, own), &body);

    RecordingDebugDraw drawer;
    box->DebugDraw(drawer, kColour);
    ASSERT_EQ(drawer.lines.size(), 12u);
    std::vector<float3> corners;
    for (const float3& k : test::BoxCorners(float3(), half))
        corners.push_back(body.m_position + body.m_rotation * (center + own * k));
    const auto edges = Joins(drawer.lines, corners, 0, 12);
    EXPECT_EQ(edges.size(), 12u);
    for (const auto& [edge, count] : edges) {
        // An edge joins corners that differ on exactly one axis.
        const int differ = edge.first ^ edge.second;
        EXPECT_TRUE(differ == 1 || differ == 2 || differ == 4) << edge.first << " " << edge.second;
    }
    for (const RecordingDebugDraw::Line& line : drawer.lines)
        EXPECT_EQ(line.colour, kColour);
    EXPECT_TRUE(drawer.spheres.empty());
    EXPECT_EQ(drawer.others, 0);
}

TEST(DebugDrawTest, SphereIsOneSphereWithTheBodysTurn)
{
    const ZOR::float3x3 turn = test::RotationY(0.6f);
    RigidBody3D body(test::BodyAt(float3(0, 3, 0), turn));
    ColliderFactory factory;
    Collider3D* sphere = factory.Make(test::SphereDescription(float3(1, 0, 0), 0.75f), &body);
    RecordingDebugDraw drawer;
    sphere->DebugDraw(drawer, kColour);
    ASSERT_EQ(drawer.spheres.size(), 1u);
    EXPECT_TRUE(drawer.lines.empty());
    ExpectNear(drawer.spheres[0].centre, float3(0, 3, 0) + turn * float3(1, 0, 0));
    EXPECT_EQ(drawer.spheres[0].radius, 0.75f);
    ExpectNear(drawer.spheres[0].rotation, turn);
    EXPECT_EQ(drawer.spheres[0].colour, kColour);
}

TEST(DebugDrawTest, QuadDrawsFourEdgesThenTwoMidLinesAHullEveryFaceEdgeAMeshNothing)
{
    RigidBody3D body(test::BodyAt(float3(10, 0, 0), test::QuarterTurnZ()));
    ColliderFactory factory;
    Collider3D* quad = factory.Make(test::QuadDescription(float3(0, 0, 1), 2.0f, 1.0f), &body);
    RecordingDebugDraw drawer;
    quad->DebugDraw(drawer, kColour);
    ASSERT_EQ(drawer.lines.size(), 6u);
    // Body x (the width) is world y; the quad stands in the plane x = 10, z from 0 to 2. Its
    // mid-lines cross at the centre, one along each of its axes.
    const std::vector<float3> corners = {float3(10, 2, 2), float3(10, -2, 2), float3(10, -2, 0), float3(10, 2, 0)};
    using Joined = std::map<std::pair<int, int>, int>;
    EXPECT_EQ(Joins(drawer.lines, corners, 0, 4), (Joined{{{0, 1}, 1}, {{1, 2}, 1}, {{2, 3}, 1}, {{0, 3}, 1}}));
    const std::vector<float3> middles = {float3(10, 0, 2), float3(10, 0, 0), float3(10, 2, 1), float3(10, -2, 1)};
    EXPECT_EQ(Joins(drawer.lines, middles, 4, 2), (Joined{{{0, 1}, 1}, {{2, 3}, 1}}));

    // A tetrahedron hull draws each face's edges: every edge twice.
    RigidBody3D moved(test::BodyAt(float3(1, 1, 1)));
    Collider3D* hull = factory.Make(test::HullDescription(test::UnitTetrahedron()), &moved);
    RecordingDebugDraw hullDrawer;
    hull->DebugDraw(hullDrawer, kColour);
    ASSERT_EQ(hullDrawer.lines.size(), 12u);
    const std::vector<float3> tips = {float3(1, 1, 1), float3(2, 1, 1), float3(1, 2, 1), float3(1, 1, 2)};
    EXPECT_EQ(Joins(hullDrawer.lines, tips, 0, 12),
              (Joined{{{0, 1}, 2}, {{0, 2}, 2}, {{0, 3}, 2}, {{1, 2}, 2}, {{1, 3}, 2}, {{2, 3}, 2}}));

    // A mesh draws nothing itself: its pieces are drawn as hulls.
    ColliderDescription3D mesh;
    mesh.m_type = kColliderMesh;
    mesh.m_hulls = {test::UnitTetrahedron()};
    RecordingDebugDraw meshDrawer;
    factory.Make(mesh, &moved)->DebugDraw(meshDrawer, kColour);
    EXPECT_TRUE(meshDrawer.lines.empty());
    EXPECT_TRUE(meshDrawer.spheres.empty());
    EXPECT_EQ(meshDrawer.others, 0);
}

TEST(DebugDrawTest, HullWhoseFacesFightOverAnEdgeStillDrawsBoundedly)
{
    // Two triangles claim the directed edge 0->1; the second relinks it into its own loop, so
    // the first face's loop never comes back to its first half-edge.
    HullMesh3D hull;
    hull.AddVertex(float3(0, 0, 0));
    hull.AddVertex(float3(1, 0, 0));
    hull.AddVertex(float3(0, 1, 0));
    hull.AddVertex(float3(0, 0, 1));
    hull.AddFace(0, 1, 2);
    hull.AddFace(0, 1, 3);
    RigidBody3D body(test::BodyAt(float3()));
    ColliderFactory factory;
    Collider3D* collider = factory.Make(test::HullDescription(hull), &body);
    RecordingDebugDraw drawer;
    collider->DebugDraw(drawer, kColour);
    EXPECT_LE(drawer.lines.size(), 2u * hull.HalfEdges().size());
    EXPECT_GE(drawer.lines.size(), 3u);
}

} // namespace
} // namespace quellor
