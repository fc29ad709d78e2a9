// The camera system's path over stand-in nodes: hold and travel windows with strict edges, the
// node's local +X as view direction, the smoothing and the snap, the disabled flag, the list
// rules; and the two placing methods called by name.
#include "engine/reflection/Function.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/Variable.h"
#include "gameplay/cameras/AutomatedCameraComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/MenuCameraComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "tests/engine/graphics/GraphicsTestKit.h"

#include <cmath>
#include <memory>

namespace quellor::test {
namespace {

using Log = std::vector<std::string>;

constexpr float kHalfSqrt2 = 0.70710678f;

void ExpectXYZ(const Vec4& v, float x, float y, float z, float tolerance = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

void ExpectXYZ(const ZOR::float3& v, float x, float y, float z, float tolerance = 1e-5f)
{
    ExpectXYZ(Vec4(v.x, v.y, v.z, 0.0f), x, y, z, tolerance);
}

// A quarter turn about y: the local +X axis points along -z.
const Quat kQuarterTurnY(0.0f, kHalfSqrt2, 0.0f, kHalfSqrt2);

class CameraPathTest : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        cameras = static_cast<CameraSystem*>(engine->AddSystem("CameraSystem", new CameraSystem, "default"));
    }

    // A path node: an entity of "default" with its transform and automated camera, joined.
    AutomatedCameraComponent* Node(const std::string& name, float x, float wait, float travel, int priority = 0,
                                   const Quat& rotation = Quat())
    {
        Entity* entity = Placed(name, x, 0.0f, 0.0f);
        entity->GetComponent<Transform3D>()->m_rotation = rotation;
        auto* node = new AutomatedCameraComponent;
        node->m_waitTime = wait;
        node->m_timeToNextNode = travel;
        node->m_priority = priority;
        entity->AddComponent(AutomatedCameraComponent::ID, node, true);
        return node;
    }

    ZOR::Camera& ScreenCamera() { return graphics->GetActiveCamera(0); }

    CameraSystem* cameras = nullptr;
};

TEST_F(CameraPathTest, OneNodeHoldsForEver)
{
    Node("only", 4.0f, 1.0f, 2.0f, 0, kQuarterTurnY);
    for (float t : {0.0f, 0.5f, 1.5f, 3.0f, 1.0e6f}) {
        SCOPED_TRACE(t);
        ExpectXYZ(cameras->SamplePathPosition(t), 4.0f, 0.0f, 0.0f);
        ExpectXYZ(cameras->SamplePathDirection(t), 0.0f, 0.0f, -1.0f);
    }
    for (int frame = 0; frame < 30; ++frame)
        cameras->Update(0.1f);
    ExpectXYZ(ScreenCamera().GetPosition(), 4.0f, 0.0f, 0.0f);
    // The view looks down its own -z: the third row is the direction negated.
    const float* view = ScreenCamera().GetViewMatrix().m;
    ExpectXYZ(ZOR::float3(-view[8], -view[9], -view[10]), 0.0f, 0.0f, -1.0f);
}

TEST_F(CameraPathTest, HoldsThenTravelsLinearlyAndRestsOnTheLastNode)
{
    Node("a", 0.0f, 1.0f, 2.0f);
    Node("b", 10.0f, 1.0f, 4.0f);
    Node("c", 30.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(0.5f).x, 0.0f);
    // a = (s + w + d - t) / d of the first node, then the second's.
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(1.5f).x, 2.5f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(2.5f).x, 7.5f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(3.5f).x, 10.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(5.0f).x, 15.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(8.5f).x, 30.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(100.0f).x, 30.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(1.5f).w, 1.0f);
}

TEST_F(CameraPathTest, EdgesFallThroughToLaterWindows)
{
    Node("a", 0.0f, 1.0f, 2.0f);
    Node("b", 10.0f, 1.0f, 4.0f);
    Node("c", 30.0f, 1.0f, 0.0f);
    // t = 0 opens no window: the walk ends on the last node.
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(0.0f).x, 30.0f);
    // The end of a's hold is not inside its hold nor its travel; b's hold starts at 3.
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(1.0f).x, 30.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(3.0f).x, 30.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(4.0f).x, 30.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(8.5f).x, 30.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(3.25f).x, 10.0f);
}

TEST_F(CameraPathTest, ZeroTravelJumpsFromHoldToHoldAndTheSmoothingMakesTheMove)
{
    Node("a", 0.0f, 1.1f, 0.0f);
    Node("b", 10.0f, 1.0f, 0.0f);
    Node("c", 20.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(1.05f).x, 0.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(1.15f).x, 10.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(2.05f).x, 10.0f);
    EXPECT_FLOAT_EQ(cameras->SamplePathPosition(2.5f).x, 20.0f);

    // Frame 1 snaps onto the last node (t = 0); the next eight glide toward a's hold.
    const float dt = 0.125f;
    cameras->Update(dt);
    EXPECT_FLOAT_EQ(ScreenCamera().GetPosition().x, 20.0f);
    for (int frame = 0; frame < 8; ++frame)
        cameras->Update(dt);
    const float before = ScreenCamera().GetPosition().x;
    EXPECT_LT(before, 0.01f);
    EXPECT_GT(before, 0.0f);
    // At t = 1.125 the target has jumped to b; the frame covers 5/s × dt of the gap.
    cameras->Update(dt);
    EXPECT_NEAR(ScreenCamera().GetPosition().x, before + (10.0f - before) * 5.0f * dt, 1e-4f);
}

TEST_F(CameraPathTest, TheSnapPlacesTheCameraOnTheLastNodeThenTheSmoothingGlidesAtFivePerSecond)
{
    Node("a", 0.0f, 10.0f, 0.0f);
    // A non-unit rotation: its +X column (0.5, 0, -0.5) is normalised.
    Node("b", 10.0f, 0.0f, 0.0f, 1, Quat(0.0f, 0.5f, 0.0f, 0.5f));
    cameras->Update(0.1f);
    ExpectXYZ(ScreenCamera().GetPosition(), 10.0f, 0.0f, 0.0f);
    ExpectXYZ(cameras->GetCurrentDirection(), kHalfSqrt2, 0.0f, -kHalfSqrt2);
    EXPECT_FLOAT_EQ(cameras->GetCurrentPosition().w, 1.0f);

    cameras->Update(0.1f);
    ExpectXYZ(ScreenCamera().GetPosition(), 5.0f, 0.0f, 0.0f);
    // Halfway between the two unit directions, and not renormalised.
    const Vec4& direction = cameras->GetCurrentDirection();
    ExpectXYZ(direction, (kHalfSqrt2 + 1.0f) * 0.5f, 0.0f, -kHalfSqrt2 * 0.5f);
    EXPECT_LT(std::sqrt(direction.x * direction.x + direction.z * direction.z), 0.99f);
}

TEST_F(CameraPathTest, TheTravelBlendsDirectionsAndNormalisesAfterBlending)
{
    Node("a", 0.0f, 0.0f, 2.0f, 0, kQuarterTurnY); // looks along -z
    Node("b", 10.0f, 5.0f, 0.0f, 1);               // looks along +x
    ExpectXYZ(cameras->SamplePathDirection(1.0f), kHalfSqrt2, 0.0f, -kHalfSqrt2);
    EXPECT_FLOAT_EQ(cameras->SamplePathDirection(1.0f).w, 0.0f);
    ExpectXYZ(cameras->SamplePathDirection(0.5f), 0.31622777f, 0.0f, -0.94868330f);
}

TEST_F(CameraPathTest, DisabledTheNodesAreStillDrawnTheCameraIsLeftAndTheTimeGrows)
{
    AutomatedCameraComponent* drawn = Node("a", 5.0f, 1.0f, 1.0f);
    Node("b", 10.0f, 1.0f, 1.0f);
    drawn->m_debugDraw = true;
    cameras->SetAutomatedCameraDisabled(true);
    ScreenCamera().SetPosition(1.0f, 2.0f, 3.0f);
    ScreenCamera().LookAt(ZOR::float3(0.0f, 0.0f, 1.0f), ZOR::float3(0.0f, 1.0f, 0.0f));
    const ZOR::float4x4 view = ScreenCamera().GetViewMatrix();
    ZOR::DebugDrawer& drawer = graphics->GetDebugDrawer(true);
    drawer.Clear();

    for (int frame = 0; frame < 10; ++frame)
        cameras->Update(0.25f);

    EXPECT_GT(drawer.GetSize(), 0u);
    ExpectXYZ(ScreenCamera().GetPosition(), 1.0f, 2.0f, 3.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ScreenCamera().GetViewMatrix().m[i], view.m[i]) << i;
    EXPECT_FLOAT_EQ(cameras->GetPathTime(), 2.5f);

    // Only the node asking for it draws: a sphere, then the +X vector from its position.
    const std::uint32_t oneFrame = drawer.GetSize() / 10;
    drawn->m_debugDraw = false;
    drawer.Clear();
    cameras->Update(0.25f);
    EXPECT_EQ(drawer.GetSize(), 0u);
    EXPECT_GT(oneFrame, 6u);
}

TEST_F(CameraPathTest, AddingOrRemovingANodeRestartsThePath)
{
    AutomatedCameraComponent* a = Node("a", 0.0f, 1.0f, 1.0f);
    cameras->Update(0.5f);
    cameras->Update(0.5f);
    EXPECT_FLOAT_EQ(cameras->GetPathTime(), 1.0f);
    Node("b", 10.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(cameras->GetPathTime(), 0.0f);
    cameras->Update(0.5f);
    cameras->RemoveAutomatedCamera(a);
    EXPECT_FLOAT_EQ(cameras->GetPathTime(), 0.0f);
    EXPECT_EQ(cameras->GetAutomatedCameras().size(), 1u);
    cameras->Update(0.5f);
    cameras->RemoveAutomatedCamera(a); // no longer listed: the time restarts all the same
    EXPECT_FLOAT_EQ(cameras->GetPathTime(), 0.0f);
    EXPECT_EQ(cameras->GetAutomatedCameras().size(), 1u);

    // A node whose entity goes leaves the list with it.
    engine->GetEntity("b", "default")->Destroy();
    engine->Update(0.0f);
    EXPECT_TRUE(cameras->GetAutomatedCameras().empty());
}

TEST_F(CameraPathTest, NodesSortByPriorityAndEqualPrioritiesKeepTheirOrder)
{
    AutomatedCameraComponent* a = Node("a", 0.0f, 1.0f, 0.0f, 1);
    AutomatedCameraComponent* b = Node("b", 0.0f, 1.0f, 0.0f, 0);
    AutomatedCameraComponent* c = Node("c", 0.0f, 1.0f, 0.0f, 1);
    AutomatedCameraComponent* d = Node("d", 0.0f, 1.0f, 0.0f, 0);
    AutomatedCameraComponent* e = Node("e", 0.0f, 1.0f, 0.0f, -3);
    const std::vector<AutomatedCameraComponent*> expected{e, b, d, a, c};
    EXPECT_EQ(cameras->GetAutomatedCameras(), expected);
}

TEST_F(CameraPathTest, WithoutNodesScreenZeroIsLeftAloneAndTheOtherCamerasUpdateInListOrder)
{
    Log log;
    Spy<MenuCameraComponent> menu1(&log, "menu1"), menu2(&log, "menu2");
    Spy<ThirdPersonCameraComponent> person1(&log, "person1"), person2(&log, "person2");
    cameras->AddMenuCamera(&menu1);
    cameras->AddThirdPersonCamera(&person2);
    cameras->AddMenuCamera(&menu2);
    cameras->AddThirdPersonCamera(&person1);
    ScreenCamera().SetPosition(7.0f, 8.0f, 9.0f);

    cameras->Update(0.5f);
    EXPECT_EQ(log, (Log{"person2", "person1", "menu1", "menu2"}));
    ExpectXYZ(ScreenCamera().GetPosition(), 7.0f, 8.0f, 9.0f);
    EXPECT_FLOAT_EQ(cameras->GetPathTime(), 0.5f);

    // Leaving takes the first equal entry out and keeps the order.
    cameras->RemoveThirdPersonCamera(&person2);
    cameras->RemoveMenuCamera(&menu1);
    log.clear();
    cameras->Update(0.5f);
    EXPECT_EQ(log, (Log{"person1", "menu2"}));
    EXPECT_FLOAT_EQ(cameras->GetPathTime(), 1.0f);
    cameras->RemoveThirdPersonCamera(&person1);
    cameras->RemoveMenuCamera(&menu2);
}

TEST_F(CameraPathTest, MenuCamerasJoinAndLeaveWithTheirEntity)
{
    Entity* scene = Placed("scene");
    auto* menu = scene->AddComponent<MenuCameraComponent>(true);
    EXPECT_EQ(cameras->GetMenuCameras(), std::vector<MenuCameraComponent*>{menu});
    scene->Destroy();
    engine->Update(0.0f);
    EXPECT_TRUE(cameras->GetMenuCameras().empty());
}

// Calls a method of the "CameraSystem" record by name with three floats.
void CallByName(const char* name, CameraSystem& object, float x, float y, float z)
{
    Function* method = CameraSystem::StaticMeta()->GetMethod(name);
    ASSERT_NE(method, nullptr) << name;
    method->PushArgument(Variable(&object, false));
    float values[] = {x, y, z};
    for (float& value : values)
        method->PushArgument(Variable(&value, false));
    std::unique_ptr<Variable> result(method->Invoke());
    EXPECT_EQ(result, nullptr);
}

TEST_F(CameraPathTest, PosAndLookByNameMoveScreenZeroWhateverTheObject)
{
    // Not the system of "default": the methods do not use their object.
    CameraSystem loose;
    const ZOR::float4x4 before = ScreenCamera().GetViewMatrix();
    CallByName("SetCameraPos", loose, 3.0f, 4.0f, 5.0f);
    ExpectXYZ(ScreenCamera().GetPosition(), 3.0f, 4.0f, 5.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ScreenCamera().GetViewMatrix().m[i], before.m[i]) << "the view waits for the look";

    CallByName("SetCameraLook", loose, 0.0f, 0.0f, -2.0f);
    const float* view = ScreenCamera().GetViewMatrix().m;
    ExpectXYZ(ZOR::float3(-view[8], -view[9], -view[10]), 0.0f, 0.0f, -1.0f);
    // The eye is in the translation: the view takes it to the origin.
    EXPECT_NEAR(view[0] * 3.0f + view[1] * 4.0f + view[2] * 5.0f + view[3], 0.0f, 1e-4f);
    EXPECT_NEAR(view[4] * 3.0f + view[5] * 4.0f + view[6] * 5.0f + view[7], 0.0f, 1e-4f);
    EXPECT_NEAR(view[8] * 3.0f + view[9] * 4.0f + view[10] * 5.0f + view[11], 0.0f, 1e-4f);

    // A look along nothing, or a place that is not finite, leaves the camera as it was.
    const ZOR::float4x4 looked = ScreenCamera().GetViewMatrix();
    CallByName("SetCameraLook", loose, 0.0f, 0.0f, 0.0f);
    CallByName("SetCameraPos", loose, NAN, 0.0f, 0.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ScreenCamera().GetViewMatrix().m[i], looked.m[i]) << i;
    ExpectXYZ(ScreenCamera().GetPosition(), 3.0f, 4.0f, 5.0f);
}

} // namespace
} // namespace quellor::test
