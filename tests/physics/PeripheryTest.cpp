// The small physics pieces level data places: the mass override, the island action and the
// water components.
#include "PhysicsSystemTestKit.h"

#include "engine/ActionComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/MassOverrideComponent.h"
#include "physics/QuadColliderComponent3D.h"
#include "physics/QuadColliderGeometry3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "physics/WaterPhysicsBounds.h"
#include "physics/WaterPhysicsComponent.h"
#include "physics/WaterPhysicsSystem.h"
#include "tests/support/StdoutCapture.h"

#include <cmath>
#include <memory>

namespace quellor::test {
namespace {

using ZOR::float3;

class PeripheryTest : public PhysicsSystemTest {
protected:
    // Adds a mass override of `mass` to the entity and returns what it printed.
    std::string Override(Entity* entity, float mass)
    {
        auto* override = new MassOverrideComponent;
        override->m_mass = mass;
        tarsel::test::StdoutCapture out;
        entity->AddComponent(MassOverrideComponent::ID, override, true);
        return out.Text();
    }
};

TEST_F(PeripheryTest, TheMassOverrideGoesToTheSphereBeforeTheBoxAndPrintsItsLine)
{
    Entity* both = Body("both", float3(0.0f, 0.0f, 0.0f));
    // Added box first: the lookup order, not the order of adding, decides.
    auto* box = both->AddComponent<BoxColliderComponent3D>(true);
    auto* sphere = both->AddComponent<SphereColliderComponent3D>(true);
    system->Update(0.0f);
    const float boxMass = box->GetCollider()->m_mass;

    EXPECT_EQ(Override(both, 3.0f), "(MassOverrideComponent) Setting mass of collider to 3.000000\n");
    auto* override = both->GetComponent<MassOverrideComponent>();
    EXPECT_EQ(override->GetTarget(), sphere);
    EXPECT_FLOAT_EQ(sphere->m_mass, 3.0f);
    EXPECT_FLOAT_EQ(sphere->GetCollider()->m_mass, 3.0f);
    EXPECT_FLOAT_EQ(box->m_mass, -1.0f);
    EXPECT_FLOAT_EQ(box->GetCollider()->m_mass, boxMass);
    EXPECT_FALSE(both->GetRigidBody()->GetBody()->IsMassClean());
    system->Update(1.0f / 60.0f);
    EXPECT_NEAR(both->GetRigidBody()->GetBody()->m_mass, 3.0f + boxMass, 1e-4f);
    EXPECT_EQ(override->Clone(), nullptr);
}

TEST_F(PeripheryTest, AnOverrideBeforeTheColliderIsAttachedReachesItOnlyWhenPositive)
{
    Entity* early = Body("early", float3(0.0f, 0.0f, 0.0f));
    auto* quad = early->AddComponent<QuadColliderComponent3D>(true);
    Override(early, 6.0f);
    Entity* zero = Body("zero", float3(10.0f, 0.0f, 0.0f));
    auto* box = zero->AddComponent<BoxColliderComponent3D>(true);
    Override(zero, 0.0f);
    EXPECT_FLOAT_EQ(box->m_mass, 0.0f) << "stored on the component all the same";
    system->Update(0.0f);

    EXPECT_FLOAT_EQ(quad->GetCollider()->m_mass, 6.0f);
    EXPECT_FLOAT_EQ(box->GetCollider()->m_mass, 8.0f) << "0 keeps the computed mass";

    // Applied to an attached collider, 0 goes through as it is.
    {
        tarsel::test::StdoutCapture quiet;
        zero->GetComponent<MassOverrideComponent>()->Initialize();
    }
    EXPECT_FLOAT_EQ(box->GetCollider()->m_mass, 0.0f);
    EXPECT_TRUE(std::isinf(box->GetCollider()->m_inverseMass));
}

TEST_F(PeripheryTest, WithoutASphereBoxOrQuadTheOverrideOnlyPrints)
{
    Entity* plain = Box("plain", float3(0.0f, 0.0f, 0.0f)); // its collider is no sphere, box or quad
    system->Update(0.0f);
    const float before = Probe(plain)->GetCollider()->m_mass;
    EXPECT_EQ(Override(plain, 2.5f), "(MassOverrideComponent) Setting mass of collider to 2.500000\n");
    EXPECT_EQ(plain->GetComponent<MassOverrideComponent>()->GetTarget(), nullptr);
    EXPECT_FLOAT_EQ(Probe(plain)->GetCollider()->m_mass, before);
    EXPECT_FLOAT_EQ(Probe(plain)->m_mass, -1.0f);
}

TEST_F(PeripheryTest, IslandPhysicsMakesAStaticBodyWithABigQuadOneUpdateLater)
{
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    Entity* island = engine->CreateEntity("island", "default");
    island->AddComponent<Transform3D>(true)->SetPosition(3.0f, 10.0f, -2.0f);
    auto* actions = new ActionComponent;
    actions->SetBasedOnName("IslandPhysics");
    island->AddComponent(ActionComponent::ID, actions, true);
    EXPECT_EQ(island->GetRigidBody(), nullptr);

    actions->Update(1.0f / 60.0f); // the list starts the action
    RigidBodyComponent3D* rigid = island->GetRigidBody();
    ASSERT_NE(rigid, nullptr);
    auto* quad = island->GetComponent<QuadColliderComponent3D>();
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(rigid->GetType(), kBodyStatic);
    EXPECT_EQ(quad->GetCollider(), nullptr) << "attached by the next physics update";

    system->Update(1.0f / 60.0f);
    ASSERT_NE(quad->GetCollider(), nullptr);
    const auto& geometry = *static_cast<const QuadColliderGeometry3D*>(quad->GetCollider()->m_geometry);
    EXPECT_FLOAT_EQ(geometry.m_halfWidth, 20.0f);
    EXPECT_FLOAT_EQ(geometry.m_halfHeight, 20.0f);
    ExpectNear(geometry.m_center, float3(0.0f, 5.0f, 0.0f));
    ExpectNear(geometry.m_rotation * float3(0.0f, 1.0f, 0.0f), float3(0.0f, 1.0f, 0.0f));

    // A static island: it stays where its transform put it, and a ray meets the quad 5 above.
    Run(10);
    EXPECT_FLOAT_EQ(island->GetComponent<Transform3D>()->m_y, 10.0f);
    const PhysicsRayCastResult3D hit = system->RayCast(float3(20.0f, 40.0f, 15.0f), float3(0.0f, -1.0f, 0.0f), 100.0f);
    ASSERT_EQ(hit.hit, 1) << "inside the 40 by 40 square";
    EXPECT_EQ(hit.collider, quad);
    EXPECT_NEAR(hit.point.y, 15.0f, 1e-4f);
    EXPECT_EQ(system->RayCast(float3(25.0f, 40.0f, 0.0f), float3(0.0f, -1.0f, 0.0f), 100.0f).hit, 0);

    // It never finishes by itself.
    actions->Update(1.0f / 60.0f);
    EXPECT_EQ(actions->GetActionList().GetCount(), 1);
}

TEST_F(PeripheryTest, WaterComponentsAnnounceThemselvesToAWaterSystemAndLeave)
{
    // Without one they find nothing and stay inert.
    Entity* pool = Body("pool", float3(0.0f, 0.0f, 0.0f));
    auto* lone = pool->AddComponent<WaterPhysicsComponent>(true);
    EXPECT_EQ(pool->AddComponent<WaterPhysicsBounds>(true)->GetWaterSystem(), nullptr);
    EXPECT_EQ(lone->GetWaterSystem(), nullptr);
    EXPECT_EQ(lone->GetRigidBodyComponent(), pool->GetRigidBody());
    EXPECT_EQ(lone->GetGraphicsComponent(), nullptr);
    engine->DestroyEntity("pool", "default");
    engine->Update(0.0f);

    auto* waterSystem = static_cast<WaterPhysicsSystem*>(
        engine->AddSystem(WaterPhysicsSystem::ID, new WaterPhysicsSystem, "default"));
    Entity* a = Body("a", float3(0.0f, 0.0f, 0.0f));
    Entity* b = Body("b", float3(5.0f, 0.0f, 0.0f));
    auto* first = a->AddComponent<WaterPhysicsComponent>(true);
    auto* second = b->AddComponent<WaterPhysicsComponent>(true);
    auto* bounds = a->AddComponent<WaterPhysicsBounds>(true);
    EXPECT_EQ(first->GetWaterSystem(), waterSystem);
    EXPECT_EQ(waterSystem->m_bodies, (std::vector<WaterPhysicsComponent*>{first, second}));
    EXPECT_EQ(waterSystem->m_bounds, bounds);

    a->GetComponent<WaterPhysicsComponent>()->Uninitialize();
    EXPECT_EQ(waterSystem->m_bodies, (std::vector<WaterPhysicsComponent*>{second}));
    bounds->Uninitialize();
    EXPECT_EQ(waterSystem->m_bounds, nullptr);
    first->Uninitialize(); // not in the list any more: nothing happens
    EXPECT_EQ(waterSystem->m_bodies.size(), 1u);

    // The system going first leaves nothing for the components to reach.
    engine->DestroyAllSystems("default");
    engine->Update(0.0f);
    engine->DestroyEntity("b", "default");
    engine->Update(0.0f);
}

} // namespace
} // namespace quellor::test
