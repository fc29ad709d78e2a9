#include "PhysicsSystemTestKit.h"

#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Variable.h"
#include "physics/PhysicsWorld3D.h"
#include "renderer/DebugDrawer.h"
#include "tests/support/RecordingRenderContext.h"

#include <memory>
#include <vector>

namespace quellor::test {
namespace {

using ZOR::float3;

TEST_F(PhysicsSystemTest, FixedStepsTakeAtMostTheLimitAndCarryTheRest)
{
    struct Frame {
        float dt;
        unsigned steps;
        float left;
    };
    const Frame frames[] = {{1.0f / 60.0f, 1, 0.0f}, {0.1f, 4, 0.1f - 4.0f / 60.0f}, {0.01f, 0, 0.01f}};
    for (const Frame& frame : frames) {
        system->Initialize(); // a fresh world and an empty accumulator
        system->Update(frame.dt);
        EXPECT_EQ(system->GetStepsLastUpdate(), frame.steps) << frame.dt;
        EXPECT_NEAR(system->GetAccumulator(), frame.left, 1e-5f) << frame.dt;
    }
    // The carried time is owed: a later short frame pays it off at the full rate.
    system->Initialize();
    system->Update(0.1f);
    system->Update(0.0f);
    EXPECT_EQ(system->GetStepsLastUpdate(), 2u);
    EXPECT_NEAR(system->GetAccumulator(), 0.1f - 6.0f / 60.0f, 1e-5f);
}

TEST_F(PhysicsSystemTest, NoStepAllowedMeansNoMotionAndNoDebt)
{
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));
    system->SetMaxStepsPerFrame(0);
    Entity* ball = Box("ball", float3(0.0f, 5.0f, 0.0f));
    for (int i = 0; i < 10; ++i) {
        system->Update(0.1f);
        EXPECT_EQ(system->GetStepsLastUpdate(), 0u);
    }
    EXPECT_EQ(system->GetAccumulator(), 0.0f);
    EXPECT_FLOAT_EQ(ball->GetComponent<Transform3D>()->m_y, 5.0f);
    // Syncing and write-back still run on frames without a step.
    EXPECT_EQ(Probe(ball)->syncs, 10);
}

TEST_F(PhysicsSystemTest, ALongFrameLeavesAtMostTheStepLimitOwed)
{
    // A level load or a stop in a debugger: five seconds in one frame.
    system->Update(5.0f);
    EXPECT_EQ(system->GetStepsLastUpdate(), 4u);
    EXPECT_LE(system->GetAccumulator(), 4.0f / 60.0f + 1e-6f);

    // The debt left is paid within one more frame at the limit; then one step a frame.
    unsigned steps = 0;
    for (int frame = 0; frame < 3; ++frame) {
        system->Update(1.0f / 60.0f);
        EXPECT_LE(system->GetStepsLastUpdate(), 4u);
        steps += system->GetStepsLastUpdate();
    }
    EXPECT_LE(steps, 3u + 4u);
    for (int frame = 0; frame < 20; ++frame) {
        system->Update(1.0f / 60.0f);
        EXPECT_LE(system->GetStepsLastUpdate(), 2u) << "rounding may shift one step by a frame";
        steps += system->GetStepsLastUpdate();
    }
    EXPECT_GE(steps, 3u + 20u - 1u);
    EXPECT_LE(steps, 3u + 20u + 4u);

    // A machine slower than the limit: every frame takes the limit and the debt stays bounded.
    for (int frame = 0; frame < 50; ++frame) {
        system->Update(1.0f / 12.0f);
        EXPECT_EQ(system->GetStepsLastUpdate(), 4u);
        EXPECT_LE(system->GetAccumulator(), 4.0f / 60.0f + 1e-6f);
    }
}

TEST_F(PhysicsSystemTest, GravitySetByNameMakesADynamicBodyFall)
{
    Entity* ball = Box("ball", float3(0.0f, 10.0f, 0.0f));
    system->Update(1.0f / 60.0f);
    const float start = ball->GetComponent<Transform3D>()->m_y;
    Run(30);
    EXPECT_FLOAT_EQ(ball->GetComponent<Transform3D>()->m_y, start) << "no gravity until it is set";

    Function* setGravity = system->GetMeta()->GetMethod("SetGravity");
    ASSERT_NE(setGravity, nullptr);
    Vec4 gravity(0.0f, -10.0f, 0.0f, 0.0f);
    setGravity->PushArgument(Variable(system, false));
    setGravity->PushArgument(Variable(&gravity, false));
    std::unique_ptr<Variable> result(setGravity->Invoke());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Value(), static_cast<void*>(system)) << "SetGravity returns the system";
    EXPECT_FLOAT_EQ(system->m_gravity.y, -10.0f);

    Run(30);
    const float fallen = start - ball->GetComponent<Transform3D>()->m_y;
    // Half a second under 10 m/s²: about 1.25 units, integrated step by step.
    EXPECT_GT(fallen, 1.0f);
    EXPECT_LT(fallen, 1.5f);
}

TEST_F(PhysicsSystemTest, RaysReportTheColliderComponentOrAllZeros)
{
    const PhysicsRayCastResult3D before = system->RayCast(float3(0, 10, 0), float3(0, -1, 0), 100.0f);
    EXPECT_EQ(before.hit, 0);

    Entity* floor = Box("floor", float3(0.0f, 0.0f, 0.0f), kBodyStatic, float3(5.0f, 1.0f, 5.0f));
    Box("sensor", float3(0.0f, 4.0f, 0.0f), kBodyStatic, float3(1.0f, 1.0f, 1.0f), true);
    system->Update(1.0f / 60.0f);
    system->Update(1.0f / 60.0f);

    const PhysicsRayCastResult3D hit = system->RayCast(float3(0, 10, 0), float3(0, -2, 0), 100.0f);
    EXPECT_EQ(hit.hit, 1);
    EXPECT_EQ(hit.collider, Probe(floor)) << "sensors are not hit";
    ExpectNear(hit.point, float3(0.0f, 1.0f, 0.0f), 1e-4f);
    ExpectNear(hit.normal, float3(0.0f, 1.0f, 0.0f), 1e-4f);

    const PhysicsRayCastResult3D miss = system->RayCast(float3(0, 10, 0), float3(0, 1, 0), 100.0f);
    EXPECT_EQ(miss.hit, 0);
    EXPECT_EQ(miss.collider, nullptr);
    ExpectNear(miss.point, float3(0.0f, 0.0f, 0.0f), 0.0f);
    ExpectNear(miss.normal, float3(0.0f, 0.0f, 0.0f), 0.0f);

    const PhysicsRayCastResult3D tooShort = system->RayCast(float3(0, 10, 0), float3(0, -1, 0), 5.0f);
    EXPECT_EQ(tooShort.hit, 0);

    // Without a world every ray misses.
    system->Shutdown();
    EXPECT_EQ(system->RayCast(float3(0, 10, 0), float3(0, -1, 0), 100.0f).hit, 0);
}

TEST_F(PhysicsSystemTest, BoxQueriesAppendEveryOverlappingColliderSensorsIncluded)
{
    Entity* solid = Box("solid", float3(0.0f, 0.0f, 0.0f), kBodyStatic);
    Entity* sensor = Box("sensor", float3(3.0f, 0.0f, 0.0f), kBodyStatic, float3(1, 1, 1), true);
    Box("far", float3(50.0f, 0.0f, 0.0f), kBodyStatic);
    // Placed by the first update, their boxes follow at the next step.
    system->Update(1.0f / 60.0f);
    system->Update(1.0f / 60.0f);

    std::vector<ColliderComponent3D*> out{nullptr};
    system->QueryAABB(Vec4(-2.0f, -2.0f, -2.0f, 0.0f), Vec4(5.0f, 2.0f, 2.0f, 0.0f), out);
    ASSERT_EQ(out.size(), 3u) << "the earlier entry stays";
    EXPECT_EQ(out[0], nullptr);
    const std::vector<ColliderComponent3D*> found(out.begin() + 1, out.end());
    EXPECT_THAT(found, ::testing::UnorderedElementsAre(Probe(solid), Probe(sensor)));

    system->QueryAABB(Vec4(20.0f, 20.0f, 20.0f, 0.0f), Vec4(21.0f, 21.0f, 21.0f, 0.0f), out);
    EXPECT_EQ(out.size(), 3u);
}

TEST_F(PhysicsSystemTest, ComponentsJoinAndLeaveTheListsInOrder)
{
    Entity* a = Box("a", float3(0, 0, 0));
    Entity* b = Box("b", float3(5, 0, 0));
    std::vector<RigidBodyComponent3D*> bodies(system->GetRigidBodies().begin(), system->GetRigidBodies().end());
    EXPECT_EQ(bodies, (std::vector<RigidBodyComponent3D*>{a->GetRigidBody(), b->GetRigidBody()}));
    EXPECT_EQ(system->GetColliders().Count(), 2u);

    engine->DestroyEntity("a", "default");
    engine->Update(0.0f);
    ASSERT_EQ(system->GetRigidBodies().Count(), 1u);
    EXPECT_EQ(system->GetRigidBodies().Front(), b->GetRigidBody());
    EXPECT_EQ(system->GetColliders().Front(), Probe(b));

    // Removing what is not in the list changes nothing.
    RigidBodyComponent3D stray;
    system->RemoveRigidBody(&stray);
    EXPECT_EQ(system->GetRigidBodies().Count(), 1u);
}

// The world frees the bodies when the system shuts down; components that outlive it must not
// reach into the freed world.
TEST_F(PhysicsSystemTest, ComponentsOutlivingTheSystemDropTheirBodies)
{
    Entity* ball = Box("ball", float3(0, 2, 0));
    system->Update(1.0f / 60.0f);
    RigidBodyComponent3D* rigid = ball->GetRigidBody();
    ASSERT_NE(rigid->GetBody(), nullptr);
    engine->DestroyAllSystems("default");
    engine->Update(0.0f);
    EXPECT_EQ(rigid->GetBody(), nullptr);
    rigid->SetLinearVelocity(Vec4(1, 0, 0, 0));
    rigid->ApplyForceAtPoint(Vec4(1, 0, 0, 0), Vec4());
    EXPECT_EQ(rigid->GetLinearVelocity().x, 1.0f);
    engine->DestroyEntity("ball", "default");
    engine->Update(0.0f);
}

TEST_F(PhysicsSystemTest, DebugDrawingNeedsAGraphicsSystemInDefault)
{
    Box("ball", float3(0, 2, 0));
    system->SetDebugDraw(true);
    system->Update(1.0f / 60.0f);
    EXPECT_FALSE(system->IsDebugDrawerInstalled());
    EXPECT_EQ(system->GetWorld()->GetDebugDraw(), nullptr);

    platform::NativeWindow* window = nullptr;
    auto* graphics = new GraphicsSystem(std::make_shared<tarsel::test::RecordingRenderContext>(), window);
    engine->AddSystem("GraphicsSystem", graphics, "default");
    ZOR::DebugDrawer& drawer = graphics->GetDebugDrawer(true);
    drawer.Clear();

    system->Update(1.0f / 60.0f);
    EXPECT_TRUE(system->IsDebugDrawerInstalled());
    EXPECT_GT(drawer.GetSize(), 0u) << "the box is drawn in the update that installs the drawer";

    system->SetDebugDraw(false);
    drawer.Clear();
    system->Update(1.0f / 60.0f);
    EXPECT_FALSE(system->IsDebugDrawerInstalled());
    EXPECT_EQ(system->GetWorld()->GetDebugDraw(), nullptr);
    EXPECT_EQ(drawer.GetSize(), 0u);
}

} // namespace
} // namespace quellor::test
