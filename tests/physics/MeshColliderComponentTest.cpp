// The mesh collider component: building from the resource system's file table,
// mirrored entities, broken pieces, missing files, rebuilding after SetMesh, and the contact
// records and rays that name it.
#include "PhysicsSystemTestKit.h"

#include "engine/ResourceSystem.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Variable.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/MeshColliderComponent3D.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/PolyhedronColliderGeometry3D.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/writers/ShapeBuilder.h"
#include "tools/writers/ShapeWriter.h"

#include <filesystem>
#include <memory>

namespace quellor::test {
namespace {

using tarsel::test::StdoutCapture;
using tarsel::tools::ShapePiece;
using ZOR::float3;

// A ramp whose high wall faces +x (at x = 5), its floor at y = -1.
ShapePiece Ramp()
{
    return tarsel::tools::WedgePiece(float3(3, 0, 0), float3(2, 1, 1));
}

class MeshColliderComponentTest : public PhysicsSystemTest {
protected:
    void SetUp() override
    {
        PhysicsSystemTest::SetUp();
        system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
        namespace tt = tarsel::tools;
        dir.Write("shapes/floor.shape", tt::WriteShape({tt::PrismPiece(float3(0, -1, 0), 8.0f, 1.0f, 8), Ramp()}));
        dir.Write("shapes/ramp.shape", tt::WriteShape({Ramp()}));
        dir.Write("shapes/one.shape", tt::WriteShape({tt::BoxPiece(float3(), float3(1, 1, 1))}));
        dir.Write("shapes/gone.shape", tt::WriteShape({tt::BoxPiece(float3(), float3(1, 1, 1))}));

        // An empty piece, one naming a vertex it lacks, an open one and one with two left-over
        // indices, among good ones.
        ShapePiece outOfRange = Ramp();
        outOfRange.indices[7] = 6;
        ShapePiece open = tt::BoxPiece(float3(), float3(1, 1, 1));
        open.indices.resize(30);
        ShapePiece leftovers = tt::PrismPiece(float3(0, 0, 20), 1.0f, 1.0f, 5);
        leftovers.indices.insert(leftovers.indices.end(), {0, 1});
        dir.Write("shapes/broken.shape",
                  tt::WriteShape({ShapePiece{}, tt::BoxPiece(float3(0, 0, -20), float3(1, 2, 3)), outOfRange, open,
                                  leftovers, tt::BoxPiece(float3(0, 0, 40), float3(3, 2, 1))}));

        engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
        std::filesystem::remove(dir / "shapes/gone.shape"); // known to the table, gone from the disk
    }

    Entity* Mesh(const std::string& name, const float3& p, const std::string& file,
                 const float3& scale = float3(1, 1, 1))
    {
        Entity* entity = Body(name, p, kBodyStatic);
        entity->GetComponent<Transform3D>()->SetScale(scale.x, scale.y, scale.z);
        auto* mesh = new MeshColliderComponent3D;
        mesh->m_file = file;
        entity->AddComponent(MeshColliderComponent3D::ID, mesh, true);
        return entity;
    }

    static MeshColliderComponent3D* MeshOf(Entity* entity) { return entity->GetComponent<MeshColliderComponent3D>(); }

    // The polyhedron colliders the mesh put on its body, in piece order.
    static const std::vector<Collider3D*>& Pieces(Entity* entity)
    {
        Collider3D* mesh = MeshOf(entity)->GetCollider();
        EXPECT_NE(mesh, nullptr);
        return static_cast<MeshColliderGeometry3D*>(mesh->m_geometry)->m_colliders;
    }

    static std::uint32_t VerticesOf(const Collider3D* piece)
    {
        return static_cast<const PolyhedronColliderGeometry3D*>(piece->m_geometry)->m_hull.VertexCount();
    }

    tarsel::test::TempDir dir;
    tarsel::test::WorkingDirectory cwd{dir.Path()};
};

TEST_F(MeshColliderComponentTest, ABoxRestsOnAMeshFloorWhoseOwnRecordsStayEmpty)
{
    Entity* floor = Mesh("floor", float3(0, 0, 0), "floor.shape");
    Entity* crate = Box("crate", float3(-2, 0.75f, 1), kBodyDynamic, float3(0.5f, 0.5f, 0.5f));
    crate->GetRigidBody()->SetAllowRotation(true);
    system->Update(0.0f); // places them before they meet at the origin
    ASSERT_EQ(Pieces(floor).size(), 2u);
    // Each piece names the component as the base type that contact records and rays read.
    const ColliderComponent3D* asBase = MeshOf(floor);
    for (const Collider3D* piece : Pieces(floor)) {
        EXPECT_EQ(piece->m_userData, static_cast<const void*>(asBase));
        EXPECT_EQ(piece->m_body, floor->GetRigidBody()->GetBody());
    }
    Run(120);

    const float3 rest = crate->GetRigidBody()->GetBody()->m_position;
    EXPECT_NEAR(rest.y, 0.5f, 0.05f);
    EXPECT_NEAR(rest.x, -2.0f, 0.1f);
    EXPECT_LT(crate->GetRigidBody()->GetBody()->m_linearVelocity.Length(), 0.05f);

    const auto& records = Probe(crate)->GetContactRecords();
    ASSERT_FALSE(records.empty());
    for (const ContactRecord3D& record : records)
        EXPECT_EQ(record.m_other, MeshOf(floor));
    EXPECT_TRUE(MeshOf(floor)->GetContactRecords().empty()) << "the mesh collider itself meets nothing";

    // Rays name the mesh component: on the floor's top, and through the ramp's high wall.
    const PhysicsRayCastResult3D top = system->RayCast(float3(3, 10, -4), float3(0, -1, 0), 50.0f);
    ASSERT_TRUE(top.hit);
    EXPECT_EQ(top.collider, MeshOf(floor));
    ExpectNear(top.point, float3(3, 0, -4), 1e-3f);
    ExpectNear(top.normal, float3(0, 1, 0), 1e-4f);
    const PhysicsRayCastResult3D wall = system->RayCast(float3(30, 0.5f, 0), float3(-1, 0, 0), 50.0f);
    ASSERT_TRUE(wall.hit);
    EXPECT_EQ(wall.collider, MeshOf(floor));
    ExpectNear(wall.normal, float3(1, 0, 0), 1e-4f);
    EXPECT_EQ(system->RayCast(float3(-2, 10, 1), float3(0, -1, 0), 50.0f).collider, Probe(crate));
}

TEST_F(MeshColliderComponentTest, MirroredEntitiesKeepTheirOutsideOut)
{
    // Mirrored in x the wall moves to local x = -5; mirrored in x and y it is also upside down.
    Entity* plain = Mesh("plain", float3(0, 0, 0), "ramp.shape");
    Entity* mirrored = Mesh("mirrored", float3(0, 0, 10), "ramp.shape", float3(-1, 1, 1));
    Entity* twice = Mesh("twice", float3(0, 0, 20), "ramp.shape", float3(-1, -1, 1));
    Run(2); // placed by the first update, their bounds follow in the second one's step
    for (Entity* entity : {plain, mirrored, twice})
        ASSERT_EQ(Pieces(entity).size(), 1u) << entity->GetName();

    struct Case {
        float z;
        float3 origin;
        float3 direction;
        float3 point;
        float3 normal;
    } cases[] = {
        {0, float3(30, 0.5f, 0), float3(-1, 0, 0), float3(5, 0.5f, 0), float3(1, 0, 0)},
        {10, float3(-30, 0.5f, 10), float3(1, 0, 0), float3(-5, 0.5f, 10), float3(-1, 0, 0)},
        {10, float3(-3, -30, 10), float3(0, 1, 0), float3(-3, -1, 10), float3(0, -1, 0)},
        {20, float3(-30, -0.5f, 20), float3(1, 0, 0), float3(-5, -0.5f, 20), float3(-1, 0, 0)},
        {20, float3(-3, 30, 20), float3(0, -1, 0), float3(-3, 1, 20), float3(0, 1, 0)},
    };
    for (const Case& c : cases) {
        const PhysicsRayCastResult3D hit = system->RayCast(c.origin, c.direction, 60.0f);
        ASSERT_TRUE(hit.hit) << "at z " << c.z << " from " << c.origin.x << ", " << c.origin.y;
        ExpectNear(hit.point, c.point, 1e-3f);
        ExpectNear(hit.normal, c.normal, 1e-4f);
    }
}

TEST_F(MeshColliderComponentTest, BrokenPiecesAreDroppedAndTheRestKeepTheirOrderUnderAMirror)
{
    StdoutCapture out;
    Entity* entity = Mesh("broken", float3(0, 0, 0), "broken.shape", float3(-1, 1, 1));
    Run(1);
    // The loader's warnings name the dropped pieces; the left-over indices are no fault.
    const std::string text = out.Text();
    for (const char* piece : {"piece 0 ", "piece 2 ", "piece 3 "})
        EXPECT_NE(text.find(piece), std::string::npos) << piece << " in\n" << text;
    for (const char* piece : {"piece 1 ", "piece 4 ", "piece 5 "})
        EXPECT_EQ(text.find(piece), std::string::npos) << piece << " in\n" << text;

    const std::vector<Collider3D*>& pieces = Pieces(entity);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(VerticesOf(pieces[0]), 8u);
    EXPECT_EQ(VerticesOf(pieces[1]), 10u) << "the prism with left-over indices";
    EXPECT_EQ(VerticesOf(pieces[2]), 8u);
    EXPECT_EQ(entity->GetRigidBody()->GetBody()->m_colliders.Count(), 4u);

    // Rays from outside hit each kept piece on its near face, facing back.
    const PhysicsRayCastResult3D prism = system->RayCast(float3(0, 30, 20), float3(0, -1, 0), 60.0f);
    ASSERT_TRUE(prism.hit);
    ExpectNear(prism.point, float3(0, 1, 20), 1e-3f);
    ExpectNear(prism.normal, float3(0, 1, 0), 1e-4f);
    const PhysicsRayCastResult3D side = system->RayCast(float3(-30, 0, 20), float3(1, 0, 0), 60.0f);
    ASSERT_TRUE(side.hit);
    EXPECT_LT(side.normal.x, -0.5f);
    const PhysicsRayCastResult3D first = system->RayCast(float3(0, 0, -60), float3(0, 0, 1), 60.0f);
    ASSERT_TRUE(first.hit);
    ExpectNear(first.point, float3(0, 0, -23), 1e-3f);
    ExpectNear(first.normal, float3(0, 0, -1), 1e-4f);
}

TEST_F(MeshColliderComponentTest, UnknownNamesAndMissingFilesGiveAMeshWithoutPieces)
{
    StdoutCapture out;
    Entity* unknown = Mesh("unknown", float3(0, 0, 0), "absent.shape");
    Entity* gone = Mesh("gone", float3(10, 0, 0), "gone.shape");
    Run(1);
    EXPECT_EQ(out.Text(), "Error: Failed to load shape data from absent.shape\n"
                          "Error: Failed to load shape data from shapes/gone.shape\n");
    for (Entity* entity : {unknown, gone}) {
        EXPECT_TRUE(MeshOf(entity)->IsBuilt());
        EXPECT_TRUE(Pieces(entity).empty());
        EXPECT_EQ(entity->GetRigidBody()->GetBody()->m_colliders.Count(), 1u);
    }

    // An entity without a Transform3D builds its pieces at scale 1.
    Entity* bare = engine->CreateEntity("bare", "default");
    bare->AddComponent(RigidBodyComponent3D::ID, (new RigidBodyComponent3D)->SetType(kBodyStatic), true);
    auto* mesh = new MeshColliderComponent3D;
    mesh->m_file = "one.shape";
    bare->AddComponent(MeshColliderComponent3D::ID, mesh, true);
    Run(1);
    ASSERT_EQ(Pieces(bare).size(), 1u);
    const PhysicsRayCastResult3D hit = system->RayCast(float3(0, 0, -30), float3(0, 0, 1), 60.0f);
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(hit.collider, mesh);
    ExpectNear(hit.point, float3(0, 0, -1), 1e-3f);
}

TEST_F(MeshColliderComponentTest, SetMeshRebuildsFromTheNewFileAtTheNextUpdate)
{
    Entity* entity = Mesh("m", float3(0, 0, 0), "one.shape");
    Run(1);
    ASSERT_EQ(Pieces(entity).size(), 1u);
    const std::uint32_t before = MeshOf(entity)->GetCollider()->m_serial;

    // Through the record, as a level or an action would.
    Function* setMesh = MeshOf(entity)->GetMeta()->GetMethod("SetMesh");
    ASSERT_NE(setMesh, nullptr);
    std::string name = "floor.shape";
    setMesh->PushArgument(Variable(MeshOf(entity), false));
    setMesh->PushArgument(Variable(&name, false));
    EXPECT_EQ(std::unique_ptr<Variable>(setMesh->Invoke()), nullptr) << "SetMesh returns nothing";
    EXPECT_EQ(MeshOf(entity)->m_file, "floor.shape");
    EXPECT_FALSE(MeshOf(entity)->IsBuilt());
    EXPECT_EQ(entity->GetRigidBody()->GetBody()->m_colliders.Count(), 2u) << "nothing changes before the update";

    Run(1);
    EXPECT_GT(MeshOf(entity)->GetCollider()->m_serial, before) << "a new mesh collider";
    EXPECT_EQ(Pieces(entity).size(), 2u);
    EXPECT_EQ(entity->GetRigidBody()->GetBody()->m_colliders.Count(), 3u);
}

} // namespace
} // namespace quellor::test
