// The world's broadphase against the plain all-pairs loop: the same pairs in the same order,
// the same ray hits, and whole scenes that run bit for bit alike.
#include "WorldTestSupport.h"

#include "physics/ColliderPair3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/NSquared3D.h"
#include "physics/SweepBroadphase3D.h"
#include "tests/support/PhysicsScenes3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace quellor {
namespace {

using ZOR::float3;
using ZOR::float3x3;
using SerialPairs = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

constexpr float kDt = 1.0f / 60.0f;

std::unique_ptr<PhysicsWorld3D> AllPairsWorld()
{
    return std::make_unique<PhysicsWorld3D>(std::make_unique<NSquared3D>());
}

bool SameBits(const void* a, const void* b, std::size_t size)
{
    return std::memcmp(a, b, size) == 0;
}

// Every body's pose, velocities, sleep state and every contact with its points, in order.
void ExpectSameWorld(PhysicsWorld3D& expected, PhysicsWorld3D& actual, int step)
{
    auto e = expected.GetBodies().begin();
    auto a = actual.GetBodies().begin();
    int index = 0;
    for (; e != expected.GetBodies().end() && a != actual.GetBodies().end(); ++e, ++a, ++index) {
        const RigidBody3D& x = **e;
        const RigidBody3D& y = **a;
        ASSERT_TRUE(SameBits(&x.m_position, &y.m_position, sizeof(float3))) << "body " << index << " step " << step;
        ASSERT_TRUE(SameBits(&x.m_rotation, &y.m_rotation, sizeof(float3x3))) << "body " << index << " step " << step;
        ASSERT_TRUE(SameBits(&x.m_linearVelocity, &y.m_linearVelocity, sizeof(float3))) << "body " << index;
        ASSERT_TRUE(SameBits(&x.m_sleepTime, &y.m_sleepTime, sizeof(float))) << "body " << index << " step " << step;
        ASSERT_EQ(x.IsAwake(), y.IsAwake()) << "body " << index << " step " << step;
    }
    ASSERT_EQ(e == expected.GetBodies().end(), a == actual.GetBodies().end());

    auto ce = expected.GetContactManager().GetContacts().begin();
    auto ca = actual.GetContactManager().GetContacts().begin();
    for (; ce != expected.GetContactManager().GetContacts().end(); ++ce, ++ca) {
        ASSERT_NE(ca, actual.GetContactManager().GetContacts().end()) << "step " << step;
        const Contact3D& x = **ce;
        const Contact3D& y = **ca;
        ASSERT_EQ(x.m_colliderA->m_serial, y.m_colliderA->m_serial) << "step " << step;
        ASSERT_EQ(x.m_colliderB->m_serial, y.m_colliderB->m_serial) << "step " << step;
        ASSERT_EQ(x.m_pointCount, y.m_pointCount) << "step " << step;
        for (int i = 0; i < x.m_pointCount; ++i) {
            ASSERT_TRUE(SameBits(&x.m_points[i]->m_pointA, &y.m_points[i]->m_pointA, sizeof(float3)));
            ASSERT_TRUE(SameBits(&x.m_points[i]->m_normal, &y.m_points[i]->m_normal, sizeof(float3)));
        }
    }
    ASSERT_EQ(ca, actual.GetContactManager().GetContacts().end()) << "step " << step;
}

// Runs the scene 600 steps in both worlds, comparing after every step; move is called before
// each step with the step's number.
template <typename Build, typename Move>
void RunBothAndCompare(const Build& build, const Move& move)
{
    std::unique_ptr<PhysicsWorld3D> reference = AllPairsWorld();
    PhysicsWorld3D world;
    ASSERT_NE(dynamic_cast<SweepBroadphase3D*>(&world.GetBroadphase()), nullptr);
    for (PhysicsWorld3D* w : {reference.get(), &world}) {
        w->SetGravity(float3(0, -10, 0));
        build(*w);
    }
    for (int step = 0; step < 600; ++step) {
        for (PhysicsWorld3D* w : {reference.get(), &world}) {
            move(*w, step);
            w->Step(kDt, 12, 12);
        }
        ExpectSameWorld(*reference, world, step);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(BroadphaseEquivalenceTest, DropAndStackRunBitForBitAsWithTheAllPairsLoop)
{
    for (const scenes::Scene3D& scene : {scenes::BoxDropScene(120), scenes::StackScene(10)}) {
        RunBothAndCompare([&](PhysicsWorld3D& w) { scenes::BuildScene3D(w, scene); },
                          [](PhysicsWorld3D&, int) {});
        if (HasFatalFailure())
            return;
    }
}

// Islands of static hull pieces (one of them a mesh collider, whose own box is empty), players
// of type fixed moved every step with sensors under their feet, sensor pick-ups, and boxes
// and balls falling onto the islands.
void BuildGameScene(PhysicsWorld3D& world)
{
    scenes::SceneRandom3D random(44u);
    for (int island = 0; island < 4; ++island) {
        const float3 at(static_cast<float>(island % 2) * 30.0f, static_cast<float>(island) * 1.5f,
                        static_cast<float>(island / 2) * 30.0f);
        if (island == 0) {
            ColliderDescription3D mesh;
            mesh.m_type = kColliderMesh;
            for (int piece = 0; piece < 16; ++piece)
                mesh.m_hulls.push_back(test::BoxHull(float3(static_cast<float>(piece % 4) * 4.0f - 6.0f, -1.0f,
                                                            static_cast<float>(piece / 4) * 4.0f - 6.0f),
                                                     float3(2.0f, 1.0f, 2.0f)));
            test::BodyWith(world, at, mesh, kBodyStatic);
            continue;
        }
        for (int piece = 0; piece < 16; ++piece) {
            const float3 offset(static_cast<float>(piece % 4) * 4.0f - 6.0f, -1.0f + random.Range(-0.2f, 0.2f),
                                static_cast<float>(piece / 4) * 4.0f - 6.0f);
            test::BodyWith(world, at + offset, test::HullDescription(test::BoxHull(float3(), float3(2.0f, 1.0f, 2.0f))),
                           kBodyStatic);
        }
    }
    for (int i = 0; i < 4; ++i) {
        const float3 at(static_cast<float>(i % 2) * 30.0f, static_cast<float>(i) * 1.5f + 1.0f,
                        static_cast<float>(i / 2) * 30.0f);
        test::BodyWith(world, at, test::BoxDescription(float3(), float3(0.5f, 1.0f, 0.5f)), kBodyFixed);
        ColliderDescription3D feet = test::BoxDescription(float3(), float3(0.4f, 0.1f, 0.4f));
        feet.m_sensor = 1;
        test::BodyWith(world, at - float3(0, 1, 0), feet, kBodyFixed);
        ColliderDescription3D orb = test::SphereDescription(float3(), 0.75f);
        orb.m_sensor = 1;
        test::BodyWith(world, at + float3(3, 1.5f, 3), orb, kBodyStatic);
    }
    for (int i = 0; i < 40; ++i) {
        const float3 at(static_cast<float>(i % 2) * 30.0f + random.Range(-7.0f, 7.0f), 4.0f + random.Range(0.0f, 6.0f),
                        static_cast<float>((i / 2) % 2) * 30.0f + random.Range(-7.0f, 7.0f));
        if (i % 3 == 0)
            test::BodyWith(world, at, test::SphereDescription(float3(), 0.4f));
        else
            test::BodyWith(world, at, test::BoxDescription(float3(), float3(0.4f, 0.3f, 0.5f)));
    }
}

TEST(BroadphaseEquivalenceTest, AGameLikeSceneRunsBitForBitAsWithTheAllPairsLoop)
{
    RunBothAndCompare(BuildGameScene, [](PhysicsWorld3D& world, int step) {
        // The players run in circles, their sensors with them.
        int fixed = 0; // a player, then its feet
        for (RigidBody3D* body : world.GetBodies()) {
            if (body->m_motionType != kBodyFixed)
                continue;
            const bool feet = fixed % 2 == 1;
            const int who = fixed / 2;
            const float angle = 0.05f * static_cast<float>(step) + static_cast<float>(who);
            const float3 at(static_cast<float>(who % 2) * 30.0f + 5.0f * std::cos(angle),
                            static_cast<float>(who) * 1.5f + 1.0f - (feet ? 1.0f : 0.0f),
                            static_cast<float>(who / 2) * 30.0f + 5.0f * std::sin(angle));
            body->SetPosition(at);
            ++fixed;
        }
    });
}

SerialPairs PairsOf(Broadphase3D& broadphase, bool dropStaticPairs)
{
    SerialPairs pairs;
    for (const ColliderPair3D* pair : broadphase.UpdatePairs()) {
        if (dropStaticPairs && pair->m_colliderA->m_body->m_motionType == kBodyStatic &&
            pair->m_colliderB->m_body->m_motionType == kBodyStatic)
            continue;
        pairs.emplace_back(pair->m_colliderA->m_serial, pair->m_colliderB->m_serial);
    }
    return pairs;
}

TEST(BroadphaseEquivalenceTest, PairsComeAsTheAllPairsLoopGivesThemWhateverIsAddedMovedOrRemoved)
{
    std::unique_ptr<PhysicsWorld3D> reference = AllPairsWorld();
    PhysicsWorld3D world;
    std::mt19937 random(4401u);
    std::uniform_real_distribution<float> across(-6.0f, 6.0f), size(0.1f, 2.5f), unit(0.0f, 1.0f);
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    const float kInfinity = std::numeric_limits<float>::infinity();
    std::size_t nonEmpty = 0;
    for (int round = 0; round < 150; ++round) {
        // One random change, made alike in both worlds.
        const float choice = unit(random);
        const std::size_t bodies = world.GetBodies().Count();
        const std::size_t pick = bodies ? static_cast<std::size_t>(unit(random) * static_cast<float>(bodies)) % bodies : 0;
        const float3 at(across(random), across(random) * 0.5f, across(random));
        const float3 half(size(random), size(random), size(random));
        const auto type = static_cast<std::uint8_t>(static_cast<int>(unit(random) * 3.0f) % 3);
        for (PhysicsWorld3D* w : {reference.get(), &world}) {
            auto nth = w->GetBodies().begin();
            for (std::size_t i = 0; i < pick && nth != w->GetBodies().end(); ++i)
                ++nth;
            RigidBody3D* target = nth != w->GetBodies().end() ? *nth : nullptr;
            if (choice < 0.45f || !target)
                test::BodyWith(*w, at, test::BoxDescription(float3(), half), type);
            else if (choice < 0.6f)
                w->DestroyBody(target);
            else if (choice < 0.85f)
                target->SetPosition(at);
            else
                target->m_motionType = type;
        }
        // Boxes refreshed as a step would, then some spoiled: NaN, inverted and unbounded.
        std::size_t index = 0;
        for (PhysicsWorld3D* w : {reference.get(), &world}) {
            index = 0;
            for (RigidBody3D* body : w->GetBodies()) {
                body->UpdateColliderBounds();
                BroadphaseProxy3D& proxy = body->m_colliders.Front()->m_proxy;
                switch ((index++ * 7 + static_cast<std::size_t>(round)) % 23) {
                case 0: proxy.m_min.y = kNaN; break;
                case 1: proxy.m_max.z = kNaN; break;
                case 2: std::swap(proxy.m_min.x, proxy.m_max.x); break;
                case 3: proxy.m_max.x = kInfinity; proxy.m_min.z = -kInfinity; break;
                case 4: proxy.m_min = float3(kInfinity, kInfinity, kInfinity); proxy.m_max = -proxy.m_min; break;
                default: break;
                }
            }
        }
        const SerialPairs expected = PairsOf(reference->GetBroadphase(), true);
        const SerialPairs actual = PairsOf(world.GetBroadphase(), false);
        ASSERT_EQ(actual, expected) << "round " << round;
        nonEmpty += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(nonEmpty, 100u);
    EXPECT_GT(static_cast<SweepBroadphase3D&>(world.GetBroadphase()).GetTreeSize(), 3u);
}

struct RayOutcome {
    RayCastResult3D result;
    std::uint32_t serial;
};

RayOutcome Cast(PhysicsWorld3D& world, const float3& origin, const float3& direction, float distance)
{
    RayOutcome outcome{};
    world.RayCast(outcome.result, origin, direction, distance);
    outcome.serial = outcome.result.m_collider ? outcome.result.m_collider->m_serial : 0;
    return outcome;
}

TEST(BroadphaseEquivalenceTest, RaysHitWhatTheAllPairsLoopHits)
{
    std::unique_ptr<PhysicsWorld3D> reference = AllPairsWorld();
    PhysicsWorld3D world;
    std::vector<std::pair<float3, float3>> staticBoxes; // centre, half size
    scenes::SceneRandom3D random(4402u);
    for (int i = 0; i < 120; ++i) {
        const float3 at(random.Range(-20, 20), random.Range(-3, 3), random.Range(-20, 20));
        const float3 half(random.Range(0.2f, 2.0f), random.Range(0.2f, 2.0f), random.Range(0.2f, 2.0f));
        const int kind = i % 6;
        const bool sensor = i % 11 == 0;
        const float turn = random.Range(0.0f, 1.5f);
        for (PhysicsWorld3D* w : {reference.get(), &world}) {
            ColliderDescription3D description = kind == 5 ? test::SphereDescription(float3(), half.x)
                                                : kind == 4 ? test::HullDescription(test::BoxHull(float3(), half))
                                                            : test::BoxDescription(float3(), half);
            description.m_sensor = sensor ? 1 : 0;
            RigidBody3D* body = test::BodyWith(*w, at, description, kind == 3 ? kBodyDynamic : kBodyStatic);
            if (kind == 2)
                body->SetOrientation(float3x3(std::cos(turn), 0, std::sin(turn), 0, 1, 0, -std::sin(turn), 0, std::cos(turn)));
        }
        if (kind < 2 && !sensor)
            staticBoxes.emplace_back(at, half);
    }
    for (PhysicsWorld3D* w : {reference.get(), &world}) {
        w->SetGravity(float3(0, -10, 0));
        for (int i = 0; i < 5; ++i)
            w->Step(kDt, 12, 12); // the dynamic ones fall and tumble a little
    }
    ASSERT_GT(static_cast<SweepBroadphase3D&>(world.GetBroadphase()).GetTreeSize(), 50u);

    std::vector<std::pair<std::pair<float3, float3>, float>> rays; // origin, direction, distance
    for (int i = 0; i < 2000; ++i) {
        const float3 from(random.Range(-25, 25), random.Range(-6, 8), random.Range(-25, 25));
        float3 d(random.Range(-1, 1), random.Range(-1, 1), random.Range(-1, 1));
        if (i % 4 == 0)
            d = float3(0, -1, 0);
        rays.push_back({{from, d}, random.Range(0.5f, 60.0f)});
    }
    for (const auto& [centre, half] : staticBoxes) {
        const float3 top = centre + half;
        rays.push_back({{centre, float3(1, 0, 0)}, 10.0f});                                // starts inside
        rays.push_back({{float3(top.x, top.y, centre.z - half.z - 3), float3(0, 0, 1)}, 20.0f}); // along an edge
        rays.push_back({{float3(top.x, centre.y, centre.z - 5), float3(0, 0, 1)}, 20.0f});       // along a face
        rays.push_back({{float3(centre.x, top.y + 3, centre.z), float3(0, -1, 0)}, 3.0f});      // ends on the face
        rays.push_back({{float3(centre.x, top.y + 3, centre.z), float3(0, -1, 0)}, 0.0f});      // no length
        rays.push_back({{float3(centre.x, top.y + 3, centre.z), float3()}, 5.0f});              // no direction
    }

    auto castAll = [&](std::size_t count) {
        int hits = 0;
        for (std::size_t i = 0; i < count && i < rays.size(); ++i) {
            const auto& [line, distance] = rays[i];
            const RayOutcome expected = Cast(*reference, line.first, line.second, distance);
            const RayOutcome actual = Cast(world, line.first, line.second, distance);
            EXPECT_EQ(actual.result.m_hit, expected.result.m_hit) << "ray " << i;
            EXPECT_EQ(actual.serial, expected.serial) << "ray " << i;
            EXPECT_TRUE(SameBits(&actual.result.m_fraction, &expected.result.m_fraction, sizeof(float))) << "ray " << i;
            EXPECT_TRUE(SameBits(&actual.result.m_normal, &expected.result.m_normal, sizeof(float3))) << "ray " << i;
            EXPECT_TRUE(SameBits(&actual.result.m_point, &expected.result.m_point, sizeof(float3))) << "ray " << i;
            if (actual.result.m_hit) {
                ++hits;
                EXPECT_FALSE(actual.result.m_collider->m_sensor) << "ray " << i;
            }
            if (HasFailure())
                return hits;
        }
        return hits;
    };
    EXPECT_GT(castAll(rays.size()), 300);

    // Bodies added and removed since the last step count at once.
    for (PhysicsWorld3D* w : {reference.get(), &world}) {
        test::BodyWith(*w, float3(0, 40, 0), test::BoxDescription(float3(), float3(1, 1, 1)), kBodyStatic);
        for (int i = 0; i < 30; ++i)
            w->DestroyBody(w->GetBodies().Front());
    }
    const RayOutcome expected = Cast(*reference, float3(0, 50, 0), float3(0, -1, 0), 20.0f);
    const RayOutcome actual = Cast(world, float3(0, 50, 0), float3(0, -1, 0), 20.0f);
    EXPECT_EQ(actual.serial, expected.serial);
    EXPECT_NE(actual.serial, 0u);
    EXPECT_GT(castAll(500), 50);
}

} // namespace
} // namespace quellor
