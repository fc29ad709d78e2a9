#include "WorldTestSupport.h"

#include "physics/PhysicsMath3D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;
using ZOR::float3x3;

class BodyMotionTest : public ::testing::Test {
protected:
    RigidBody3D* Make(std::uint8_t motionType)
    {
        RigidBody3D* body =
            test::BodyWith(world, float3(1, 2, 3), test::SphereDescription(float3(), 1.0f), motionType);
        body->UpdateMassProperties();
        body->m_linearVelocity = float3(1, 0, 0);
        body->m_angularVelocity = float3(0, 0, 2);
        return body;
    }

    PhysicsWorld3D world;
};

TEST_F(BodyMotionTest, DynamicBodyMovesAndTurnsInWorldSpace)
{
    RigidBody3D* body = Make(kBodyDynamic);
    body->SetOrientation(test::QuarterTurnZ());
    body->IntegratePosition(0.5f);
    ExpectNear(body->m_position, float3(1.5f, 2, 3));
    ExpectNear(body->m_rotation, test::RotationZ(1.0f) * test::QuarterTurnZ(), 1e-5f);
    ExpectNear(body->m_inverseRotation, body->m_rotation.Transpose());
}

TEST_F(BodyMotionTest, StaticBodyLosesItsVelocitiesAndFixedBodyKeepsEverything)
{
    RigidBody3D* still = Make(kBodyStatic);
    still->IntegratePosition(0.5f);
    ExpectNear(still->m_linearVelocity, float3());
    ExpectNear(still->m_angularVelocity, float3());
    ExpectNear(still->m_position, float3(1, 2, 3));
    ExpectNear(still->m_rotation, float3x3());

    RigidBody3D* fixed = Make(kBodyFixed);
    fixed->IntegratePosition(0.5f);
    ExpectNear(fixed->m_linearVelocity, float3(1, 0, 0));
    ExpectNear(fixed->m_angularVelocity, float3(0, 0, 2));
    ExpectNear(fixed->m_position, float3(1, 2, 3));
    ExpectNear(fixed->m_rotation, float3x3());
}

TEST_F(BodyMotionTest, LockedRotationZeroesTheAngularVelocity)
{
    RigidBody3D* body = Make(kBodyDynamic);
    body->SetAllowRotation(false);
    body->IntegratePosition(0.5f);
    ExpectNear(body->m_angularVelocity, float3());
    ExpectNear(body->m_rotation, float3x3());
    ExpectNear(body->m_position, float3(1.5f, 2, 3));
}

TEST_F(BodyMotionTest, AngularSpeedAtTheThresholdDoesNotTurn)
{
    RigidBody3D* body = Make(kBodyDynamic);
    const float speed = std::sqrt(0.00001f);
    body->m_angularVelocity = float3(0, 0, speed);
    ASSERT_EQ(physics_math::LengthSquared(body->m_angularVelocity), 0.00001f);
    body->IntegratePosition(1.0f);
    EXPECT_EQ(body->m_rotation.m[1], 0.0f);
    EXPECT_EQ(body->m_rotation.m[3], 0.0f);

    // The next representable speed above it does turn.
    body->m_angularVelocity = float3(0, 0, std::nextafter(speed, 1.0f) * 1.001f);
    body->IntegratePosition(1.0f);
    EXPECT_LT(body->m_rotation.m[1], -1e-3f);
}

TEST_F(BodyMotionTest, ForceAtTheCentreOfMassAddsNoTorque)
{
    RigidBody3D* body = Make(kBodyDynamic);
    body->ApplyForceAtPoint(float3(0, 5, 0), body->m_worldCenterOfMass);
    ExpectNear(body->m_force, float3(0, 5, 0));
    ExpectNear(body->m_torque, float3());

    body->ApplyForceAtPoint(float3(0, 5, 0), body->m_worldCenterOfMass + float3(2, 0, 0));
    ExpectNear(body->m_force, float3(0, 10, 0));
    ExpectNear(body->m_torque, float3(0, 0, 10));
}

TEST_F(BodyMotionTest, SettersWakeAndResetTheSleepTime)
{
    RigidBody3D* body = Make(kBodyDynamic);
    const auto sleepThen = [body](auto&& call) {
        body->m_stateFlags = 0;
        body->m_sleepTime = 1.25f;
        call();
        return body->IsAwake() && body->m_sleepTime == 0.0f;
    };
    EXPECT_TRUE(sleepThen([&] { body->SetLinearVelocity(float3(0, 1, 0)); }));
    EXPECT_TRUE(sleepThen([&] { body->SetAngularVelocity(float3(0, 1, 0)); }));
    EXPECT_TRUE(sleepThen([&] { body->SetAllowRotation(true); }));
    EXPECT_TRUE(sleepThen([&] { body->SetHasGravity(false); }));
    EXPECT_TRUE(sleepThen([&] { body->SetAwake(true); }));
    EXPECT_TRUE(sleepThen([&] { body->ApplyForceAtPoint(float3(1, 0, 0), float3()); }));
    EXPECT_EQ(body->m_shapeFlags & kShapeHasGravity, 0);

    body->m_stateFlags = kBodyAwake;
    body->m_sleepTime = 1.25f;
    body->SetAwake(false);
    EXPECT_FALSE(body->IsAwake());
    EXPECT_EQ(body->m_sleepTime, 1.25f);
}

TEST_F(BodyMotionTest, DebugDrawColoursFollowStateTypeAndSensors)
{
    RigidBody3D* body = Make(kBodyDynamic);
    ColliderDescription3D sensor = test::SphereDescription(float3(0, 3, 0), 0.5f);
    sensor.m_sensor = 1;
    body->AddCollider(sensor);

    test::RecordingDebugDraw awake;
    body->DebugDraw(awake);
    ASSERT_EQ(awake.spheres.size(), 3u);
    EXPECT_EQ(awake.spheres[0].colour, kBodyColourDynamic);
    EXPECT_EQ(awake.spheres[1].colour, kBodyColourSensor);
    EXPECT_EQ(awake.spheres[2].radius, 0.05f);
    ExpectNear(awake.spheres[2].centre, body->m_worldCenterOfMass);
    ASSERT_EQ(awake.lines.size(), 3u);
    EXPECT_EQ(awake.lines[0].colour, 0xFFFF0000u);
    ExpectNear(awake.lines[1].to, body->m_position + float3(0, 0.3f, 0));

    body->SetAwake(false);
    test::RecordingDebugDraw asleep;
    body->DebugDraw(asleep);
    EXPECT_EQ(asleep.spheres[0].colour, kBodyColourAsleep);
    EXPECT_EQ(asleep.spheres[1].colour, kBodyColourAsleep);

    test::RecordingDebugDraw still;
    Make(kBodyStatic)->DebugDraw(still);
    EXPECT_EQ(still.spheres[0].colour, kBodyColourStatic);
}


TEST(RigidBody3DTest, ConstructionTranslatesTheFlagsAndInvertsTheRotation)
{
    BodyDescription3D description = test::BodyAt(float3(1, 2, 3), test::RotationZ(0.3f));
    description.m_flags = kBodyHasGravity; // rotation not allowed
    const RigidBody3D body(description);
    EXPECT_EQ(body.m_shapeFlags, kShapeHasGravity);
    EXPECT_EQ(body.m_stateFlags, kBodyAwake);
    ExpectNear(body.m_inverseRotation, test::RotationZ(-0.3f));
    ExpectNear(body.m_unitInertia, ZOR::float3x3(0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(RigidBody3D(BodyDescription3D{}).m_shapeFlags, kShapeAllowRotation | kShapeHasGravity);
}

TEST(RigidBody3DTest, PoseSettersKeepTheWorldCentreAndInverseInStep)
{
    RigidBody3D body(test::BodyAt(float3()));
    body.m_localCenterOfMass = float3(1, 0, 0);
    body.m_stateFlags = 0;
    body.m_sleepTime = 1.5f;
    body.SetPosition(float3(0, 0, 2));
    ExpectNear(body.m_worldCenterOfMass, float3(1, 0, 2));
    EXPECT_EQ(body.m_stateFlags & kBodyAwake, kBodyAwake);
    EXPECT_EQ(body.m_sleepTime, 0.0f);

    // A turn scaled by 2 comes back as the turn itself.
    const ZOR::float3x3 turn = test::QuarterTurnZ();
    ZOR::float3x3 scaled = turn;
    for (float& v : scaled.m)
        v *= 2.0f;
    body.m_stateFlags = 0;
    body.SetOrientation(scaled);
    ExpectNear(body.m_rotation, turn);
    ExpectNear(body.m_inverseRotation, turn.Transpose());
    ExpectNear(body.m_worldCenterOfMass, float3(0, 1, 2));
    EXPECT_EQ(body.m_stateFlags & kBodyAwake, kBodyAwake);
}

} // namespace
} // namespace quellor
