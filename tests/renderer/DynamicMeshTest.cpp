#include "renderer/DynamicMesh.h"
#include "renderer/math/float3x3.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using ZOR::DynamicMesh;
using ZOR::DynamicMeshVertex;
using ZOR::float2;
using ZOR::float3;
using ZOR::float3x3;

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;

void ExpectPoint(const float3& actual, const float3& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void ExpectUV(const float2& actual, const float2& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
}

bool Finite(const DynamicMeshVertex& v)
{
    return std::isfinite(v.position.x) && std::isfinite(v.position.y) && std::isfinite(v.position.z) &&
           std::isfinite(v.texCoord.x) && std::isfinite(v.texCoord.y) && std::isfinite(v.alpha);
}

// Distance of p from the line through a along the unit direction d, and its offset along d.
float DistanceFromAxis(const float3& p, const float3& a, const float3& d)
{
    const float3 rel = p - a;
    return (rel - d * rel.Dot(d)).Length();
}

} // namespace

TEST(DynamicMesh, DefaultMeshHoldsSixtyVerticesAndDropsTheRest)
{
    DynamicMesh mesh;
    EXPECT_EQ(mesh.GetType(), ZOR::Renderable::Type::DynamicMesh);
    EXPECT_EQ(mesh.MaxVerts(), 60u);
    EXPECT_EQ(mesh.NumVerts(), 0u);
    EXPECT_GE(mesh.Vertices().capacity(), 60u);
    EXPECT_TRUE(mesh.GetTexture().empty());
    EXPECT_EQ(mesh.GetBlendMode(), ZOR::BlendMode::Alpha);
    EXPECT_EQ(mesh.GetCullMode(), ZOR::CullMode::None);
    EXPECT_FALSE(mesh.GetVertexBuffer());
    for (int i = 0; i < 60; ++i)
        mesh.Push(float3(static_cast<float>(i), 0, 0), float2(0, 0), 1.0f);
    EXPECT_EQ(mesh.NumVerts(), 60u);
    mesh.Push(float3(999, 0, 0), float2(0, 0), 1.0f).Push();
    EXPECT_EQ(mesh.NumVerts(), 60u);
    EXPECT_EQ(mesh.Vertices().back().position.x, 59.0f);
}

TEST(DynamicMesh, PushFormsAndClearRefillsFromTheStart)
{
    DynamicMesh mesh(8);
    mesh.Push().Push(DynamicMeshVertex{float3(1, 2, 3), float2(0.5f, 0.25f), 0.75f});
    ASSERT_EQ(mesh.NumVerts(), 2u);
    ExpectPoint(mesh.Vertices()[0].position, float3(0, 0, 0));
    ExpectUV(mesh.Vertices()[0].texCoord, float2(0, 0));
    EXPECT_EQ(mesh.Vertices()[0].alpha, 1.0f);
    EXPECT_EQ(mesh.Vertices()[1].alpha, 0.75f);

    const DynamicMeshVertex* storage = mesh.Vertices().data();
    mesh.Clear().Push(float3(7, 7, 7), float2(1, 1), 0.5f);
    ASSERT_EQ(mesh.NumVerts(), 1u);
    ExpectPoint(mesh.Vertices()[0].position, float3(7, 7, 7));
    EXPECT_EQ(mesh.Vertices().data(), storage);
    // Draw settings survive clearing: the owner rebuilds the vertices every frame, not these.
    mesh.SetTexture("beam.dds");
    mesh.SetBlendMode(ZOR::BlendMode::Additive);
    mesh.SetCullMode(ZOR::CullMode::Back);
    mesh.Clear();
    EXPECT_EQ(mesh.GetTexture(), "beam.dds");
    EXPECT_EQ(mesh.GetBlendMode(), ZOR::BlendMode::Additive);
    EXPECT_EQ(mesh.GetCullMode(), ZOR::CullMode::Back);
}

TEST(DynamicMesh, BuildersAppendTheirVertexCounts)
{
    DynamicMesh mesh(1000);
    const float2 uv0(0, 0), uv1(1, 1);
    mesh.Cone(float3(0, 0, 0), 1, 1, float3(1, 0, 0), 1, 8, uv0, uv1);
    EXPECT_EQ(mesh.NumVerts(), 24u);
    mesh.Tube(float3(0, 0, 0), float3(1, 0, 0), 1, 1, 8, uv0, uv1, 0);
    EXPECT_EQ(mesh.NumVerts(), 72u);
    mesh.Sphere(float3(0, 0, 0), 1, 1, 4, uv0, uv1, float3x3());
    EXPECT_EQ(mesh.NumVerts(), 168u);
    mesh.Clear().Sphere(float3(0, 0, 0), 1, 1, 1, uv0, uv1, float3x3());
    EXPECT_EQ(mesh.NumVerts(), 6u);
}

TEST(DynamicMesh, FewerThanOneSegmentOrNoRoomAppendsNothing)
{
    DynamicMesh mesh(100);
    const float2 uv0(0, 0), uv1(1, 1);
    for (int segments : {0, -1, INT_MIN}) {
        mesh.Cone(float3(0, 0, 0), 1, 1, float3(1, 0, 0), 1, segments, uv0, uv1);
        mesh.Tube(float3(0, 0, 0), float3(1, 0, 0), 1, 1, segments, uv0, uv1, 0);
        mesh.Sphere(float3(0, 0, 0), 1, 1, segments, uv0, uv1, float3x3());
    }
    EXPECT_EQ(mesh.NumVerts(), 0u);

    DynamicMesh empty(0);
    empty.Push().Cone(float3(0, 0, 0), 1, 1, float3(1, 0, 0), 1, 8, uv0, uv1).Sphere(float3(0, 0, 0), 1, 1, 8, uv0, uv1, float3x3());
    EXPECT_EQ(empty.NumVerts(), 0u);
}

TEST(DynamicMesh, BuildersAreCutVertexByVertexAtTheMaximum)
{
    const float2 uv0(0.1f, 0.2f), uv1(0.9f, 0.8f);
    DynamicMesh whole(1000), cut(10);
    whole.Cone(float3(1, 2, 3), 2, 0.5f, float3(0, 1, 0), 0.5f, 8, uv0, uv1);
    cut.Cone(float3(1, 2, 3), 2, 0.5f, float3(0, 1, 0), 0.5f, 8, uv0, uv1);
    ASSERT_EQ(cut.NumVerts(), 10u);
    for (unsigned i = 0; i < 10; ++i)
        ExpectPoint(cut.Vertices()[i].position, whole.Vertices()[i].position, 0.0f);

    DynamicMesh tube(7);
    tube.Tube(float3(0, 0, 0), float3(0, 0, 5), 1, 1, 8, uv0, uv1, 0);
    EXPECT_EQ(tube.NumVerts(), 7u);

    // A huge segment count stops as soon as the mesh is full.
    DynamicMesh sphere(50);
    sphere.Sphere(float3(0, 0, 0), 1, 1, INT_MAX, uv0, uv1, float3x3());
    EXPECT_EQ(sphere.NumVerts(), 50u);
    DynamicMesh cone(5);
    cone.Cone(float3(0, 0, 0), 1, 1, float3(0, 0, 1), 1, INT_MAX, uv0, uv1);
    EXPECT_EQ(cone.NumVerts(), 5u);
}

TEST(DynamicMesh, ConeRimLiesAtTheRadiusAroundTheEndOfTheDirection)
{
    const float2 uv0(0.1f, 0.2f), uv1(0.9f, 0.8f);
    const float du = uv1.x - uv0.x;
    // One direction on each side of the x >= 0.57735 split.
    for (const float3& direction : {float3(0.8f, 0.6f, 0.0f), float3(0.0f, 0.6f, 0.8f), float3(0.48f, 0.6f, 0.64f)}) {
        DynamicMesh mesh(100);
        const float3 apex(1, 2, 3);
        mesh.Cone(apex, 2.0f, 0.5f, direction, 0.25f, 8, uv0, uv1);
        ASSERT_EQ(mesh.NumVerts(), 24u);
        const float3 rimCenter = apex + direction * 2.0f;
        for (unsigned i = 0; i < 8; ++i) {
            const DynamicMeshVertex& tip = mesh.Vertices()[3 * i];
            const DynamicMeshVertex& a = mesh.Vertices()[3 * i + 1];
            const DynamicMeshVertex& b = mesh.Vertices()[3 * i + 2];
            ExpectPoint(tip.position, apex);
            ExpectUV(tip.texCoord, uv0);
            for (const DynamicMeshVertex* rim : {&a, &b}) {
                EXPECT_NEAR((rim->position - rimCenter).Length(), 0.5f, 1e-5f);
                EXPECT_NEAR((rim->position - rimCenter).Dot(direction), 0.0f, 1e-5f);
                EXPECT_EQ(rim->alpha, 0.25f);
            }
            ExpectUV(a.texCoord, float2(uv0.x + du * static_cast<float>(i) / 8.0f, uv1.y));
            ExpectUV(b.texCoord, float2(uv0.x + du * static_cast<float>(i + 1) / 8.0f, uv1.y));
            // Consecutive triangles share their rim point; neighbours are an eighth turn apart.
            EXPECT_NEAR((b.position - a.position).Length(), 2.0f * 0.5f * std::sin(kPi / 8.0f), 1e-5f);
            if (i > 0)
                ExpectPoint(a.position, mesh.Vertices()[3 * i - 1].position, 1e-5f);
        }
        ExpectPoint(mesh.Vertices()[23].position, mesh.Vertices()[1].position, 1e-5f);
    }
}

TEST(DynamicMesh, TubeVerticesLieOnTheTwoEndCircles)
{
    const float2 uv0(0, 0.25f), uv1(1, 0.75f);
    const float3 start(1, 1, 1), end(4, 5, 1);
    const float3 axis = (end - start).Normalized();
    DynamicMesh mesh(100);
    mesh.Tube(start, end, 0.5f, 0.6f, 8, uv0, uv1, 0.0f);
    ASSERT_EQ(mesh.NumVerts(), 48u);
    for (unsigned i = 0; i < 48; ++i) {
        const DynamicMeshVertex& v = mesh.Vertices()[i];
        const bool atStart = v.texCoord.y == uv0.y;
        const float3 ring = atStart ? start : end;
        EXPECT_NEAR((v.position - ring).Length(), 0.5f, 1e-5f) << i;
        EXPECT_NEAR((v.position - ring).Dot(axis), 0.0f, 1e-5f) << i;
        EXPECT_EQ(v.alpha, 0.6f);
        EXPECT_TRUE(atStart || v.texCoord.y == uv1.y) << i;
    }
    // K1, K2, K3 then K1, K3, K4 of the first segment.
    const auto& v = mesh.Vertices();
    ExpectPoint(v[3].position, v[0].position, 0.0f);
    ExpectPoint(v[4].position, v[2].position, 0.0f);
    ExpectUV(v[0].texCoord, float2(0, 0.25f));
    ExpectUV(v[1].texCoord, float2(0.125f, 0.25f));
    ExpectUV(v[2].texCoord, float2(0.125f, 0.75f));
    ExpectUV(v[5].texCoord, float2(0, 0.75f));
    ExpectPoint(v[5].position - end, v[0].position - start, 1e-5f);

    // The angle offset turns every segment: an offset of one step starts where segment 1 starts.
    DynamicMesh turned(100);
    turned.Tube(start, end, 0.5f, 0.6f, 8, uv0, uv1, kTwoPi / 8.0f);
    ExpectPoint(turned.Vertices()[0].position, v[6].position, 1e-5f);
}

TEST(DynamicMesh, SphereVerticesLieAtTheRadiusAfterRotation)
{
    const float2 uv0(0, 0), uv1(1, 1);
    const float3 center(2, -1, 3);
    // A quarter turn about z: x goes to y, y to -x.
    const float3x3 rotation(0, -1, 0, 1, 0, 0, 0, 0, 1);
    DynamicMesh plain(200), rotated(200);
    plain.Sphere(center, 1.5f, 0.3f, 4, uv0, uv1, float3x3());
    rotated.Sphere(center, 1.5f, 0.3f, 4, uv0, uv1, rotation);
    ASSERT_EQ(rotated.NumVerts(), 96u);
    for (unsigned i = 0; i < 96; ++i) {
        EXPECT_NEAR((rotated.Vertices()[i].position - center).Length(), 1.5f, 1e-5f) << i;
        EXPECT_EQ(rotated.Vertices()[i].alpha, 0.3f);
    }
    // Poles are not rotated; ring points are the unrotated ones turned about the centre.
    ExpectPoint(rotated.Vertices()[0].position, center + float3(0, 1.5f, 0));
    ExpectPoint(rotated.Vertices()[84].position, center + float3(0, -1.5f, 0));
    const float dTheta = kPi / 4.0f;
    ExpectPoint(plain.Vertices()[1].position, center + float3(std::sin(dTheta), std::cos(dTheta), 0) * 1.5f);
    for (unsigned i : {1u, 2u, 13u, 40u, 85u}) {
        const float3 local = plain.Vertices()[i].position - center;
        ExpectPoint(rotated.Vertices()[i].position, center + rotation * local);
    }
    // Texture coordinates: caps at uv0.y and uv1.y, bands stepping down in v.
    ExpectUV(plain.Vertices()[2].texCoord, float2(0.25f, 0));
    ExpectUV(plain.Vertices()[12].texCoord, float2(0, 0));      // first band, K1
    ExpectUV(plain.Vertices()[14].texCoord, float2(0.25f, 0.25f)); // first band, K3
    ExpectUV(plain.Vertices()[85].texCoord, float2(0.25f, 1));   // bottom cap, phi_1 first
    ExpectUV(plain.Vertices()[86].texCoord, float2(0, 1));
    // The last band closes at the bottom: its K3 sits at theta = pi, the bottom pole.
    ExpectPoint(plain.Vertices()[12 + 2 * 24 + 2].position, center + float3(0, -1.5f, 0));
}

TEST(DynamicMesh, DegenerateDirectionsGiveFiniteVertices)
{
    const float2 uv0(0, 0), uv1(1, 1);
    DynamicMesh mesh(2000);
    // Tubes along y (both ways) and of zero length.
    mesh.Tube(float3(0, 0, 0), float3(0, 3, 0), 1, 1, 8, uv0, uv1, 0);
    for (unsigned i = 0; i < 48; ++i)
        EXPECT_NEAR(DistanceFromAxis(mesh.Vertices()[i].position, float3(0, 0, 0), float3(0, 1, 0)), 1.0f, 1e-5f) << i;
    mesh.Tube(float3(0, 3, 0), float3(0, 0, 0), 1, 1, 8, uv0, uv1, 0);
    mesh.Tube(float3(1, 1, 1), float3(1, 1, 1), 1, 1, 8, uv0, uv1, 0);
    const unsigned tubes = mesh.NumVerts();
    for (unsigned i = 96; i < tubes; ++i)
        EXPECT_NEAR((mesh.Vertices()[i].position - float3(1, 1, 1)).Length(), 1.0f, 1e-5f) << i;

    // Cones along -x (x below the split, y = z = 0), along +-y and with a zero direction.
    mesh.Cone(float3(0, 0, 0), 2, 1, float3(-1, 0, 0), 1, 8, uv0, uv1);
    for (unsigned i = tubes; i < tubes + 24; i += 3) {
        ExpectPoint(mesh.Vertices()[i].position, float3(0, 0, 0));
        EXPECT_NEAR((mesh.Vertices()[i + 1].position - float3(-2, 0, 0)).Length(), 1.0f, 1e-5f);
        EXPECT_NEAR(mesh.Vertices()[i + 1].position.x, -2.0f, 1e-5f);
    }
    mesh.Cone(float3(0, 0, 0), 2, 1, float3(0, -1, 0), 1, 8, uv0, uv1);
    mesh.Cone(float3(0, 0, 0), 2, 1, float3(0, 0, 0), 1, 8, uv0, uv1);
    const unsigned cones = mesh.NumVerts();
    for (unsigned i = cones - 24 + 1; i < cones; i += 3)
        EXPECT_NEAR(mesh.Vertices()[i].position.Length(), 1.0f, 1e-5f) << i; // rim around the apex

    // Tiny, not quite zero, directions still give unit frames.
    mesh.Cone(float3(0, 0, 0), 1, 1, float3(0.5f, 1e-7f, 0), 1, 8, uv0, uv1);
    EXPECT_NEAR((mesh.Vertices()[cones + 1].position - float3(0.5f, 1e-7f, 0)).Length(), 1.0f, 1e-4f);

    mesh.Sphere(float3(0, 0, 0), 0, 1, 4, uv0, uv1, float3x3());
    for (const DynamicMeshVertex& v : mesh.Vertices())
        EXPECT_TRUE(Finite(v));
}
