#include "PhysicsTestSupport.h"
#include "physics/BuildMeshColliderDescription3D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <set>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;

TEST(HullMesh3DTest, TetrahedronIsAClosedHalfEdgeMesh)
{
    const HullMesh3D hull = test::UnitTetrahedron();
    EXPECT_EQ(hull.VertexCount(), 4u);
    EXPECT_EQ(hull.FaceCount(), 4u);
    EXPECT_EQ(hull.HalfEdgeCount(), 12u);
    EXPECT_EQ(hull.VerticesWithoutEdge(), 0u);
    EXPECT_EQ(hull.HalfEdgesWithoutFace(), 0u);
    ASSERT_EQ(hull.HalfEdges().size(), 12u);
    EXPECT_EQ(hull.EdgeMap().size(), 12u);

    // Six twin pairs, each joining the same two vertices both ways.
    std::set<std::pair<int, int>> pairs;
    const auto& edges = hull.HalfEdges();
    for (std::size_t e = 0; e < edges.size(); ++e) {
        const int twin = edges[e].twin;
        ASSERT_GE(twin, 0);
        EXPECT_EQ(edges[static_cast<std::size_t>(twin)].twin, static_cast<int>(e));
        EXPECT_NE(edges[e].target, edges[static_cast<std::size_t>(twin)].target);
        EXPECT_GE(edges[e].face, 0);
        pairs.insert({std::min<int>(static_cast<int>(e), twin), std::max<int>(static_cast<int>(e), twin)});
        // The loop of a triangle closes after three steps.
        const int third = edges[static_cast<std::size_t>(edges[static_cast<std::size_t>(edges[e].next)].next)].next;
        EXPECT_EQ(third, static_cast<int>(e));
        EXPECT_EQ(edges[static_cast<std::size_t>(edges[e].next)].prev, static_cast<int>(e));
    }
    EXPECT_EQ(pairs.size(), 6u);

    // Every vertex leaves by an edge that starts at it (its twin points back to it).
    for (std::size_t v = 0; v < hull.Vertices().size(); ++v) {
        const int out = hull.Vertices()[v].outgoing;
        ASSERT_GE(out, 0);
        EXPECT_EQ(edges[static_cast<std::size_t>(edges[static_cast<std::size_t>(out)].twin)].target, static_cast<int>(v));
    }

    ExpectNear(hull.Centroid(), float3(0.25f, 0.25f, 0.25f), 1e-6f);

    // Walking a face from its first half-edge visits a, b, c as added: face 3 is (1, 2, 3).
    float3 a, b, c;
    hull.FaceCorners(3, a, b, c);
    ExpectNear(a, float3(1, 0, 0));
    ExpectNear(b, float3(0, 1, 0));
    ExpectNear(c, float3(0, 0, 1));
}

TEST(HullMesh3DTest, OpenHullBuiltInCodeGivesABoundedSupport)
{
    // A cube with its top face missing: the rim's twins have no face and no next.
    HullMesh3D open;
    for (const float3& p : test::BoxCorners(float3(), float3(1, 1, 1)))
        open.AddVertex(p);
    const std::vector<int> triangles = test::BoxTriangles();
    for (std::size_t k = 0; k < triangles.size(); k += 3) {
        if (k == 12 || k == 15) // the two +y triangles
            continue;
        open.AddFace(triangles[k], triangles[k + 1], triangles[k + 2]);
    }
    EXPECT_EQ(open.HalfEdgesWithoutFace(), 4u);
    // The climb may stop short on an open surface, but it ends, on a vertex of the hull.
    const std::vector<float3> corners = test::BoxCorners(float3(), float3(1, 1, 1));
    for (const float3& d : {float3(0, 1, 0), float3(1, 1, 1), float3(-1, 1, -1), float3(0, -1, 0), float3(-1, 0.2f, 0.1f)}) {
        const float3 s = open.Support(d);
        EXPECT_TRUE(std::find(corners.begin(), corners.end(), s) != corners.end());
    }
    // Closed sides still climb: straight down reaches the bottom face.
    EXPECT_EQ(open.Support(float3(0.1f, -1, 0.2f)), float3(1, -1, 1));

    // A lone triangle: every walk runs into a twin without a face.
    HullMesh3D triangle;
    const float3 v[3] = {float3(0, 0, 0), float3(1, 0, 0), float3(0, 1, 0)};
    for (const float3& p : v)
        triangle.AddVertex(p);
    triangle.AddFace(0, 1, 2);
    for (const float3& d : {float3(0, 1, 0), float3(1, -0.1f, 0), float3(-1, -1, 0)}) {
        const float3 s = triangle.Support(d);
        EXPECT_TRUE(s == v[0] || s == v[1] || s == v[2]);
    }
}

TEST(HullMesh3DTest, StartVertexWithoutAnEdgeFallsBackToAScan)
{
    HullMesh3D hull;
    hull.AddVertex(float3(0, 0, 0)); // vertex 0 is in no face
    hull.AddVertex(float3(1, 0, 0));
    hull.AddVertex(float3(0, 1, 0));
    hull.AddVertex(float3(0, 0, 1));
    hull.AddFace(1, 2, 3);
    ExpectNear(hull.Support(float3(0, 0, 1)), float3(0, 0, 1));
    ExpectNear(hull.Support(float3(-1, -1, -1)), float3(0, 0, 0));

    // One vertex, and none at all.
    HullMesh3D single;
    single.AddVertex(float3(4, 5, 6));
    ExpectNear(single.Support(float3(-1, 0, 0)), float3(4, 5, 6));
    EXPECT_EQ(HullMesh3D().Support(float3(1, 0, 0)), float3(0, 0, 0));
}

TEST(HullMesh3DTest, FaceNamingAMissingVertexIsNotAdded)
{
    HullMesh3D hull;
    hull.AddVertex(float3(0, 0, 0));
    hull.AddVertex(float3(1, 0, 0));
    hull.AddVertex(float3(0, 1, 0));
    EXPECT_EQ(hull.AddFace(0, 1, 3), -1);
    EXPECT_EQ(hull.AddFace(-1, 1, 2), -1);
    EXPECT_EQ(hull.FaceCount(), 0u);
    EXPECT_EQ(hull.HalfEdgeCount(), 0u);
    EXPECT_TRUE(hull.Faces().empty());
    EXPECT_TRUE(hull.EdgeMap().empty());
    EXPECT_EQ(hull.AddFace(0, 1, 2), 0);
}

TEST(BuildMeshColliderDescription3DTest, OneHullPerVertexListWholeTriplesOnly)
{
    const std::vector<std::vector<float3>> vertices = {
        {float3(0, 0, 0), float3(1, 0, 0), float3(0, 1, 0), float3(0, 0, 1)},
        {float3(5, 0, 0), float3(6, 0, 0), float3(5, 1, 0)},
    };
    // Two left-over indices on the first list; an index beyond its own list on the second; a
    // third index list with no vertex list of its own.
    const std::vector<std::vector<std::int32_t>> indices = {
        {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3, 0, 1},
        {0, 1, 2, 0, 1, 3},
        {0, 1, 2},
    };
    const ColliderDescription3D description = BuildMeshColliderDescription3D(vertices, indices);
    EXPECT_EQ(description.m_type, kColliderMesh);
    ASSERT_EQ(description.m_hulls.size(), 2u);
    EXPECT_EQ(description.m_hulls[0].VertexCount(), 4u);
    EXPECT_EQ(description.m_hulls[0].FaceCount(), 4u);
    EXPECT_EQ(description.m_hulls[1].VertexCount(), 3u);
    EXPECT_EQ(description.m_hulls[1].FaceCount(), 1u);
    ExpectNear(description.m_hulls[1].Centroid(), float3(16.0f / 3.0f, 1.0f / 3.0f, 0));
}

} // namespace
} // namespace quellor
