// The collider component base: lazy attaching to the entity's body, the per-frame contact
// records, the mass override, the sensor flag, rebuilding and detaching.
#include "PhysicsSystemTestKit.h"

#include "engine/reflection/Function.h"
#include "engine/reflection/Variable.h"

#include <memory>

namespace quellor::test {
namespace {

using ZOR::float3;

// A probe that shows the scale its subclass would build with.
class ScaleProbe : public BoxProbeComponent {
public:
    float3 Scale() const { return GetEntityScale(); }
};

class ColliderComponentTest : public PhysicsSystemTest {
protected:
    void SetUp() override
    {
        PhysicsSystemTest::SetUp();
        system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    }
};

TEST_F(ColliderComponentTest, StackedPairRecordsNameTheOtherComponentFromEachSide)
{
    Entity* floor = Box("floor", float3(0.0f, 0.0f, 0.0f), kBodyStatic, float3(5.0f, 1.0f, 5.0f));
    Entity* crate = Box("crate", float3(0.0f, 1.9f, 0.0f));
    Entity* alone = Box("alone", float3(30.0f, 10.0f, 0.0f), kBodyStatic);
    system->Update(0.0f); // places them before they meet at the origin
    EXPECT_TRUE(Probe(crate)->GetContactRecords().empty());
    Run(30);

    const auto& crateRecords = Probe(crate)->GetContactRecords();
    ASSERT_EQ(crateRecords.size(), 1u);
    const ContactRecord3D& onCrate = crateRecords[0];
    EXPECT_EQ(onCrate.m_other, Probe(floor));
    EXPECT_EQ(onCrate.m_touching, 1);
    ASSERT_GT(onCrate.m_pointCount, 0);
    for (int i = 0; i < onCrate.m_pointCount; ++i) {
        // The point lies on the floor's top face; the normal points from the floor to the crate.
        EXPECT_NEAR(onCrate.m_points[i].m_point.y, 1.0f, 0.05f);
        ExpectNear(onCrate.m_points[i].m_normal, float3(0.0f, 1.0f, 0.0f), 1e-3f);
    }

    const auto& floorRecords = Probe(floor)->GetContactRecords();
    ASSERT_EQ(floorRecords.size(), 1u);
    EXPECT_EQ(floorRecords[0].m_other, Probe(crate));
    ASSERT_EQ(floorRecords[0].m_pointCount, onCrate.m_pointCount);
    for (int i = 0; i < floorRecords[0].m_pointCount; ++i) {
        EXPECT_NEAR(floorRecords[0].m_points[i].m_point.y, 1.0f, 0.05f) << "on the crate's bottom face";
        ExpectNear(floorRecords[0].m_points[i].m_normal, float3(0.0f, -1.0f, 0.0f), 1e-3f);
    }
    EXPECT_TRUE(Probe(alone)->GetContactRecords().empty());

    // The bodies list each other as touching, the isolated one nothing.
    EXPECT_THAT(crate->GetRigidBody()->m_touching, ::testing::ElementsAre(floor->GetRigidBody()));
    EXPECT_THAT(floor->GetRigidBody()->m_touching, ::testing::ElementsAre(crate->GetRigidBody()));
    EXPECT_TRUE(alone->GetRigidBody()->m_touching.empty());
    EXPECT_NEAR(crate->GetComponent<Transform3D>()->m_y, 2.0f, 0.05f) << "it rests on the floor";

    // Moved away, the pair ends and both lists empty.
    crate->GetRigidBody()->SetPosition(Vec4(-30.0f, 10.0f, 0.0f, 1.0f));
    crate->GetRigidBody()->SetHasGravity(false);
    crate->GetRigidBody()->SetLinearVelocity(Vec4());
    Run(3);
    EXPECT_TRUE(crate->GetRigidBody()->m_touching.empty());
    EXPECT_TRUE(floor->GetRigidBody()->m_touching.empty());
    EXPECT_TRUE(Probe(crate)->GetContactRecords().empty());
}

TEST_F(ColliderComponentTest, WithoutARigidBodyNothingIsAttachedUntilOneComes)
{
    Entity* entity = engine->CreateEntity("loose", "default");
    entity->AddComponent<Transform3D>(true);
    auto* probe = static_cast<BoxProbeComponent*>(entity->AddComponent(BoxProbeComponent::ID, new BoxProbeComponent, true));
    Box("floor", float3(0.0f, 0.0f, 0.0f), kBodyStatic, float3(5.0f, 5.0f, 5.0f)); // overlaps the origin
    Run(5);
    EXPECT_EQ(probe->GetCollider(), nullptr);
    EXPECT_FALSE(probe->IsBuilt());
    EXPECT_EQ(probe->builds, 0);
    EXPECT_TRUE(probe->GetContactRecords().empty());
    EXPECT_EQ(probe->syncs, 5) << "registered and asked every frame";

    entity->AddComponent<RigidBodyComponent3D>(true)->SetType(kBodyDynamic);
    Run(1);
    ASSERT_NE(probe->GetCollider(), nullptr);
    EXPECT_TRUE(probe->IsBuilt());
    EXPECT_EQ(probe->GetCollider()->m_body, entity->GetRigidBody()->GetBody());
    EXPECT_EQ(probe->GetCollider()->m_userData, probe);
    Run(3);
    EXPECT_EQ(probe->builds, 1) << "built once, not every frame";
}

TEST_F(ColliderComponentTest, TheBaseAttachesNothingAndCannotBeCloned)
{
    Entity* entity = Body("plain", float3(0.0f, 0.0f, 0.0f));
    auto* plain = static_cast<ColliderComponent3D*>(
        entity->AddComponent(ColliderComponent3D::ID, new ColliderComponent3D, true));
    Run(2);
    EXPECT_TRUE(plain->IsBuilt()) << "asked once; there is no shape to build";
    EXPECT_EQ(plain->GetCollider(), nullptr);
    EXPECT_EQ(entity->GetRigidBody()->GetBody()->m_colliders.Count(), 0u);
    EXPECT_EQ(plain->Clone(), nullptr);
}

TEST_F(ColliderComponentTest, OnlyAPositiveMassOverridesTheComputedOne)
{
    // A unit box (half extents 1) at density 1 weighs 8.
    Entity* zero = Box("zero", float3(0.0f, 0.0f, 0.0f));
    Probe(zero)->m_mass = 0.0f;
    Entity* negative = Box("negative", float3(10.0f, 0.0f, 0.0f));
    Entity* five = Box("five", float3(20.0f, 0.0f, 0.0f));
    Probe(five)->SetMass(5.0f);
    Run(1);

    EXPECT_FLOAT_EQ(Probe(zero)->GetCollider()->m_mass, 8.0f);
    EXPECT_FLOAT_EQ(Probe(negative)->GetCollider()->m_mass, 8.0f);
    EXPECT_FLOAT_EQ(Probe(five)->GetCollider()->m_mass, 5.0f);
    EXPECT_FLOAT_EQ(Probe(five)->GetCollider()->m_inverseMass, 0.2f);
    EXPECT_NEAR(five->GetRigidBody()->GetBody()->m_mass, 5.0f, 1e-5f) << "the step summed the override";

    // Set on an attached collider, it goes straight to the collider and the body follows.
    Function* setMass = negative->GetComponent<BoxProbeComponent>()->GetMeta()->GetMethod("SetMass");
    ASSERT_NE(setMass, nullptr);
    float two = 2.0f;
    setMass->PushArgument(Variable(static_cast<ColliderComponent3D*>(Probe(negative)), false));
    setMass->PushArgument(Variable(&two, false));
    EXPECT_EQ(std::unique_ptr<Variable>(setMass->Invoke()), nullptr) << "SetMass returns nothing";
    EXPECT_FLOAT_EQ(Probe(negative)->GetCollider()->m_mass, 2.0f);
    EXPECT_FALSE(negative->GetRigidBody()->GetBody()->IsMassClean());
    Run(1);
    EXPECT_NEAR(negative->GetRigidBody()->GetBody()->m_mass, 2.0f, 1e-5f);
}

TEST_F(ColliderComponentTest, ASensorReportsContactsButIsNeverPushed)
{
    Entity* floor = Box("floor", float3(0.0f, 0.0f, 0.0f), kBodyStatic, float3(5.0f, 1.0f, 5.0f));
    Entity* ghost = Box("ghost", float3(0.0f, 1.5f, 0.0f), kBodyDynamic, float3(1.0f, 1.0f, 1.0f), true);
    EXPECT_TRUE(Probe(ghost)->IsSensor()) << "the field without a collider";
    system->Update(0.0f);
    EXPECT_TRUE(Probe(ghost)->IsSensor());
    EXPECT_EQ(Probe(ghost)->GetCollider()->m_sensor, 1);
    Run(3);

    const auto& records = Probe(ghost)->GetContactRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].m_other, Probe(floor));
    EXPECT_EQ(records[0].m_touching, 1);
    ASSERT_EQ(Probe(floor)->GetContactRecords().size(), 1u);
    EXPECT_EQ(Probe(floor)->GetContactRecords()[0].m_other, Probe(ghost));

    Run(60);
    EXPECT_LT(ghost->GetComponent<Transform3D>()->m_y, -2.0f) << "it falls through the floor";

    // The flag follows to the attached collider without a rebuild.
    Collider3D* collider = Probe(ghost)->GetCollider();
    EXPECT_EQ(Probe(ghost)->SetSensor(false), Probe(ghost));
    EXPECT_EQ(collider->m_sensor, 0);
    EXPECT_FALSE(Probe(ghost)->IsSensor());
    Run(1);
    EXPECT_EQ(Probe(ghost)->GetCollider(), collider);
}

// A body frees its colliders with it; a collider component of the same entity must neither
// keep nor detach the freed collider.
TEST_F(ColliderComponentTest, ARemovedBodyTakesTheColliderWithoutLeavingItToTheComponent)
{
    Entity* crate = Box("crate", float3(0.0f, 3.0f, 0.0f));
    Run(1);
    ASSERT_NE(Probe(crate)->GetCollider(), nullptr);
    crate->GetRigidBody()->Uninitialize();
    EXPECT_EQ(Probe(crate)->GetCollider(), nullptr);
    EXPECT_FALSE(Probe(crate)->IsBuilt());
    Run(2); // the component is still there, but without a body nothing attaches
    EXPECT_EQ(Probe(crate)->GetCollider(), nullptr);
    EXPECT_TRUE(Probe(crate)->GetContactRecords().empty());
    engine->DestroyEntity("crate", "default");
    engine->Update(0.0f);
    EXPECT_EQ(system->GetColliders().Count(), 0u);
}

TEST_F(ColliderComponentTest, UninitialisingDetachesFromTheBodyAndLeavesTheList)
{
    Entity* crate = Body("crate", float3(0.0f, 0.0f, 0.0f));
    auto* first = static_cast<BoxProbeComponent*>(crate->AddComponent(BoxProbeComponent::ID, new BoxProbeComponent, true));
    auto* second = static_cast<BoxProbeComponent*>(
        crate->AddComponent("SecondProbe", new BoxProbeComponent(float3(0.5f, 0.5f, 0.5f)), true));
    Run(1);
    RigidBody3D* body = crate->GetRigidBody()->GetBody();
    ASSERT_EQ(body->m_colliders.Count(), 2u);
    EXPECT_NEAR(body->m_mass, 9.0f, 1e-4f) << "8 and 1";

    first->Uninitialize();
    EXPECT_EQ(first->GetCollider(), nullptr);
    EXPECT_EQ(body->m_colliders.Count(), 1u);
    EXPECT_EQ(body->m_colliders.Front(), second->GetCollider());
    EXPECT_EQ(system->GetColliders().Count(), 1u);
    Run(1);
    EXPECT_NEAR(body->m_mass, 1.0f, 1e-4f) << "the body's mass no longer counts the detached box";
}

TEST_F(ColliderComponentTest, OutsideAPhysicsSpaceTheComponentsStayInert)
{
    engine->CreateSpace("bare");
    Entity* entity = engine->CreateEntity("ghost", "bare");
    auto* probe = new ScaleProbe;
    entity->AddComponent(BoxProbeComponent::ID, probe, true);
    EXPECT_FALSE(probe->m_systemLink.IsLinked());
    EXPECT_EQ(system->GetColliders().Count(), 0u);
    auto* rigid = entity->AddComponent<RigidBodyComponent3D>(true);
    EXPECT_EQ(rigid->GetBody(), nullptr);
    EXPECT_EQ(entity->GetRigidBody(), rigid);
    EXPECT_EQ(system->GetRigidBodies().Count(), 0u);
    // Without a Transform3D the entity counts as unscaled.
    ExpectNear(probe->Scale(), float3(1.0f, 1.0f, 1.0f), 0.0f);
    entity->AddComponent<Transform3D>(true)->SetScale(-2.0f, 3.0f, 0.5f);
    ExpectNear(probe->Scale(), float3(-2.0f, 3.0f, 0.5f), 0.0f); // signs kept for the subclass
    engine->DestroyEntity("ghost", "bare");
    engine->Update(0.0f);
}

} // namespace
} // namespace quellor::test
