// Shape files: what the builders write loads back unchanged, broken pieces are dropped by
// their own number with a warning, and files that promise more than they hold fail whole. Shapes
// then become mesh colliders under an entity's scale: left-over indices do not shift the reversed
// triangles of a mirrored piece, flattened pieces are dropped.
#include "WorldTestSupport.h"

#include "physics/BuildShapeColliderDescription3D.h"
#include "physics/CheckShapePiece3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/LoadShapeData.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tools/writers/ShapeBuilder.h"
#include "tools/writers/ShapeWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace quellor {
namespace {

using tarsel::test::StdoutCapture;
using tarsel::test::TempDir;
using tarsel::tools::ShapePiece;
using ZOR::float3;

std::vector<ShapePiece> FourPieces()
{
    return {tarsel::tools::BoxPiece(float3(0, -1, 0), float3(4, 1, 3)),
            tarsel::tools::WedgePiece(float3(2, 1, 0), float3(2, 1, 1)),
            tarsel::tools::OrientedBoxPiece(float3(-2, 0.5f, 1), float3(1, 0.5f, 2), tarsel::tools::RotationY(0.7f)),
            tarsel::tools::PrismPiece(float3(0, 2, -3), 1.0f, 2.0f, 7)};
}

void ExpectSamePiece(const ShapeData3D& shape, std::size_t index, const ShapePiece& piece)
{
    ASSERT_LT(index, shape.PieceCount());
    const std::vector<Vec4>& vertices = shape.m_vertexLists[index];
    ASSERT_EQ(vertices.size(), piece.vertices.size()) << "piece " << index;
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        EXPECT_EQ(vertices[v].x, piece.vertices[v].x);
        EXPECT_EQ(vertices[v].y, piece.vertices[v].y);
        EXPECT_EQ(vertices[v].z, piece.vertices[v].z);
        EXPECT_EQ(vertices[v].w, 1.0f);
    }
    EXPECT_EQ(shape.m_indexLists[index], piece.indices) << "piece " << index;
}

ShapeData3D Parse(const std::string& bytes, const std::string& name = "test.shape")
{
    return ShapeDataFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), name);
}

void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value)
{
    ASSERT_LE(offset + 4, bytes.size());
    std::memcpy(&bytes[offset], &value, 4);
}

TEST(ShapeFileTest, BuilderFilesLoadBackEqualWhateverTheFourthFloat)
{
    TempDir dir;
    const std::vector<ShapePiece> pieces = FourPieces();
    dir.Write("four.shape", tarsel::tools::WriteShape(pieces));
    dir.Write("odd-w.shape", tarsel::tools::WriteShape(pieces, -7.5f));
    for (const char* name : {"four.shape", "odd-w.shape"}) {
        StdoutCapture out;
        const ShapeData3D shape = LoadShapeData((dir / name).string());
        EXPECT_EQ(out.Text(), "") << name;
        ASSERT_EQ(shape.PieceCount(), 4u) << name;
        ASSERT_EQ(shape.m_indexLists.size(), 4u);
        for (std::size_t i = 0; i < pieces.size(); ++i)
            ExpectSamePiece(shape, i, pieces[i]);
    }

    // Every builder makes pieces the checks accept, prisms of any side count included.
    for (unsigned sides = 3; sides <= 24; ++sides) {
        const ShapePiece prism = tarsel::tools::PrismPiece(float3(1, 2, 3), 0.5f, 4.0f, sides);
        const ShapePieceCheck3D check = CheckShapePiece3D(prism.vertices, prism.indices);
        EXPECT_TRUE(check.valid) << sides << " sides: " << check.reason;
    }
    EXPECT_NEAR(CheckShapePiece3D(pieces[0].vertices, pieces[0].indices).volume, 8.0 * 4 * 1 * 3, 1e-3);
    EXPECT_NEAR(CheckShapePiece3D(pieces[1].vertices, pieces[1].indices).volume, 4.0 * 2 * 2 / 2, 1e-3);
}

TEST(ShapeFileTest, NoPiecesAndMissingFiles)
{
    TempDir dir;
    dir.Write("none.shape", tarsel::tools::WriteShape({}));
    {
        StdoutCapture out;
        EXPECT_TRUE(LoadShapeData((dir / "none.shape").string()).Empty());
        EXPECT_EQ(out.Text(), "");
    }
    const std::string missing = (dir / "nowhere" / "gone.shape").string();
    StdoutCapture out;
    EXPECT_TRUE(LoadShapeData(missing).Empty());
    EXPECT_EQ(out.Text(), "Error: Failed to load shape data from " + missing + "\n");
}

TEST(ShapeFileTest, FailingPiecesAreDroppedByTheirOwnNumber)
{
    const std::vector<ShapePiece> good = FourPieces();
    ShapePiece outOfRange = good[1];
    outOfRange.indices[4] = 6; // the wedge has 6 vertices
    ShapePiece open = good[0];
    open.indices.resize(open.indices.size() - 3);
    // Empty pieces on both halves' counts, at the front and in the middle: the later pieces
    // must keep their own index lists.
    const std::string bytes =
        tarsel::tools::WriteShape({ShapePiece{}, good[0], outOfRange, good[1], open, good[2], ShapePiece{}, good[3]});
    StdoutCapture out;
    const ShapeData3D shape = Parse(bytes, "levels/island.shape");
    ASSERT_EQ(shape.PieceCount(), 4u);
    for (std::size_t i = 0; i < good.size(); ++i)
        ExpectSamePiece(shape, i, good[i]);
    const std::string& text = out.Text();
    for (const char* piece : {"piece 0 ", "piece 2 ", "piece 4 ", "piece 6 "})
        EXPECT_NE(text.find(std::string("Warning: Dropped ") + piece + "of shape data levels/island.shape: "),
                  std::string::npos)
            << piece << " in:\n"
            << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_NE(text.find("beyond the 6 vertices"), std::string::npos) << text;
    EXPECT_NE(text.find("the surface is open"), std::string::npos) << text;
}

TEST(ShapeFileTest, LeftOverIndicesAreLeftOutAtLoad)
{
    ShapePiece box = tarsel::tools::BoxPiece(float3(), float3(1, 2, 3));
    const std::vector<std::uint32_t> whole = box.indices;
    for (const std::uint32_t extra : {1u, 2u}) {
        ShapePiece withExtra = box;
        withExtra.indices.insert(withExtra.indices.end(), extra, 5u);
        StdoutCapture out;
        const ShapeData3D shape = Parse(tarsel::tools::WriteShape({withExtra}));
        EXPECT_EQ(out.Text(), "");
        ASSERT_EQ(shape.PieceCount(), 1u);
        EXPECT_EQ(shape.m_indexLists[0], whole);
    }
}

TEST(ShapeFileTest, TruncatedForgedAndOversizedFilesFailWhole)
{
    const std::string bytes = tarsel::tools::WriteShape(FourPieces());
    // Every cut short of the end loses some promised block.
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        StdoutCapture out;
        EXPECT_TRUE(Parse(bytes.substr(0, length), "cut.shape").Empty()) << length;
        EXPECT_EQ(out.Text().rfind("Error: Failed to load shape data from cut.shape: ", 0), 0u) << out.Text();
    }
    // Bytes after the last block are not read.
    EXPECT_EQ(Parse(bytes + "trailing").PieceCount(), 4u);

    // Counts larger than the bytes left fail before anything that size is reserved.
    const std::size_t boxVertices = 8;
    const std::size_t indexBlocks = 4 + 4 + boxVertices * 16 + 4 + 6 * 16 + 4 + 8 * 16 + 4 + 14 * 16;
    struct Forgery {
        std::size_t offset;
        std::uint32_t value;
        const char* reason;
    } forgeries[] = {
        {0, 0xFFFFFFFFu, "piece count 4294967295 is more than"},
        {4, 0x7FFFFFFFu, "piece 0 has 2147483647 vertices, more than the"},
        {4 + 4 + boxVertices * 16, 0x10000000u, "piece 1 has 268435456 vertices"},
        {indexBlocks, 0xFFFFFFF0u, "piece 0 has 4294967280 indices, more than the"},
    };
    for (const Forgery& forgery : forgeries) {
        std::string forged = bytes;
        PutU32(forged, forgery.offset, forgery.value);
        StdoutCapture out;
        EXPECT_TRUE(Parse(forged, "forged.shape").Empty());
        EXPECT_NE(out.Text().find(forgery.reason), std::string::npos) << out.Text();
    }

    TempDir dir;
    std::string oversized = bytes;
    oversized.resize(kMaxShapeFileBytes + 1, '\0');
    dir.Write("big.shape", oversized);
    StdoutCapture out;
    EXPECT_TRUE(LoadShapeData((dir / "big.shape").string()).Empty());
    EXPECT_EQ(out.Text(), "Error: Failed to load shape data from " + (dir / "big.shape").string() + ": " +
                              std::to_string(kMaxShapeFileBytes + 1) + " bytes, over the limit of " +
                              std::to_string(kMaxShapeFileBytes) + "\n");
}

struct Refusal {
    const char* name;
    ShapePiece piece;
    const char* reason;
};

ShapePiece Octahedron()
{
    ShapePiece piece;
    piece.vertices = {float3(1, 0, 0), float3(-1, 0, 0), float3(0, 1, 0), float3(0, -1, 0), float3(0, 0, 1), float3(0, 0, -1)};
    piece.indices = {0, 2, 4, 4, 2, 1, 1, 2, 5, 5, 2, 0, 4, 3, 0, 1, 3, 4, 5, 3, 1, 0, 3, 5};
    return piece;
}

TEST(ShapeFileTest, TheCheckNamesWhatIsWrong)
{
    const ShapePiece box = tarsel::tools::BoxPiece(float3(10, 0, 0), float3(1, 1, 1));
    ASSERT_TRUE(CheckShapePiece3D(box.vertices, box.indices).valid);
    ASSERT_TRUE(CheckShapePiece3D(Octahedron().vertices, Octahedron().indices).valid);

    std::vector<Refusal> refusals;
    auto add = [&](const char* name, const char* reason, auto change) {
        ShapePiece piece = name[0] == 'o' ? Octahedron() : box;
        change(piece);
        refusals.push_back({name, piece, reason});
    };
    add("three vertices", "3 vertices, fewer than 4", [](ShapePiece& p) { p.vertices.resize(3); });
    add("partial triangle", "37 indices, not whole triangles", [](ShapePiece& p) { p.indices.push_back(0); });
    add("three triangles", "9 indices, fewer than 4 triangles", [](ShapePiece& p) { p.indices.resize(9); });
    add("not a number", "vertex 2 is not a finite point",
        [](ShapePiece& p) { p.vertices[2].z = std::numeric_limits<float>::quiet_NaN(); });
    add("infinite", "vertex 7 is not a finite point",
        [](ShapePiece& p) { p.vertices[7].x = std::numeric_limits<float>::infinity(); });
    add("far out", "vertex 4 lies too far out", [](ShapePiece& p) { p.vertices[4].y = -2e6f; });
    add("index too large", "index 5 is 8, beyond the 8 vertices", [](ShapePiece& p) { p.indices[5] = 8; });
    add("repeated corner", "triangle 1 names one vertex twice", [](ShapePiece& p) { p.indices[4] = p.indices[3]; });
    add("unused vertex", "vertex 8 is not used", [](ShapePiece& p) { p.vertices.push_back(float3(0, 0, 0)); });
    add("one triangle flipped", "the winding is not consistent",
        [](ShapePiece& p) { std::swap(p.indices[0], p.indices[1]); });
    add("open", "the surface is open", [](ShapePiece& p) { p.indices.resize(p.indices.size() - 6); });
    add("all flipped", "inside out", [](ShapePiece& p) { std::reverse(p.indices.begin(), p.indices.end()); });
    add("corner on corner", "vertices 6 and 7 share a position", [](ShapePiece& p) { p.vertices[7] = p.vertices[6]; });
    add("too many", "1025 vertices, more than 1024", [](ShapePiece& p) { p.vertices.resize(1025); });
    add("octahedron dented", "not convex", [](ShapePiece& p) { p.vertices[2] = float3(0, -0.5f, 0); });
    add("octahedron squashed", "zero volume", [](ShapePiece& p) {
        for (float3& v : p.vertices)
            v.y *= 1e-6f;
        p.vertices[2].x = 0.3f; // keeps the poles apart
        p.vertices[3].x = -0.3f;
    });

    for (const Refusal& refusal : refusals) {
        const ShapePieceCheck3D check = CheckShapePiece3D(refusal.piece.vertices, refusal.piece.indices);
        EXPECT_FALSE(check.valid) << refusal.name;
        EXPECT_NE(check.reason.find(refusal.reason), std::string::npos)
            << refusal.name << ": \"" << check.reason << "\"";
    }
}

ShapePiece Ramp()
{
    return tarsel::tools::WedgePiece(float3(3, 0, 0), float3(2, 1, 1));
}

RayCastResult3D Cast(PhysicsWorld3D& world, const float3& origin, const float3& direction)
{
    RayCastResult3D result;
    world.RayCast(result, origin, direction, 100.0f);
    return result;
}

TEST(ShapeMeshTest, LeftOversAreDroppedBeforeReversing)
{
    // Built by hand: the loader already leaves such indices out, a caller filling the data
    // itself may not.
    const ShapePiece box = tarsel::tools::BoxPiece(float3(0, 0, 4), float3(1, 1, 1));
    for (const std::size_t extra : {1u, 2u}) {
        ShapeData3D shape;
        shape.m_vertexLists.emplace_back();
        for (const float3& v : box.vertices)
            shape.m_vertexLists[0].emplace_back(v.x, v.y, v.z, 1.0f);
        shape.m_indexLists.push_back(box.indices);
        shape.m_indexLists[0].insert(shape.m_indexLists[0].end(), extra, 3u);

        PhysicsWorld3D world;
        RigidBody3D* body = world.CreateBody(test::BodyAt(float3()));
        StdoutCapture out;
        const ColliderDescription3D description = BuildShapeColliderDescription3D(shape, float3(-1, 1, 1), "box");
        EXPECT_EQ(out.Text(), "") << extra << " left over";
        ASSERT_EQ(description.m_hulls.size(), 1u);
        EXPECT_EQ(description.m_hulls[0].FaceCount(), 12u);
        EXPECT_EQ(description.m_hulls[0].HalfEdgesWithoutFace(), 0u) << "a closed hull";
        body->AddCollider(description);
        const RayCastResult3D hit = Cast(world, float3(-20, 0.25f, 4.5f), float3(1, 0, 0));
        ASSERT_TRUE(hit.m_hit);
        test::ExpectNear(hit.m_point, float3(-1, 0.25f, 4.5f), 1e-3f);
        test::ExpectNear(hit.m_normal, float3(-1, 0, 0), 1e-4f);
    }
}

TEST(ShapeMeshTest, FlattenedAndEmptyShapesGiveNoPieces)
{
    const ShapeData3D shape = Parse(tarsel::tools::WriteShape({Ramp(), tarsel::tools::BoxPiece(float3(), float3(1, 1, 1))}));
    ASSERT_EQ(shape.PieceCount(), 2u);
    for (const float3& scale : {float3(0, 1, 1), float3(1, 1, 0), float3(1, -0.0f, 1)}) {
        StdoutCapture out;
        const ColliderDescription3D description = BuildShapeColliderDescription3D(shape, scale, "flat.shape");
        EXPECT_TRUE(description.m_hulls.empty());
        EXPECT_NE(out.Text().find("Warning: Dropped piece 0 of shape data flat.shape after scaling: "), std::string::npos)
            << out.Text();
        EXPECT_NE(out.Text().find("Warning: Dropped piece 1 of shape data flat.shape after scaling: "), std::string::npos);
    }
    // A scale that takes the pieces beyond the floats' safe range drops them.
    {
        StdoutCapture out;
        EXPECT_TRUE(BuildShapeColliderDescription3D(shape, float3(1e38f, 1e38f, 1), "huge").m_hulls.empty());
    }

    // No pieces: the mesh collider exists and is alone on its body.
    PhysicsWorld3D world;
    RigidBody3D* body = world.CreateBody(test::BodyAt(float3()));
    Collider3D* mesh = body->AddCollider(BuildShapeColliderDescription3D(Parse(tarsel::tools::WriteShape({})), float3(1, 1, 1), "none"));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->m_geometry->GetType(), kColliderMesh);
    EXPECT_EQ(body->m_colliders.Count(), 1u);
    EXPECT_FALSE(Cast(world, float3(0, 10, 0), float3(0, -1, 0)).m_hit);
}

} // namespace
} // namespace quellor
