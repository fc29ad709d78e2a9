#include "PhysicsTestSupport.h"

#include <gtest/gtest.h>

namespace quellor {
namespace {

using test::ExpectNear;
using ZOR::float3;

TEST(RigidBody3DTest, ConstructionCopiesTheDescriptionAndWakes)
{
    int component = 0;
    BodyDescription3D description = test::BodyAt(float3(1, 2, 3), test::RotationZ(0.3f));
    description.m_motionType = kBodyFixed;
    description.m_flags = kBodyHasGravity; // rotation not allowed
    description.m_linearVelocity = float3(4, 5, 6);
    description.m_angularVelocity = float3(0, 0, 1);
    description.m_userData = &component;
    const RigidBody3D body(description);

    EXPECT_EQ(body.m_userData, &component);
    EXPECT_EQ(body.m_motionType, kBodyFixed);
    EXPECT_EQ(body.m_shapeFlags, kShapeHasGravity);
    EXPECT_TRUE(body.IsMassClean());
    EXPECT_EQ(body.m_stateFlags, kBodyAwake);
    EXPECT_EQ(body.m_sleepTime, 0.0f);
    ExpectNear(body.m_position, float3(1, 2, 3));
    ExpectNear(body.m_linearVelocity, float3(4, 5, 6));
    ExpectNear(body.m_angularVelocity, float3(0, 0, 1));
    ExpectNear(body.m_rotation, test::RotationZ(0.3f));
    ExpectNear(body.m_inverseRotation, test::RotationZ(-0.3f));
    ExpectNear(body.m_worldInverseInertia, ZOR::float3x3());
    ExpectNear(body.m_unitInertia, ZOR::float3x3(0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(body.m_mass, 0.0f);
    EXPECT_EQ(body.m_inverseMass, 0.0f);
    EXPECT_EQ(body.m_world, nullptr);

    const RigidBody3D plain(BodyDescription3D{});
    EXPECT_EQ(plain.m_shapeFlags, kShapeAllowRotation | kShapeHasGravity);
    EXPECT_EQ(plain.m_motionType, kBodyDynamic);
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
