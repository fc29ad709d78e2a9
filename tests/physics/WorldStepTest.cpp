#include "ContactTestSupport.h"

#include "physics/ContactManager3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace quellor {
namespace {

using ZOR::float3;

constexpr float kDt = 1.0f / 60.0f;

void StepFor(PhysicsWorld3D& world, int steps)
{
    for (int i = 0; i < steps; ++i)
        world.Step(kDt, 12, 12);
}

ColliderDescription3D FloorBox()
{
    return test::BoxDescription(float3(), float3(5, 0.5f, 5));
}

ColliderDescription3D Ball()
{
    return test::SphereDescription(float3(), 0.5f);
}

TEST(WorldStepTest, EmptyWorldStepsAndBadTimeStepsDoNothing)
{
    PhysicsWorld3D world;
    StepFor(world, 3);
    EXPECT_TRUE(world.GetContactManager().GetContacts().Empty());

    world.SetGravity(float3(0, -10, 0));
    RigidBody3D* ball = test::BodyWith(world, float3(0, 5, 0), Ball());
    ball->SetLinearVelocity(float3(1, 0, 0));
    for (float dt : {0.0f, -kDt, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        world.Step(dt, 12, 12);
    EXPECT_EQ(ball->m_position, float3(0, 5, 0));
    EXPECT_EQ(ball->m_linearVelocity, float3(1, 0, 0));
}

TEST(WorldStepTest, StaticPairsGetNoContactAndSleepingPairsKeepTheirs)
{
    PhysicsWorld3D world;
    test::BodyWith(world, float3(0, 0, 0), FloorBox(), kBodyStatic);
    test::BodyWith(world, float3(0, 0.5f, 0), FloorBox(), kBodyStatic);
    StepFor(world, 2);
    EXPECT_TRUE(world.GetContactManager().GetContacts().Empty());

    // A ball sunk into a static floor, and a second ball touching it.
    RigidBody3D* low = test::BodyWith(world, float3(0, 0.9f, 0), Ball());
    RigidBody3D* high = test::BodyWith(world, float3(0, 1.85f, 0), Ball());
    world.Step(kDt, 12, 12);
    ASSERT_EQ(world.GetContactManager().GetContacts().Count(), 3u);

    // Asleep and moved apart by hand, without waking: their contacts stay untouched.
    low->SetAwake(false);
    high->SetAwake(false);
    std::vector<Contact3D*> before(world.GetContactManager().GetContacts().begin(),
                                   world.GetContactManager().GetContacts().end());
    std::vector<ContactPoint3D*> points;
    for (Contact3D* c : before)
        points.push_back(c->m_points[0]);
    high->m_position = float3(0, 9, 0);
    high->m_worldCenterOfMass = high->m_position;
    StepFor(world, 3);
    std::vector<Contact3D*> after(world.GetContactManager().GetContacts().begin(),
                                  world.GetContactManager().GetContacts().end());
    EXPECT_EQ(after, before);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i]->m_pointCount, 1);
        EXPECT_EQ(before[i]->m_points[0], points[i]);
    }
    EXPECT_FALSE(low->IsAwake());
    EXPECT_FALSE(high->IsAwake());
}

TEST(WorldStepTest, LoneRestingBodySleepsWhenItsSleepTimeReachesTwoSecondsWithoutMovingInThatStep)
{
    PhysicsWorld3D world;
    RigidBody3D* ball = test::BodyWith(world, float3(), Ball());
    ball->SetLinearVelocity(float3(0.2f, 0, 0)); // below the tolerance of 0.25
    int steps = 0;
    float3 before;
    while (ball->IsAwake() && steps < 1000) {
        before = ball->m_position;
        world.Step(kDt, 12, 12);
        ++steps;
    }
    ASSERT_FALSE(ball->IsAwake());
    EXPECT_GE(ball->m_sleepTime, 2.0f);
    EXPECT_LT(ball->m_sleepTime - kDt, 2.0f);
    EXPECT_NEAR(steps, 120, 1);
    EXPECT_EQ(ball->m_position, before);
    EXPECT_GT(ball->m_position.x, 0.0f);

    // Asleep it stays where it is, bit for bit.
    StepFor(world, 10);
    EXPECT_EQ(std::memcmp(&ball->m_position, &before, sizeof before), 0);

    // A body too fast never gathers sleep time.
    PhysicsWorld3D other;
    RigidBody3D* fast = test::BodyWith(other, float3(), Ball());
    fast->SetLinearVelocity(float3(0.3f, 0, 0));
    StepFor(other, 200);
    EXPECT_TRUE(fast->IsAwake());
    EXPECT_EQ(fast->m_sleepTime, 0.0f);
}

TEST(WorldStepTest, FallerWakesASleeperInTheFirstStepTheyTouch)
{
    PhysicsWorld3D world;
    RigidBody3D* sleeper = test::BodyWith(world, float3(0, 0, 0), Ball());
    sleeper->SetAwake(false);
    RigidBody3D* faller = test::BodyWith(world, float3(0, 1.2f, 0), Ball());
    faller->SetLinearVelocity(float3(0, -3, 0));
    int steps = 0;
    while (world.GetContactManager().GetContacts().Empty() && steps < 100) {
        world.Step(kDt, 12, 12);
        ++steps;
        if (world.GetContactManager().GetContacts().Empty()) {
            EXPECT_FALSE(sleeper->IsAwake()) << steps;
        }
    }
    ASSERT_FALSE(world.GetContactManager().GetContacts().Empty());
    EXPECT_TRUE(sleeper->IsAwake());
    EXPECT_LT(sleeper->m_linearVelocity.y, 0.0f); // pushed in that same step
}

TEST(WorldStepTest, BodiesThatOnlyShareAStaticFloorFormSeparateIslands)
{
    for (bool touching : {false, true}) {
        PhysicsWorld3D world;
        test::BodyWith(world, float3(0, -0.5f, 0), FloorBox(), kBodyStatic);
        RigidBody3D* moving = test::BodyWith(world, float3(0, 0.5f, 0), Ball());
        RigidBody3D* resting = test::BodyWith(world, float3(touching ? 1.0f : 3.0f, 0.5f, 0), Ball());
        for (int i = 0; i < 200; ++i) {
            moving->m_angularVelocity = float3(0, 1, 0); // spins in place, never sleeps
            world.Step(kDt, 12, 12);
        }
        EXPECT_TRUE(moving->IsAwake());
        // Alone in its island the resting ball sleeps; touching the spinning one it cannot.
        EXPECT_EQ(resting->IsAwake(), touching) << touching;
    }
}

TEST(WorldStepTest, SensorContactWakesButIsNeverSolved)
{
    PhysicsWorld3D world;
    ColliderDescription3D sensor = test::SphereDescription(float3(), 1.0f);
    sensor.m_sensor = 1;
    RigidBody3D* watcher = test::BodyWith(world, float3(0, 0, 0), sensor);
    watcher->SetAwake(false);
    RigidBody3D* mover = test::BodyWith(world, float3(1.2f, 0, 0), Ball());
    RigidBody3D* twin = test::BodyWith(world, float3(50, 0, 0), Ball()); // the same motion, far away
    mover->SetLinearVelocity(float3(-1, 0, 0));
    twin->SetLinearVelocity(float3(-1, 0, 0));
    world.Step(kDt, 12, 12);
    ASSERT_EQ(world.GetContactManager().GetContacts().Count(), 1u);
    EXPECT_TRUE(watcher->IsAwake());
    StepFor(world, 30);
    EXPECT_EQ(mover->m_linearVelocity, twin->m_linearVelocity);
    EXPECT_EQ(watcher->m_linearVelocity, float3());
    EXPECT_EQ(watcher->m_position, float3());
}

TEST(WorldStepTest, RaysAreCastAlongTheNormalisedDirectionAndBadOnesMiss)
{
    PhysicsWorld3D world;
    Collider3D* target = nullptr;
    test::BodyWith(world, float3(0, 0, -5), Ball(), kBodyStatic, &target);
    world.Step(kDt, 12, 12);

    RayCastResult3D result;
    world.RayCast(result, float3(1, 2, 3), float3(0, 0, 2), 10.0f);
    EXPECT_EQ(result.m_hit, 0);
    EXPECT_EQ(result.m_collider, nullptr);
    test::ExpectNear(result.m_direction, float3(0, 0, 1));
    test::ExpectNear(result.m_origin, float3(1, 2, 3));
    test::ExpectNear(result.m_point, float3(1, 2, 13));

    world.RayCast(result, float3(0, 0, 0), float3(0, 0, -4), 10.0f);
    EXPECT_EQ(result.m_hit, 1);
    EXPECT_EQ(result.m_collider, target);
    EXPECT_NEAR(result.m_fraction, 0.45f, 1e-5f);
    test::ExpectNear(result.m_point, float3(0, 0, -4.5f));
    test::ExpectNear(result.m_normal, float3(0, 0, 1));

    // Bad rays miss without a NaN in the result.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto& [origin, direction] : {std::pair{float3(nan, 0, 0), float3(0, 0, -1)},
                                            std::pair{float3(0, 0, 0), float3(0, inf, -1)},
                                            std::pair{float3(0, 0, 0), float3(nan, nan, nan)}}) {
        result.m_hit = 1;
        world.RayCast(result, origin, direction, 10.0f);
        EXPECT_EQ(result.m_hit, 0);
        EXPECT_EQ(result.m_collider, nullptr);
        for (float v : {result.m_point.x, result.m_point.y, result.m_point.z, result.m_origin.x, result.m_direction.x,
                        result.m_fraction})
            EXPECT_FALSE(std::isnan(v));
    }
    // A zero direction is cast as it is: it ends where it starts.
    world.RayCast(result, float3(1, 1, 1), float3(), 10.0f);
    EXPECT_EQ(result.m_hit, 0);
    test::ExpectNear(result.m_point, float3(1, 1, 1));
}

TEST(WorldStepTest, RaysAreKeptForDrawingOnlyWhileADrawerIsInstalled)
{
    PhysicsWorld3D world;
    test::BodyWith(world, float3(0, 0, -5), Ball(), kBodyStatic);
    world.Step(kDt, 12, 12);
    RayCastResult3D result;
    for (int i = 0; i < 10000; ++i)
        world.RayCast(result, float3(), float3(0, 0, -1), 10.0f);
    EXPECT_TRUE(world.GetDebugRays().empty());

    auto* drawer = new test::RecordingDebugDraw;
    world.SetDebugDraw(drawer);
    world.RayCast(result, float3(), float3(0, 0, -1), 10.0f); // hits
    world.RayCast(result, float3(), float3(0, 0, 1), 10.0f);  // misses
    EXPECT_EQ(world.GetDebugRays().size(), 2u);
    world.DebugDraw();
    EXPECT_TRUE(world.GetDebugRays().empty());

    int green = 0, red = 0, normals = 0;
    for (const auto& line : drawer->lines) {
        if (line.colour == 0xFF00FF00u && line.from == float3())
            ++green;
        if (line.colour == 0xFFFF0000u && line.from == float3()) {
            ++red;
            test::ExpectNear(line.to, float3(0, 0, 10));
        }
        if (line.colour == 0xFF00FFFFu) {
            ++normals;
            test::ExpectNear(line.from, float3(0, 0, -4.5f));
            test::ExpectNear(line.to, float3(0, 0, -4.2f));
        }
    }
    EXPECT_EQ(green, 1);
    EXPECT_EQ(red, 1);
    EXPECT_EQ(normals, 1);

    world.RayCast(result, float3(), float3(0, 0, 1), 10.0f);
    world.SetDebugDraw(nullptr);
    EXPECT_TRUE(world.GetDebugRays().empty());
}

TEST(WorldStepTest, DebugDrawShowsTouchingContactPoints)
{
    PhysicsWorld3D world;
    test::BodyWith(world, float3(0, -0.5f, 0), FloorBox(), kBodyStatic);
    test::BodyWith(world, float3(0, 0.45f, 0), Ball());
    world.Step(kDt, 12, 12);
    auto* drawer = new test::RecordingDebugDraw;
    world.SetDebugDraw(drawer);
    world.DebugDraw();
    int contactLines = 0;
    for (const auto& line : drawer->lines) {
        // Bodies draw their x axes in the same red, across the normal.
        if (line.colour == 0xFFFF0000u && std::fabs(line.to.y - line.from.y) > 0.1f) {
            ++contactLines;
            const float3 d = line.to - line.from;
            EXPECT_NEAR(std::sqrt(d.Dot(d)), 0.2f, 1e-5f);
        }
    }
    EXPECT_EQ(contactLines, 2);
}

} // namespace
} // namespace quellor
