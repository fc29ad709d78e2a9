// Levels with physics components, loaded by name and simulated through whole engine frames: a
// level written into a temporary content folder, and the game's sample level from the built
// content, whose mesh pieces come from the generated shape files.
#include "PhysicsSystemTestKit.h"

#include "engine/ActionSystem.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/BoxColliderGeometry3D.h"
#include "physics/MassOverrideComponent.h"
#include "physics/MeshColliderComponent3D.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/QuadColliderComponent3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "physics/SphereColliderGeometry3D.h"
#include "physics/WaterPhysicsBounds.h"
#include "physics/WaterPhysicsComponent.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/writers/ShapeBuilder.h"
#include "tools/writers/ShapeWriter.h"

#include <cmath>
#include <cstdlib>

namespace quellor::test {
namespace {

using ZOR::float3;

// A crate (box and sphere, mass override) above an island made by its action, a sensor box
// beside the island, a tilted quad ramp, a mirrored ledge of shape pieces far below and a water
// volume.
const char* const kLevel = R"(<?xml version="1.0"?>
<level>
  <crate>
    <components>
      <Transform3D>
        <m_x><float value="2"/></m_x>
        <m_y><float value="9"/></m_y>
        <m_scaleX><float value="2"/></m_scaleX>
        <m_scaleY><float value="2"/></m_scaleY>
        <m_scaleZ><float value="2"/></m_scaleZ>
      </Transform3D>
      <RigidBodyComponent3D><m_type><int value="1"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="0.5"/></x><y><float value="0.25"/></y><z><float value="0.5"/></z></Vec4></m_halfExtents>
        <m_enviroType><int value="3"/></m_enviroType>
      </BoxColliderComponent3D>
      <SphereColliderComponent3D>
        <m_radius><float value="0.25"/></m_radius>
        <m_center><Vec4><y><float value="0.5"/></y></Vec4></m_center>
        <m_eType><int value="2"/></m_eType>
      </SphereColliderComponent3D>
      <MassOverrideComponent><m_mass><float value="4"/></m_mass></MassOverrideComponent>
    </components>
  </crate>
  <island>
    <components>
      <Transform3D/>
      <ActionComponent><m_name><string value="IslandPhysics"/></m_name></ActionComponent>
    </components>
  </island>
  <trigger>
    <components>
      <Transform3D><m_y><float value="5"/></m_y><m_x><float value="-6"/></m_x></Transform3D>
      <RigidBodyComponent3D/>
      <BoxColliderComponent3D><m_isSensor><bool value="1"/></m_isSensor></BoxColliderComponent3D>
    </components>
  </trigger>
  <ramp>
    <components>
      <Transform3D><m_x><float value="60"/></m_x></Transform3D>
      <RigidBodyComponent3D/>
      <QuadColliderComponent3D>
        <m_rotationZ><float value="0.5"/></m_rotationZ>
        <m_halfWidth><float value="4"/></m_halfWidth>
        <m_halfHeight><float value="3"/></m_halfHeight>
      </QuadColliderComponent3D>
    </components>
  </ramp>
  <ledge>
    <components>
      <Transform3D><m_x><float value="-40"/></m_x><m_scaleX><float value="-1"/></m_scaleX></Transform3D>
      <RigidBodyComponent3D/>
      <MeshColliderComponent3D><m_file><string value="ledge.shape"/></m_file></MeshColliderComponent3D>
    </components>
  </ledge>
  <pool>
    <components>
      <WaterPhysicsBounds><lowY><float value="-5"/></lowY></WaterPhysicsBounds>
      <WaterPhysicsComponent/>
    </components>
  </pool>
</level>
)";

class PhysicsLevelTest : public PhysicsSystemTest {
protected:
    tarsel::test::TempDir dir;
};

TEST_F(PhysicsLevelTest, ALevelOfPhysicsComponentsLoadsByNameAndSimulates)
{
    dir.Write("levels/physics.ql", kLevel);
    dir.Write("shapes/ledge.shape",
              tarsel::tools::WriteShape({tarsel::tools::BoxPiece(float3(0, -20, 0), float3(3, 1, 3)),
                                         tarsel::tools::WedgePiece(float3(5, -18, 0), float3(2, 1, 3))}));
    tarsel::test::WorkingDirectory cwd(dir.Path());
    engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
    auto* objects = static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));
    engine->AddSystem(ActionSystem::ID, new ActionSystem, "default");
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));

    tarsel::test::StdoutCapture out;
    objects->LoadLevel("physics.ql");
    EXPECT_NE(out.Text().find("(MassOverrideComponent) Setting mass of collider to 4.000000\n"), std::string::npos);

    Entity* crate = engine->GetEntity("crate", "default");
    ASSERT_NE(crate, nullptr);
    auto* box = crate->GetComponent<BoxColliderComponent3D>();
    auto* sphere = crate->GetComponent<SphereColliderComponent3D>();
    ASSERT_NE(box, nullptr);
    ASSERT_NE(sphere, nullptr);
    EXPECT_EQ(box->m_enviroType, 3);
    EXPECT_EQ(sphere->m_eType, 2);
    EXPECT_FLOAT_EQ(sphere->m_center.y, 0.5f);
    EXPECT_FLOAT_EQ(sphere->m_mass, 4.0f) << "the sphere took the override";
    auto* trigger = engine->GetEntity("trigger", "default")->GetComponent<BoxColliderComponent3D>();
    ASSERT_NE(trigger, nullptr);
    EXPECT_TRUE(trigger->m_isSensor);
    auto* ramp = engine->GetEntity("ramp", "default")->GetComponent<QuadColliderComponent3D>();
    ASSERT_NE(ramp, nullptr);
    EXPECT_FLOAT_EQ(ramp->m_rotationZ, 0.5f);
    EXPECT_FLOAT_EQ(engine->GetEntity("pool", "default")->GetComponent<WaterPhysicsBounds>()->lowY, -5.0f);
    EXPECT_NE(engine->GetEntity("pool", "default")->GetComponent<WaterPhysicsComponent>(), nullptr);

    // Frame 1 attaches the level's colliders and starts the island's action; frame 2 attaches
    // the island's quad. The crate then falls onto the island, bounces and settles within 2 s.
    for (int i = 0; i < 120; ++i)
        engine->Update(1.0f / 60.0f);
    const Transform3D* placed = crate->GetComponent<Transform3D>();
    const float3 settled(placed->m_x, placed->m_y, placed->m_z);
    for (int i = 0; i < 120; ++i)
        engine->Update(1.0f / 60.0f);

    ASSERT_NE(box->GetCollider(), nullptr);
    const auto& boxShape = *static_cast<const BoxColliderGeometry3D*>(box->GetCollider()->m_geometry);
    ExpectNear(boxShape.m_halfExtents, float3(1.0f, 0.5f, 1.0f));
    EXPECT_NEAR(static_cast<const SphereColliderGeometry3D*>(sphere->GetCollider()->m_geometry)->m_radius, 0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(sphere->GetCollider()->m_mass, 4.0f);
    EXPECT_FLOAT_EQ(box->GetCollider()->m_mass, 4.0f) << "computed: 2 by 1 by 2";

    auto* islandQuad = engine->GetEntity("island", "default")->GetComponent<QuadColliderComponent3D>();
    ASSERT_NE(islandQuad, nullptr);
    ASSERT_NE(islandQuad->GetCollider(), nullptr);
    EXPECT_NEAR(placed->m_y, 5.5f, 0.05f) << "resting on the quad 5 above the island, half height 0.5";
    EXPECT_LT(std::fabs(crate->GetRigidBody()->GetLinearVelocity().y), 0.05f);
    // The crate may not turn (the component's default); it lands below where it was placed and,
    // once resting on the flat island, does not creep sideways.
    EXPECT_NEAR(placed->m_x, 2.0f, 0.05f);
    EXPECT_NEAR(placed->m_z, 0.0f, 0.05f);
    EXPECT_LT(std::hypot(placed->m_x - settled.x, placed->m_z - settled.z), 1e-2f);
    ASSERT_FALSE(box->GetContactRecords().empty());
    EXPECT_EQ(box->GetContactRecords()[0].m_other, islandQuad);
    EXPECT_TRUE(trigger->GetContactRecords().empty()) << "nothing reached the sensor";

    // The ledge's two pieces, mirrored: the ramp's wall now faces -x.
    auto* ledge = engine->GetEntity("ledge", "default")->GetComponent<MeshColliderComponent3D>();
    ASSERT_NE(ledge, nullptr);
    EXPECT_EQ(ledge->m_file, "ledge.shape");
    ASSERT_NE(ledge->GetCollider(), nullptr);
    EXPECT_EQ(static_cast<const MeshColliderGeometry3D*>(ledge->GetCollider()->m_geometry)->m_colliders.size(), 2u);
    const PhysicsRayCastResult3D top = system->RayCast(float3(-40, 0, 1), float3(0, -1, 0), 40.0f);
    ASSERT_TRUE(top.hit);
    EXPECT_EQ(top.collider, ledge);
    EXPECT_NEAR(top.point.y, -19.0f, 1e-3f);
    const PhysicsRayCastResult3D wall = system->RayCast(float3(-60, -17.5f, 0), float3(1, 0, 0), 40.0f);
    ASSERT_TRUE(wall.hit);
    EXPECT_EQ(wall.collider, ledge);
    ExpectNear(wall.point, float3(-47, -17.5f, 0), 1e-3f);
    ExpectNear(wall.normal, float3(-1, 0, 0), 1e-4f);
}

std::size_t PieceCount(Entity* entity)
{
    auto* mesh = entity->GetComponent<MeshColliderComponent3D>();
    if (!mesh || !mesh->GetCollider())
        return 0;
    return static_cast<MeshColliderGeometry3D*>(mesh->GetCollider()->m_geometry)->m_colliders.size();
}

TEST_F(PhysicsSystemTest, TheSampleLevelLoadsItsShapesAndSettles)
{
    const char* content = std::getenv("TARSEL_CONTENT_DIR");
    ASSERT_NE(content, nullptr);
    tarsel::test::WorkingDirectory cwd(content);
    engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
    auto* objects = static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));

    tarsel::test::StdoutCapture out;
    objects->LoadLevel("physics_sample.ql");
    engine->Update(0.0f); // places the bodies before they meet at the origin
    for (int frame = 0; frame < 240; ++frame)
        engine->Update(1.0f / 60.0f);
    EXPECT_EQ(out.Text().find("Error"), std::string::npos) << out.Text();
    EXPECT_EQ(out.Text().find("Warning"), std::string::npos) << out.Text();

    Entity* island = engine->GetEntity("island", "default");
    Entity* pillar = engine->GetEntity("pillar", "default");
    Entity* crate = engine->GetEntity("crate", "default");
    Entity* ball = engine->GetEntity("ball", "default");
    ASSERT_TRUE(island && pillar && crate && ball);
    EXPECT_EQ(PieceCount(island), 3u);
    EXPECT_EQ(PieceCount(pillar), 2u);
    ASSERT_NE(crate->GetComponent<BoxColliderComponent3D>(), nullptr);
    ASSERT_NE(ball->GetComponent<SphereColliderComponent3D>(), nullptr);

    // The island's top is at y = -1.
    const Transform3D* crateAt = crate->GetComponent<Transform3D>();
    EXPECT_NEAR(crateAt->m_y, -0.5f, 0.05f);
    EXPECT_NEAR(crateAt->m_x, -2.0f, 0.2f);
    const Transform3D* ballAt = ball->GetComponent<Transform3D>();
    EXPECT_NEAR(ballAt->m_y, -0.5f, 0.05f);
    // A ball keeps rolling at whatever small speed its landing gave it; it stays near.
    EXPECT_NEAR(ballAt->m_x, 2.0f, 1.0f);
    EXPECT_NEAR(ballAt->m_z, 3.0f, 1.0f);

    auto* islandMesh = island->GetComponent<MeshColliderComponent3D>();
    for (Entity* entity : {crate, ball}) {
        const auto* collider = static_cast<ColliderComponent3D*>(
            entity->GetComponent(entity == crate ? BoxColliderComponent3D::ID : SphereColliderComponent3D::ID));
        const auto& records = collider->GetContactRecords();
        ASSERT_FALSE(records.empty()) << entity->GetName();
        for (const ContactRecord3D& record : records)
            EXPECT_EQ(record.m_other, islandMesh) << entity->GetName();
    }

    // The pillar's cap is 5.5 up: 2 for the entity, 3.5 for the shape.
    const PhysicsRayCastResult3D cap = system->RayCast(float3(-6, 20, -4), float3(0, -1, 0), 40.0f);
    ASSERT_TRUE(cap.hit);
    EXPECT_EQ(cap.collider, pillar->GetComponent<MeshColliderComponent3D>());
    EXPECT_NEAR(cap.point.y, 5.5f, 1e-3f);
    const PhysicsRayCastResult3D ramp = system->RayCast(float3(20, 0, 0), float3(-1, 0, 0), 40.0f);
    ASSERT_TRUE(ramp.hit);
    EXPECT_EQ(ramp.collider, islandMesh);
    ExpectNear(ramp.normal, float3(1, 0, 0), 1e-4f);
}

} // namespace
} // namespace quellor::test
