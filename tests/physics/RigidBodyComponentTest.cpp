#include "PhysicsSystemTestKit.h"

#include "engine/reflection/Function.h"
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

// x goes to y.
Mat4 QuarterTurnAboutZ()
{
    Mat4 turn;
    turn.m00 = 0.0f;
    turn.m01 = -1.0f;
    turn.m10 = 1.0f;
    turn.m11 = 0.0f;
    return turn;
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
    rigid->SetRotation(QuarterTurnAboutZ());
    system->Update(1.0f / 60.0f);
    ExpectVec(rigid->GetRight(), Vec4(0, 1, 0, 0));
    EXPECT_NEAR(transform->m_rotation.z, std::sin(half), 1e-5f);
}

TEST_F(PhysicsSystemTest, SettersStoreBeforeTheBodyAndForwardAfter)
{
    RigidBodyComponent3D loose;
    loose.ApplyForceAtPoint(Vec4(1, 0, 0, 0), Vec4()); // no body: nothing

    // Settings made before initialising reach the new body.
    Entity* entity = engine->CreateEntity("mover", "default");
    auto* rigid = new RigidBodyComponent3D;
    rigid->SetLinearVelocity(Vec4(6.0f, 0.0f, 0.0f, 9.0f))->SetHasGravity(false);
    entity->AddComponent(RigidBodyComponent3D::ID, rigid, true);
    ExpectVec(rigid->GetLinearVelocity(), Vec4(6.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(rigid->GetType(), kBodyStatic);

    rigid->SetType(kBodyDynamic);
    entity->AddComponent(BoxProbeComponent::ID, new BoxProbeComponent, true);
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    Run(60);
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

TEST_F(PhysicsSystemTest, WithoutABodyThePoseIsTheTransforms)
{
    // A loose component has neither body nor entity: the origin, unturned.
    RigidBodyComponent3D loose;
    ExpectVec(loose.GetPosition(), Vec4(0, 0, 0, 1));
    ExpectVec(loose.GetCenterOfMass(), Vec4(0, 0, 0, 1));
    ExpectVec(loose.GetForward(), Vec4(0, 0, -1, 0));
    loose.SetPosition(Vec4(1, 2, 3, 1)); // nowhere to write: nothing
    loose.SetOrientation(ZOR::float3x3());
    ExpectVec(loose.GetPosition(), Vec4(0, 0, 0, 1));

    // Added but not yet initialised, as before the physics system has made its body.
    Entity* entity = engine->CreateEntity("early", "default");
    auto* transform = entity->AddComponent<Transform3D>(true);
    transform->SetPosition(2.0f, 3.0f, 4.0f);
    const float half = std::numbers::pi_v<float> / 4.0f;
    transform->m_rotation = Quat(0.0f, std::sin(half), 0.0f, std::cos(half)); // x goes to -z
    auto* rigid = new RigidBodyComponent3D;
    rigid->SetType(kBodyStatic);
    entity->AddComponent(RigidBodyComponent3D::ID, rigid, false);
    ASSERT_EQ(rigid->GetBody(), nullptr);

    ExpectVec(rigid->GetPosition(), Vec4(2, 3, 4, 1));
    ExpectVec(rigid->GetCenterOfMass(), Vec4(2, 3, 4, 1));
    ExpectVec(rigid->GetRight(), Vec4(0, 0, -1, 0));
    ExpectVec(rigid->GetUp(), Vec4(0, 1, 0, 0));
    ExpectVec(rigid->GetForward(), Vec4(-1, 0, 0, 0));
    const ZOR::float3x3 orientation = rigid->GetOrientation();
    EXPECT_NEAR(orientation.m[2], 1.0f, 1e-5f); // row 0, column 2: local z goes to +x

    // The setters write the transform, so the body starts where they put it.
    rigid->SetPosition(Vec4(-5.0f, 6.0f, 7.0f, 1.0f));
    EXPECT_FLOAT_EQ(transform->m_x, -5.0f);
    EXPECT_FLOAT_EQ(transform->m_y, 6.0f);
    EXPECT_FLOAT_EQ(transform->m_z, 7.0f);
    rigid->SetRotation(QuarterTurnAboutZ());
    ExpectVec(rigid->GetRight(), Vec4(0, 1, 0, 0));
    EXPECT_NEAR(transform->m_rotation.z, std::sin(half), 1e-5f);
    rigid->SetOrientation(ZOR::float3x3());
    ExpectVec(rigid->GetRight(), Vec4(1, 0, 0, 0));
    EXPECT_NEAR(transform->m_rotation.w, 1.0f, 1e-5f);
    rigid->SetRotation(QuarterTurnAboutZ());

    rigid->Initialize();
    ASSERT_NE(rigid->GetBody(), nullptr);
    system->Update(1.0f / 60.0f);
    ExpectVec(rigid->GetPosition(), Vec4(-5.0f, 6.0f, 7.0f, 1.0f));
    ExpectVec(rigid->GetRight(), Vec4(0, 1, 0, 0));
}

} // namespace
} // namespace quellor::test
