// The game's physics sample level, loaded from the built content by name: its mesh pieces come
// from the generated shape files, and a crate and a ball dropped onto the island come to rest
// on it, their records naming the island's mesh collider.
#include "PhysicsSystemTestKit.h"

#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/MeshColliderComponent3D.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/WorkingDirectory.h"

#include <cstdlib>

namespace quellor::test {
namespace {

using ZOR::float3;

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
