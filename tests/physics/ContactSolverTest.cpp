#include "ContactTestSupport.h"

#include "physics/ContactSolver3D.h"
#include "physics/Island3D.h"
#include "physics/TimeStep3D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quellor {
namespace {

using ZOR::float3;

constexpr float kDt = 1.0f / 60.0f;

bool IsFinite(const float3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// A static floor (top at y = 0) and a ball of radius 0.5 whose lowest point sinks depth into
// it, joined by one hand-made contact at the ball's lowest point; an island holds the ball and
// the contact, as island building would leave them.
struct BallOnFloor {
    explicit BallOnFloor(float depth = 0.0f, std::uint8_t ballType = kBodyDynamic)
    {
        floor = test::BodyWith(world, float3(0, -0.5f, 0), test::BoxDescription(float3(), float3(5, 0.5f, 5)),
                               kBodyStatic, &floorCollider);
        ball = test::BodyWith(world, float3(0, 0.5f - depth, 0), test::SphereDescription(float3(), 0.5f), ballType,
                              &ballCollider);
        for (RigidBody3D* body : {floor, ball}) {
            body->UpdateMassProperties();
            body->UpdateWorldInverseInertia();
        }
        contact = test::NewContact(world, floorCollider, ballCollider,
                                   {{float3(0, 0, 0), float3(0, -depth, 0), float3(0, 1, 0), depth}});
        EXPECT_TRUE(test::Offer(world, contact));
        island.m_gravity = &gravity;
        island.m_bodies.PushBack(ball);
        island.m_contacts.PushBack(contact);
        step.m_dt = kDt;
        step.m_velocityIterations = 12;
        step.m_positionIterations = 12;
        step.m_settings = &world.GetSettings();
    }
    ContactPoint3D& Point() { return *contact->m_points[0]; }
    void SolveVelocity(ContactSolver3D& solver)
    {
        for (int i = 0; i < step.m_velocityIterations; ++i)
            solver.SolveVelocity(step);
    }

    PhysicsWorld3D world;
    float3 gravity;
    Island3D island;
    TimeStep3D step;
    RigidBody3D* floor;
    RigidBody3D* ball;
    Collider3D* floorCollider;
    Collider3D* ballCollider;
    Contact3D* contact;
};

TEST(ContactSolverTest, RestitutionTargetAsksForSeparationOnlyAboveTheOffset)
{
    BallOnFloor scene;
    ASSERT_FLOAT_EQ(scene.contact->m_restitution, 0.4f);
    ContactSolver3D solver(scene.island);

    scene.ball->m_linearVelocity = float3(0, -1.0f, 0);
    solver.PrepareVelocity(scene.step);
    EXPECT_NEAR(scene.Point().m_velocityTarget, -0.25f, 1e-6f);
    test::ExpectNear(scene.Point().m_normalRelativeVelocity, float3(0, -1, 0));

    scene.ball->m_linearVelocity = float3(0, -0.3f, 0);
    solver.PrepareVelocity(scene.step);
    EXPECT_NEAR(scene.Point().m_velocityTarget, 0.0f, 1e-6f);

    // Solving the fast approach leaves the ball leaving at 0.25.
    scene.ball->m_linearVelocity = float3(0, -1.0f, 0);
    solver.PrepareVelocity(scene.step);
    scene.SolveVelocity(solver);
    EXPECT_NEAR(scene.ball->m_linearVelocity.y, 0.25f, 1e-5f);
}

TEST(ContactSolverTest, OnlyPersistedPointsAreWarmStartedFromTheirSavedImpulse)
{
    BallOnFloor scene;
    ContactSolver3D solver(scene.island);
    scene.Point().m_savedNormalImpulse = 2.0f;

    solver.WarmStart(scene.step);
    test::ExpectNear(scene.ball->m_linearVelocity, float3());

    scene.Point().m_persisted = 1;
    solver.WarmStart(scene.step);
    const float expected = 0.95f * 2.0f * scene.ball->m_inverseMass;
    test::ExpectNear(scene.ball->m_linearVelocity, float3(0, expected, 0), 1e-5f);
    test::ExpectNear(scene.ball->m_angularVelocity, float3());
    EXPECT_FLOAT_EQ(scene.Point().m_accumulatedNormalImpulse, 0.95f * 2.0f);
}

// The impulse of a hard landing is warm started into the next step; once the ball rests, the
// velocity iterations must be able to take it back instead of launching the ball.
TEST(ContactSolverTest, WarmStartedImpulseIsTakenBackWhenNotNeeded)
{
    BallOnFloor scene;
    ContactSolver3D solver(scene.island);
    scene.Point().m_persisted = 1;
    scene.Point().m_savedNormalImpulse = 10.0f;
    solver.WarmStart(scene.step);
    EXPECT_GT(scene.ball->m_linearVelocity.y, 1.0f);
    solver.PrepareVelocity(scene.step);
    scene.SolveVelocity(solver);
    EXPECT_NEAR(scene.ball->m_linearVelocity.y, 0.0f, 1e-4f);
    EXPECT_NEAR(scene.Point().m_accumulatedNormalImpulse, 0.0f, 1e-4f);
}

TEST(ContactSolverTest, WarmStartedFrictionStopsSlidingAtMostByTheScaledImpulse)
{
    BallOnFloor scene;
    ContactSolver3D solver(scene.island);
    scene.Point().m_persisted = 1;
    scene.Point().m_savedNormalImpulse = 0.01f;
    scene.ball->m_linearVelocity = float3(3, 0, 0);
    solver.WarmStart(scene.step);
    // The friction impulse is bounded by friction (1) x 0.95 x 0.01 against the sliding.
    const float bound = 0.95f * 0.01f;
    EXPECT_LT(scene.ball->m_linearVelocity.x, 3.0f);
    EXPECT_GE(scene.ball->m_linearVelocity.x, 3.0f - 1.01f * bound * scene.ball->m_inverseMass);
}

TEST(ContactSolverTest, FrictionZeroLeavesBothFrictionImpulsesAtZero)
{
    BallOnFloor scene(0.02f);
    scene.contact->m_friction = 0.0f;
    ContactSolver3D solver(scene.island);
    scene.ball->m_linearVelocity = float3(2, -1, 1);
    solver.PrepareVelocity(scene.step);
    scene.SolveVelocity(solver);
    EXPECT_GT(scene.Point().m_accumulatedNormalImpulse, 0.0f);
    EXPECT_EQ(scene.Point().m_accumulatedFriction1, 0.0f);
    EXPECT_EQ(scene.Point().m_accumulatedFriction2, 0.0f);
    EXPECT_FLOAT_EQ(scene.ball->m_linearVelocity.x, 2.0f);
    EXPECT_FLOAT_EQ(scene.ball->m_linearVelocity.z, 1.0f);

    // With friction the same sliding is slowed.
    scene.contact->m_friction = 1.0f;
    scene.ball->m_linearVelocity = float3(2, -1, 1);
    solver.PrepareVelocity(scene.step);
    scene.SolveVelocity(solver);
    EXPECT_NE(scene.Point().m_accumulatedFriction1, 0.0f);
    EXPECT_LT(scene.ball->m_linearVelocity.x, 2.0f);

    solver.StoreImpulses();
    EXPECT_GT(scene.Point().m_savedNormalImpulse, 0.0f);
    EXPECT_EQ(scene.Point().m_accumulatedNormalImpulse, 0.0f);
    test::ExpectNear(scene.Point().m_normalImpulse, float3(0, scene.Point().m_savedNormalImpulse, 0));
}


// The target is a velocity: the restitution term plus the bias. The point's penetration must not
// leak into it through the direction of the bodies' (possibly vanishing) relative motion, or a
// resting body is pushed up and down by turns as its tiny vertical speed changes sign.
TEST(ContactSolverTest, VelocityTargetIgnoresTheDirectionOfTheBodiesMotion)
{
    for (float depth : {0.01f, 0.015f, 0.02f, 0.03f}) {
        const float bias = -std::max(0.0f, depth - 0.015f) * 0.2f * 60.0f;
        for (const float3& velocity : {float3(0, 1e-6f, 0), float3(0, -1e-6f, 0), float3(1, 0, 0),
                                       float3(0, 0, -1), float3(0.2f, 0.1f, 0)}) {
            BallOnFloor scene(depth);
            scene.ball->m_linearVelocity = velocity;
            ContactSolver3D solver(scene.island);
            solver.PrepareVelocity(scene.step);
            EXPECT_NEAR(scene.Point().m_velocityTarget, bias, 1e-5f)
                << depth << " (" << velocity.x << " " << velocity.y << " " << velocity.z << ")";
        }
    }
}

// Within the position slop a point is left alone, beyond it a tenth of the rest is corrected,
// and one iteration moves a point at most half a unit. (The velocity slop is checked with the
// velocity target above.)
TEST(ContactSolverTest, PositionPassCorrectsBeyondTheSlopAtMostHalfAUnitAtATime)
{
    for (float depth : {0.035f, 0.05f, 20.0f}) {
        BallOnFloor scene(depth);
        ContactSolver3D solver(scene.island);
        const float before = scene.ball->m_position.y;
        solver.SolvePosition(scene.step);
        const float expected = std::min((depth - 0.035f) * 0.1f, 0.5f);
        EXPECT_NEAR(scene.ball->m_position.y - before, expected, 1e-4f) << depth;
        if (depth <= 0.035f) {
            EXPECT_EQ(scene.ball->m_position.y, before);
        }
    }
    BallOnFloor deep(20.0f);
    ContactSolver3D solver(deep.island);
    const float before = deep.ball->m_position.y;
    solver.SolvePosition(deep.step);
    solver.SolvePosition(deep.step);
    EXPECT_NEAR(deep.ball->m_position.y - before, 1.0f, 1e-4f);
}

// A body that may not rotate is only pushed by the position pass, never turned.
TEST(ContactSolverTest, PositionPassTurnsOnlyBodiesThatMayRotate)
{
    for (bool allowRotation : {true, false}) {
        BallOnFloor scene;
        scene.ball->m_shapeFlags = static_cast<std::uint8_t>(allowRotation ? kShapeAllowRotation : 0);
        // A deep point off to the side of the ball's centre.
        ContactPoint3D& p = scene.Point();
        p.m_localPointB = float3(0.4f, -0.6f, 0);
        p.m_localPointA = float3(0.4f, 0.5f, 0);
        ContactSolver3D solver(scene.island);
        solver.SolvePosition(scene.step);
        EXPECT_GT(scene.ball->m_position.y, 0.5f);
        const bool turned = scene.ball->m_rotation.m[1] != 0.0f || scene.ball->m_rotation.m[3] != 0.0f;
        EXPECT_EQ(turned, allowRotation);
    }
}

// Damping scales the velocities (0.5 halves them); forces and impulses are spent once and cleared.
TEST(ContactSolverTest, OnlyDynamicBodiesAreAcceleratedAndDampedAndForcesAreSpentOnce)
{
    for (std::uint8_t type : {kBodyStatic, kBodyFixed, kBodyDynamic}) {
        BallOnFloor scene(0.0f, type);
        scene.gravity = float3(0, -10, 0);
        scene.island.m_linearDamping = 0.5f;
        scene.island.m_angularDamping = 0.5f;
        scene.ball->m_linearVelocity = float3(1, 0, 0);
        scene.ball->m_angularVelocity = float3(0, 1, 0);
        ContactSolver3D solver(scene.island);
        solver.IntegrateVelocities(scene.step);
        if (type == kBodyDynamic) {
            test::ExpectNear(scene.ball->m_linearVelocity, float3(0.5f, -5.0f / 60.0f, 0));
            test::ExpectNear(scene.ball->m_angularVelocity, float3(0, 0.5f, 0));
        } else {
            EXPECT_EQ(scene.ball->m_linearVelocity, float3(1, 0, 0)) << int(type);
            EXPECT_EQ(scene.ball->m_angularVelocity, float3(0, 1, 0)) << int(type);
        }
    }

    BallOnFloor scene;
    scene.island.m_linearDamping = 1.0f;
    scene.ball->m_force = float3(60, 0, 0);
    scene.ball->m_linearImpulse = float3(0, 0, 2);
    ContactSolver3D solver(scene.island);
    solver.IntegrateVelocities(scene.step);
    const float m = scene.ball->m_inverseMass;
    test::ExpectNear(scene.ball->m_linearVelocity, float3(m, 0, 2 * m));
    EXPECT_EQ(scene.ball->m_force, float3());
    EXPECT_EQ(scene.ball->m_linearImpulse, float3());
}

TEST(ContactSolverTest, EffectiveMassIsZeroWhenNothingCanMove)
{
    EXPECT_FLOAT_EQ(EffectiveMass3D(4.0f), 0.25f);
    EXPECT_EQ(EffectiveMass3D(0.0f), 0.0f);
    EXPECT_EQ(EffectiveMass3D(1e-13f), 0.0f);
    EXPECT_EQ(EffectiveMass3D(-1.0f), 0.0f);
    EXPECT_EQ(EffectiveMass3D(std::nanf("")), 0.0f);
    EXPECT_EQ(EffectiveMass3D(INFINITY), 0.0f);
}

// Two fixed bodies, or a fixed body and a static one, have no inverse mass between them; the
// solver must neither divide by it nor move them.
TEST(ContactSolverTest, FixedBodiesInContactStayFiniteAndUnmoved)
{
    for (std::uint8_t otherType : {kBodyFixed, kBodyStatic}) {
        PhysicsWorld3D world;
        world.SetGravity(float3(0, -10, 0));
        RigidBody3D* other = test::BodyWith(world, float3(0, 0, 0),
                                            test::BoxDescription(float3(), float3(1, 1, 1)), otherType);
        RigidBody3D* player = test::BodyWith(world, float3(0.3f, 1.2f, 0.1f),
                                             test::BoxDescription(float3(), float3(0.5f, 0.5f, 0.5f)), kBodyFixed);
        player->SetLinearVelocity(float3(0.5f, 0, 0)); // walking into it
        const float3 otherStart = other->m_position;
        for (int i = 0; i < 100; ++i) {
            world.Step(kDt, 12, 12);
            ASSERT_TRUE(IsFinite(player->m_position)) << i;
            ASSERT_TRUE(IsFinite(player->m_linearVelocity)) << i;
            ASSERT_TRUE(IsFinite(player->m_angularVelocity)) << i;
            ASSERT_TRUE(IsFinite(other->m_linearVelocity)) << i;
        }
        ASSERT_FALSE(world.GetContactManager().GetContacts().Empty());
        EXPECT_EQ(player->m_position, float3(0.3f, 1.2f, 0.1f));
        EXPECT_EQ(player->m_linearVelocity, float3(0.5f, 0, 0));
        EXPECT_EQ(other->m_position, otherStart);
    }
}

} // namespace
} // namespace quellor
