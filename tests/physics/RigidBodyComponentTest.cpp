#include "PhysicsSystemTestKit.h"

#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/Variable.h"

#include <cmath>
#include <memory>
#include <numbers>

namespace quellor::test {
namespace {

using ZOR::float3;

void ExpectVec(const Vec4& actual, const Vec4& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
    EXPECT_NEAR(actual.w, expected.w, tolerance);
}

TEST_F(PhysicsSystemTest, ABodyIsPlacedAtItsTransformByTheFirstUpdateOnly)
{
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    Entity* ball = Box("ball", float3(3.0f, 7.0f, -2.0f));
    auto* transform = ball->GetComponent<Transform3D>();
    RigidBodyComponent3D* rigid = ball->GetRigidBody();
    ExpectVec(rigid->GetPosition(), Vec4(0, 0, 0, 1)); // made at the origin

    system->Update(1.0f / 60.0f);
    ExpectVec(rigid->GetPosition(), Vec4(3.0f, 7.0f, -2.0f, 1.0f));
    EXPECT_FLOAT_EQ(transform->m_x, 3.0f);
    EXPECT_FLOAT_EQ(transform->m_y, 7.0f);
    EXPECT_FLOAT_EQ(transform->m_z, -2.0f);
    EXPECT_LT(rigid->GetLinearVelocity().y, 0.0f) << "the first step at the origin gave it speed";

    // Writes to the transform are overwritten by the body's pose.
    transform->SetPosition(100.0f, 100.0f, 100.0f);
    system->Update(1.0f / 60.0f);
    EXPECT_NEAR(transform->m_x, 3.0f, 1e-4f);
    EXPECT_LT(transform->m_y, 7.0f);

    rigid->SetPosition(Vec4(-4.0f, 20.0f, 1.0f, 1.0f));
    system->SetGravity(Vec4());
    rigid->SetLinearVelocity(Vec4());
    system->Update(1.0f / 60.0f);
    EXPECT_NEAR(transform->m_x, -4.0f, 1e-4f);
    EXPECT_NEAR(transform->m_y, 20.0f, 1e-4f);
    EXPECT_NEAR(transform->m_z, 1.0f, 1e-4f);
}

TEST_F(PhysicsSystemTest, TheTransformRotationIsPushedOnceAndReadBack)
{
    Entity* block = Box("block", float3(0.0f, 0.0f, 0.0f), kBodyStatic);
    auto* transform = block->GetComponent<Transform3D>();
    // A quarter turn about y: local x goes to -z.
    const float half = std::numbers::pi_v<float> / 4.0f;
    transform->m_rotation = Quat(0.0f, std::sin(half), 0.0f, std::cos(half));
    RigidBodyComponent3D* rigid = block->GetRigidBody();
    ExpectVec(rigid->GetForward(), Vec4(0, 0, -1, 0));
    ExpectVec(rigid->GetRight(), Vec4(1, 0, 0, 0));
    ExpectVec(rigid->GetUp(), Vec4(0, 1, 0, 0));

    system->Update(1.0f / 60.0f);
    ExpectVec(rigid->GetRight(), Vec4(0, 0, -1, 0));
    ExpectVec(rigid->GetForward(), Vec4(-1, 0, 0, 0));
    EXPECT_NEAR(transform->m_rotation.y, std::sin(half), 1e-5f);
    EXPECT_NEAR(transform->m_rotation.w, std::cos(half), 1e-5f);

    // Later rotations come only through the component.
    Mat4 turn; // a quarter turn about z: x goes to y
    turn.m00 = 0.0f;
    turn.m01 = -1.0f;
    turn.m10 = 1.0f;
    turn.m11 = 0.0f;
    rigid->SetRotation(turn);
    system->Update(1.0f / 60.0f);
    ExpectVec(rigid->GetRight(), Vec4(0, 1, 0, 0));
    EXPECT_NEAR(transform->m_rotation.z, std::sin(half), 1e-5f);
}

TEST_F(PhysicsSystemTest, StackedBodiesListEachOtherAsTouching)
{
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    Entity* floor = Box("floor", float3(0.0f, 0.0f, 0.0f), kBodyStatic, float3(5.0f, 1.0f, 5.0f));
    Entity* crate = Box("crate", float3(0.0f, 1.9f, 0.0f));
    Entity* alone = Box("alone", float3(30.0f, 10.0f, 0.0f), kBodyStatic);
    // A frame without a step places them all before any of them meet at the origin.
    system->Update(0.0f);
    for (int i = 0; i < 30; ++i)
        system->Update(1.0f / 60.0f);

    EXPECT_THAT(crate->GetRigidBody()->m_touching, ::testing::ElementsAre(floor->GetRigidBody()));
    EXPECT_THAT(floor->GetRigidBody()->m_touching, ::testing::ElementsAre(crate->GetRigidBody()));
    EXPECT_TRUE(alone->GetRigidBody()->m_touching.empty());
    EXPECT_NEAR(crate->GetComponent<Transform3D>()->m_y, 2.0f, 0.05f) << "it rests on the floor";

    // Moved away, the pair ends and both lists empty.
    crate->GetRigidBody()->SetPosition(Vec4(-30.0f, 10.0f, 0.0f, 1.0f));
    crate->GetRigidBody()->SetHasGravity(false);
    crate->GetRigidBody()->SetLinearVelocity(Vec4());
    for (int i = 0; i < 3; ++i)
        system->Update(1.0f / 60.0f);
    EXPECT_TRUE(crate->GetRigidBody()->m_touching.empty());
    EXPECT_TRUE(floor->GetRigidBody()->m_touching.empty());
}

TEST_F(PhysicsSystemTest, SettersStoreBeforeTheBodyAndForwardAfter)
{
    RigidBodyComponent3D loose;
    EXPECT_TRUE(loose.m_hasGravity);
    EXPECT_EQ(loose.SetType(2), &loose);
    EXPECT_EQ(loose.SetLinearVelocity(Vec4(1, 2, 3, 4)), &loose);
    EXPECT_EQ(loose.GetType(), 2);
    ExpectVec(loose.GetLinearVelocity(), Vec4(1, 2, 3, 4));
    loose.ApplyForceAtPoint(Vec4(1, 0, 0, 0), Vec4()); // no body: nothing

    // Settings made before initialising reach the new body.
    Entity* entity = engine->CreateEntity("mover", "default");
    auto* rigid = new RigidBodyComponent3D;
    rigid->SetLinearVelocity(Vec4(6.0f, 0.0f, 0.0f, 9.0f))->SetHasGravity(false);
    entity->AddComponent(RigidBodyComponent3D::ID, rigid, true);
    ExpectVec(rigid->GetLinearVelocity(), Vec4(6.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(rigid->GetType(), kBodyStatic);

    rigid->SetType(kBodyDynamic);
    EXPECT_EQ(rigid->GetType(), kBodyDynamic);
    entity->AddComponent(BoxProbeComponent::ID, new BoxProbeComponent, true);
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    for (int i = 0; i < 60; ++i)
        system->Update(1.0f / 60.0f);
    // One second at 6 units a second, a little damped, and no fall without gravity.
    const Vec4 moved = rigid->GetPosition();
    EXPECT_GT(moved.x, 5.5f);
    EXPECT_LE(moved.x, 6.0f);
    EXPECT_NEAR(moved.y, 0.0f, 1e-5f);

    // The same setter by name returns the component.
    Function* setType = rigid->GetMeta()->GetMethod("SetType");
    ASSERT_NE(setType, nullptr);
    int fixed = kBodyFixed;
    setType->PushArgument(Variable(rigid, false));
    setType->PushArgument(Variable(&fixed, false));
    std::unique_ptr<Variable> result(setType->Invoke());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Value(), static_cast<void*>(rigid));
    EXPECT_EQ(rigid->GetType(), kBodyFixed);
}

TEST_F(PhysicsSystemTest, WithoutAPhysicsSystemTheComponentStaysInert)
{
    engine->CreateSpace("bare");
    Entity* entity = engine->CreateEntity("ghost", "bare");
    entity->AddComponent<Transform3D>(true);
    auto* rigid = entity->AddComponent<RigidBodyComponent3D>(true);
    EXPECT_EQ(rigid->GetBody(), nullptr);
    EXPECT_EQ(entity->GetRigidBody(), rigid);
    EXPECT_EQ(system->GetRigidBodies().Count(), 0u);
    engine->DestroyEntity("ghost", "bare");
    engine->Update(0.0f);
}

TEST_F(PhysicsSystemTest, TheRigidBodyRecordAnswersIDAndHasASetterPerMember)
{
    Meta* record = MetaRegistry::Instance().Find("RigidBodyComponent3D");
    ASSERT_NE(record, nullptr);
    Variable* id = record->GetStaticMember("ID");
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(*static_cast<std::string*>(id->Value()), "RigidBodyComponent3D");
    for (const char* name : {"m_type", "m_linearVelocity", "m_angularVelocity", "m_allowRotation", "m_hasGravity"}) {
        Member* member = record->GetMember(name);
        ASSERT_NE(member, nullptr) << name;
        EXPECT_NE(member->GetSetter(), nullptr) << name;
    }
    EXPECT_EQ(record->GetMember("m_type")->GetType()->Name(), "int");
    auto* made = static_cast<RigidBodyComponent3D*>(record->GetOps()->New());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetMeta(), record);
    EXPECT_EQ(made->GetBody(), nullptr);
    record->GetOps()->Delete(made);
}

} // namespace
} // namespace quellor::test
