// Shapes become mesh colliders under an entity's scale: left-over indices do not shift the
// reversed triangles of a mirrored piece, flattened pieces are dropped.
#include "WorldTestSupport.h"

#include "physics/BuildShapeColliderDescription3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/LoadShapeData.h"
#include "tests/support/StdoutCapture.h"
#include "tools/writers/ShapeBuilder.h"
#include "tools/writers/ShapeWriter.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

using tarsel::test::StdoutCapture;
using tarsel::tools::ShapePiece;
using ZOR::float3;

ShapeData3D ShapeOf(const std::vector<ShapePiece>& pieces)
{
    const std::string bytes = tarsel::tools::WriteShape(pieces);
    return ShapeDataFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), "test.shape");
}

ShapePiece Ramp()
{
    return tarsel::tools::WedgePiece(float3(3, 0, 0), float3(2, 1, 1));
}

struct Hit {
    bool hit = false;
    float3 point;
    float3 normal;
};

Hit Cast(PhysicsWorld3D& world, const float3& origin, const float3& direction)
{
    RayCastResult3D result;
    world.RayCast(result, origin, direction, 100.0f);
    return {result.m_hit != 0, result.m_point, result.m_normal};
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
        const Hit hit = Cast(world, float3(-20, 0.25f, 4.5f), float3(1, 0, 0));
        ASSERT_TRUE(hit.hit);
        test::ExpectNear(hit.point, float3(-1, 0.25f, 4.5f), 1e-3f);
        test::ExpectNear(hit.normal, float3(-1, 0, 0), 1e-4f);
    }
}

TEST(ShapeMeshTest, FlattenedAndEmptyShapesGiveNoPieces)
{
    const ShapeData3D shape = ShapeOf({Ramp(), tarsel::tools::BoxPiece(float3(), float3(1, 1, 1))});
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
    Collider3D* mesh = body->AddCollider(BuildShapeColliderDescription3D(ShapeOf({}), float3(1, 1, 1), "none"));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->m_geometry->GetType(), kColliderMesh);
    EXPECT_EQ(body->m_colliders.Count(), 1u);
    EXPECT_FALSE(Cast(world, float3(0, 10, 0), float3(0, -1, 0)).hit);
}

} // namespace
} // namespace quellor
