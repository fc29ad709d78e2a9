#include "WorldTestSupport.h"

#include "tests/support/PhysicsScenes3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace quellor {
namespace {

using ZOR::float3;
using ZOR::float3x3;

constexpr float kDt = 1.0f / 60.0f;
const float3 kGravity(0, -10, 0);

void StepFor(PhysicsWorld3D& world, int steps)
{
    for (int i = 0; i < steps; ++i)
        world.Step(kDt, 12, 12);
}

float Length(const float3& v)
{
    return std::sqrt(v.Dot(v));
}

TEST(ScenarioTest, FreeFallFollowsTheIntegratorAndHalfGTSquared)
{
    PhysicsWorld3D world;
    world.SetGravity(kGravity);
    RigidBody3D* faller = test::BodyWith(world, float3(0, 100, 0), test::SphereDescription(float3(), 0.5f));
    RigidBody3D* floating = test::BodyWith(world, float3(5, 100, 0), test::SphereDescription(float3(), 0.5f));
    floating->SetHasGravity(false);
    RigidBody3D* fixed = test::BodyWith(world, float3(10, 100, 0), test::SphereDescription(float3(), 0.5f), kBodyFixed);
    StepFor(world, 60);

    double v = 0.0, x = 0.0;
    for (int i = 0; i < 60; ++i) {
        v = (v + -10.0 * kDt) * (1.0 - 0.025 * kDt);
        x += v * kDt;
    }
    const float fallen = 100.0f - faller->m_position.y;
    EXPECT_NEAR(fallen, -x, 1e-4);
    EXPECT_NEAR(faller->m_linearVelocity.y, v, 1e-4);
    // Semi-implicit Euler runs ahead of the exact fall by about g t dt / 2.
    EXPECT_NEAR(fallen, 5.0f, 10.0f * 1.0f * kDt);
    EXPECT_GT(fallen, 5.0f);

    EXPECT_EQ(floating->m_position, float3(5, 100, 0));
    EXPECT_EQ(fixed->m_position, float3(10, 100, 0));
    EXPECT_EQ(fixed->m_linearVelocity, float3());
}

// Waking by a touch is checked with a lone sleeper in the step tests.
TEST(ScenarioTest, DroppedBoxComesToRestSleepsAndStaysBitForBitUntilWoken)
{
    PhysicsWorld3D world;
    world.SetGravity(kGravity);
    const std::vector<RigidBody3D*> bodies = scenes::BuildScene3D(world, scenes::BoxOnBoxScene(1.0f));
    RigidBody3D* box = bodies[1];

    StepFor(world, 120);
    EXPECT_GT(box->m_position.y, 0.5f - 0.05f);
    EXPECT_LT(box->m_position.y, 0.5f + 0.01f);
    EXPECT_LT(Length(box->m_linearVelocity), 0.05f);

    int steps = 120;
    while (box->IsAwake() && steps < 240) {
        world.Step(kDt, 12, 12);
        ++steps;
    }
    ASSERT_FALSE(box->IsAwake()) << "still awake 4 s after the drop";

    const float3 position = box->m_position;
    const float3x3 rotation = box->m_rotation;
    for (int i = 0; i < 60; ++i) {
        world.Step(kDt, 12, 12);
        ASSERT_EQ(std::memcmp(&box->m_position, &position, sizeof position), 0) << i;
        ASSERT_EQ(std::memcmp(&box->m_rotation, &rotation, sizeof rotation), 0) << i;
    }

    box->SetLinearVelocity(float3(0, 2, 0));
    world.Step(kDt, 12, 12);
    EXPECT_TRUE(box->IsAwake());
    EXPECT_GT(box->m_position.y, position.y);
}

TEST(ScenarioTest, TenBoxStackStandsForTenSeconds)
{
    PhysicsWorld3D world;
    world.SetGravity(kGravity);
    const std::vector<RigidBody3D*> bodies = scenes::BuildScene3D(world, scenes::StackScene(10));
    StepFor(world, 600);
    for (int i = 1; i <= 10; ++i) {
        const RigidBody3D* box = bodies[i];
        // Each contact below may keep up to the linear slop of penetration.
        const float resting = 0.5f + static_cast<float>(i - 1) - 0.015f * static_cast<float>(i);
        EXPECT_NEAR(box->m_position.y, resting, 0.1f) << "box " << i;
        EXPECT_LT(std::hypot(box->m_position.x, box->m_position.z), 0.1f) << "box " << i;
        if (i > 1) {
            EXPECT_GT(box->m_position.y, bodies[i - 1]->m_position.y + 0.9f) << "box " << i;
        }
    }
}

// A resting box must settle instead of being nudged up and down step after step: every box of a
// fifty-box drop falls asleep.
TEST(ScenarioTest, EveryBoxOfADropFallsAsleep)
{
    PhysicsWorld3D world;
    world.SetGravity(kGravity);
    const std::vector<RigidBody3D*> bodies = scenes::BuildScene3D(world, scenes::BoxDropScene(50));
    int steps = 0;
    auto allAsleep = [&] {
        for (std::size_t i = 1; i < bodies.size(); ++i)
            if (bodies[i]->IsAwake())
                return false;
        return true;
    };
    while (!allAsleep() && steps < 600) {
        world.Step(kDt, 12, 12);
        ++steps;
    }
    for (std::size_t i = 1; i < bodies.size(); ++i) {
        EXPECT_FALSE(bodies[i]->IsAwake()) << "box " << i << " still awake after 10 s";
        EXPECT_LT(bodies[i]->m_position.y, 1.0f) << "box " << i;
    }
}

// A box that may not turn rests on a single contact point, which lies a little off its centre;
// the impulse there must not start it sliding. On a quad, a large box and a hull floor, turned
// about y or not, it stays where it settled.
TEST(ScenarioTest, BoxThatMayNotTurnRestsWithoutCreeping)
{
    for (int floor = 0; floor < 3; ++floor) {
        for (float yaw : {0.0f, 0.3f, 1.2f}) {
            PhysicsWorld3D world;
            world.SetGravity(kGravity);
            const float3 half(20, 0.5f, 20);
            const ColliderDescription3D surface =
                floor == 0 ? test::QuadDescription(float3(), half.x, half.z)
                : floor == 1 ? test::BoxDescription(float3(), half)
                             : test::HullDescription(test::BoxHull(float3(), half));
            test::BodyWith(world, float3(0, floor == 0 ? 0.0f : -0.5f, 0), surface, kBodyStatic);
            RigidBody3D* box = world.CreateBody(test::BodyAt(float3(0.3f, 1.0f, -0.2f), test::RotationY(yaw)));
            box->AddCollider(test::BoxDescription(float3(), float3(1, 0.5f, 1)));
            box->SetAllowRotation(false);

            StepFor(world, 60);
            const float3 settled = box->m_position;
            StepFor(world, 180);
            EXPECT_NEAR(box->m_position.y, 0.5f, 0.02f) << floor << " " << yaw;
            EXPECT_LT(std::hypot(box->m_position.x - settled.x, box->m_position.z - settled.z), 1e-3f)
                << floor << " " << yaw;
            EXPECT_LT(std::hypot(box->m_position.x - 0.3f, box->m_position.z + 0.2f), 1e-2f) << floor << " " << yaw;
        }
    }
}

// Height of the ball's centre above its resting height at the top of its first rebound.
float Rebound(float restitution)
{
    PhysicsWorld3D world;
    world.SetGravity(kGravity);
    scenes::Scene3D scene;
    scene.bodies.push_back(scenes::Floor());
    scenes::SceneBody3D ball;
    ball.shape = scenes::SceneShape3D::Sphere;
    ball.position = float3(0, 2.5f, 0);
    scene.bodies.push_back(ball);
    for (scenes::SceneBody3D& body : scene.bodies)
        body.restitution = restitution;
    RigidBody3D* sphere = scenes::BuildScene3D(world, scene)[1];

    bool rising = false;
    float top = -1.0f;
    for (int i = 0; i < 240; ++i) {
        world.Step(kDt, 12, 12);
        if (sphere->m_linearVelocity.y > 0.0f)
            rising = true;
        if (rising)
            top = std::max(top, sphere->m_position.y);
        if (rising && sphere->m_linearVelocity.y < 0.0f)
            break;
    }
    return top - 0.5f;
}

TEST(ScenarioTest, RestitutionBouncesAndFrictionHoldsOnARamp)
{
    const float bouncy = Rebound(0.4f);
    const float dead = Rebound(0.0f);
    EXPECT_GT(bouncy, 0.1f);
    EXPECT_GE(bouncy, 2.0f * std::max(dead, 0.0f));

    struct Ramp {
        float degrees;
        float friction;
        bool holds;
    };
    for (const Ramp& ramp : {Ramp{30, 1, true}, Ramp{60, 1, false}, Ramp{30, 0, false}}) {
        PhysicsWorld3D world;
        world.SetGravity(kGravity);
        RigidBody3D* box = scenes::BuildScene3D(world, scenes::RampScene(ramp.degrees, ramp.friction))[1];
        const float3 start = box->m_position;
        StepFor(world, 180);
        const float drift = Length(box->m_position - start);
        if (ramp.holds)
            EXPECT_LT(drift, 0.05f) << ramp.degrees;
        else
            EXPECT_GT(drift, 1.0f) << ramp.degrees << " " << ramp.friction;
    }
}

struct BodyState {
    float3 position;
    float3x3 rotation;
    float3 linear;
    float3 angular;
};

std::vector<BodyState> RunDrop()
{
    PhysicsWorld3D world;
    world.SetGravity(kGravity);
    const std::vector<RigidBody3D*> bodies = scenes::BuildScene3D(world, scenes::BoxDropScene(30));
    StepFor(world, 600);
    std::vector<BodyState> states;
    for (const RigidBody3D* body : bodies)
        states.push_back({body->m_position, body->m_rotation, body->m_linearVelocity, body->m_angularVelocity});
    return states;
}

TEST(ScenarioTest, SameSceneTwiceGivesBitIdenticalBodies)
{
    const std::vector<BodyState> first = RunDrop();
    // Unrelated allocations, kept alive, so that the second world's records land elsewhere.
    std::vector<std::unique_ptr<char[]>> clutter;
    for (int i = 1; i < 200; ++i)
        clutter.push_back(std::make_unique<char[]>(static_cast<std::size_t>(i) * 37));
    const std::vector<BodyState> second = RunDrop();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(std::memcmp(&first[i], &second[i], sizeof(BodyState)), 0) << "body " << i;
    // The boxes did fall and land.
    EXPECT_LT(first[1].position.y, 1.0f);
}

} // namespace
} // namespace quellor
