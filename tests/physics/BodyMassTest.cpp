#include "WorldTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;
using ZOR::float3x3;

float3x3 SphereUnitInertia(float radius)
{
    const float k = 0.4f * radius * radius;
    return float3x3(k, 0, 0, 0, k, 0, 0, 0, k);
}

TEST(BodyMassTest, OneSphereGivesItsMassCentreAndUnitInertia)
{
    PhysicsWorld3D world;
    Collider3D* sphere = nullptr;
    RigidBody3D* body = test::BodyWith(world, float3(5, 0, 0), test::SphereDescription(float3(1, 2, 3), 0.5f, 3.0f),
                                       kBodyDynamic, &sphere);
    ASSERT_NE(sphere, nullptr);
    EXPECT_FALSE(body->IsMassClean());

    body->UpdateMassProperties();
    EXPECT_TRUE(body->IsMassClean());
    EXPECT_NEAR(body->m_mass, sphere->m_mass, 1e-6f);
    EXPECT_NEAR(body->m_inverseMass, 1.0f / sphere->m_mass, 1e-5f);
    ExpectNear(body->m_localCenterOfMass, float3(1, 2, 3));
    ExpectNear(body->m_worldCenterOfMass, float3(6, 2, 3));
    ExpectNear(body->m_unitInertia, SphereUnitInertia(0.5f));
}

TEST(BodyMassTest, SensorAddsNoMassButItsInertiaCounts)
{
    PhysicsWorld3D world;
    Collider3D* solid = nullptr;
    RigidBody3D* body =
        test::BodyWith(world, float3(), test::SphereDescription(float3(0, 0, 0), 1.0f), kBodyDynamic, &solid);
    ColliderDescription3D sensorDescription = test::SphereDescription(float3(0, 2, 0), 1.0f);
    sensorDescription.m_sensor = 1;
    Collider3D* sensor = body->AddCollider(sensorDescription);
    ASSERT_NE(sensor, nullptr);
    sensor->SetMass(2.0f);
    solid->SetMass(4.0f);

    body->UpdateMassProperties();
    EXPECT_FLOAT_EQ(body->m_mass, 4.0f);
    ExpectNear(body->m_localCenterOfMass, float3());
    // (4 I + 2 (I + parallel axis over (0, -2, 0))) / 4, with I = 0.4 E.
    const float k = 0.4f;
    ExpectNear(body->m_unitInertia, float3x3((6 * k + 2 * 4) / 4, 0, 0, 0, 6 * k / 4, 0, 0, 0, (6 * k + 2 * 4) / 4));
}

TEST(BodyMassTest, StaticFixedAndEmptyBodiesHaveNoInverseMassOrInertia)
{
    PhysicsWorld3D world;
    RigidBody3D* fixed = test::BodyWith(world, float3(), test::SphereDescription(float3(), 1.0f), kBodyFixed);
    RigidBody3D* still = test::BodyWith(world, float3(), test::SphereDescription(float3(), 1.0f), kBodyStatic);
    RigidBody3D* empty = world.CreateBody(BodyDescription3D{});
    for (RigidBody3D* body : {fixed, still, empty}) {
        body->UpdateMassProperties();
        body->UpdateWorldInverseInertia();
        EXPECT_EQ(body->m_inverseMass, 0.0f);
        EXPECT_TRUE(std::isinf(body->m_unitInertia.m[0]));
        ExpectNear(body->m_worldInverseInertia, float3x3(0, 0, 0, 0, 0, 0, 0, 0, 0));
    }
    EXPECT_TRUE(std::isinf(fixed->m_mass));
    EXPECT_EQ(empty->m_mass, 0.0f);
}

TEST(BodyMassTest, WorldInverseInertiaFollowsTheRotation)
{
    PhysicsWorld3D world;
    RigidBody3D* body =
        test::BodyWith(world, float3(), test::BoxDescription(float3(), float3(2, 1, 0.5f)), kBodyDynamic);
    body->SetOrientation(test::QuarterTurnZ());
    body->UpdateMassProperties();
    body->UpdateWorldInverseInertia();
    // Turned a quarter about z, the body's x and y moments swap places in the world.
    const float3x3& local = body->m_unitInertia;
    const float3x3& inverse = body->m_worldInverseInertia;
    EXPECT_NEAR(inverse.m[0], 1.0f / (body->m_mass * local.m[4]), 1e-5f);
    EXPECT_NEAR(inverse.m[4], 1.0f / (body->m_mass * local.m[0]), 1e-5f);
    EXPECT_NEAR(inverse.m[8], 1.0f / (body->m_mass * local.m[8]), 1e-5f);
}

// A body that may not turn has no inverse inertia, so contact impulses push it and spend nothing
// on a turn the integration would drop; allowing rotation again brings its inertia back.
TEST(BodyMassTest, LockedRotationHasNoInverseInertia)
{
    PhysicsWorld3D world;
    RigidBody3D* body =
        test::BodyWith(world, float3(), test::BoxDescription(float3(), float3(2, 1, 0.5f)), kBodyDynamic);
    body->UpdateMassProperties();
    body->SetAllowRotation(false);
    body->UpdateWorldInverseInertia();
    ExpectNear(body->m_worldInverseInertia, float3x3(0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_GT(body->m_inverseMass, 0.0f) << "it still moves";

    body->SetAllowRotation(true);
    body->UpdateWorldInverseInertia();
    EXPECT_NEAR(body->m_worldInverseInertia.m[0], 1.0f / (body->m_mass * body->m_unitInertia.m[0]), 1e-5f);
}

TEST(BodyMassTest, SingularInertiaLeavesTheBodyFinite)
{
    // A point mass: a sphere of radius 0 given a mass of 5 has no rotational inertia at all.
    PhysicsWorld3D world;
    Collider3D* point = nullptr;
    RigidBody3D* body =
        test::BodyWith(world, float3(), test::SphereDescription(float3(), 0.0f), kBodyDynamic, &point);
    point->SetMass(5.0f);
    body->UpdateMassProperties();
    body->UpdateWorldInverseInertia();
    for (float v : body->m_worldInverseInertia.m)
        EXPECT_EQ(v, 0.0f);

    // A contact torque turned into angular velocity the way the solver does it.
    body->m_angularVelocity = body->m_worldInverseInertia * float3(3, -2, 1);
    body->m_linearVelocity = float3(1, 0, 0);
    body->IntegratePosition(1.0f / 60.0f);
    for (float v : {body->m_angularVelocity.x, body->m_angularVelocity.y, body->m_angularVelocity.z,
                    body->m_position.x, body->m_position.y, body->m_position.z})
        EXPECT_TRUE(std::isfinite(v));
    for (float v : body->m_rotation.m)
        EXPECT_TRUE(std::isfinite(v));
}

} // namespace
} // namespace quellor
