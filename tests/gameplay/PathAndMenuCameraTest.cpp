// The camera path's nodes and the menu camera in a game world: nodes from level data join the
// camera system sorted and restart its path as they come and go, their setters only store, and
// a node draws a sphere of half its scale and its +X view when asked; the menu camera circles
// the origin looking at its entity, turning at its speed in degrees times k a second.
#include "CameraLevels.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/Variable.h"
#include "gameplay/cameras/AutomatedCameraComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/MenuCameraComponent.h"
#include "renderer/Camera.h"
#include "renderer/DebugDrawer.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/gameplay/GameWorld.h"

#include <cmath>
#include <memory>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;
using tarsel::test::GameWorldTest;

constexpr float kK = 0.017453292f;

// Calls a reflected method by name on an object with one argument.
template <class T, class Arg>
void CallByName(T& object, const char* name, Arg value)
{
    Function* method = T::StaticMeta()->GetMethod(name);
    ASSERT_NE(method, nullptr) << name;
    method->PushArgument(Variable(&object, false));
    method->PushArgument(Variable(&value, false));
    std::unique_ptr<Variable> result(method->Invoke());
    EXPECT_EQ(result, nullptr) << name;
}

void ExpectNear(const ZOR::float3& actual, float x, float y, float z, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

// The camera's view direction: the view matrix's third row negated.
ZOR::float3 LookOf(const ZOR::Camera& camera)
{
    const float* view = camera.GetViewMatrix().m;
    return ZOR::float3(-view[8], -view[9], -view[10]);
}

class PathNodeTest : public GameWorldTest {
protected:
    AutomatedCameraComponent* NodeOf(const std::string& name)
    {
        Entity* entity = world->engine->GetEntity(name, "default");
        return entity ? entity->GetComponent<AutomatedCameraComponent>() : nullptr;
    }
};

TEST_F(PathNodeTest, LevelNodesJoinSortedAndEveryArrivalOrDepartureRestartsThePath)
{
    world->LoadLevel("path.ql", camera_levels::kPath);
    AutomatedCameraComponent* early = NodeOf("early");
    AutomatedCameraComponent* late = NodeOf("late");
    ASSERT_NE(early, nullptr);
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(world->cameras->GetAutomatedCameras(), (std::vector<AutomatedCameraComponent*>{early, late}));
    EXPECT_FLOAT_EQ(early->m_timeToNextNode, 2.5f);
    EXPECT_FLOAT_EQ(early->m_waitTime, 1.5f);
    EXPECT_EQ(early->GetPriority(), -1);
    EXPECT_TRUE(early->m_debugDraw);
    EXPECT_FLOAT_EQ(late->m_timeToNextNode, 0.0f);
    EXPECT_FLOAT_EQ(late->m_waitTime, 0.5f);
    EXPECT_EQ(late->m_priority, 5);
    EXPECT_FALSE(late->m_debugDraw);

    world->Step(30);
    EXPECT_GT(world->cameras->GetPathTime(), 0.4f);
    Entity* extra = world->Spawn("extra", 0.0f, 0.0f, 0.0f);
    auto* added = extra->AddComponent<AutomatedCameraComponent>(true);
    EXPECT_EQ(world->cameras->GetPathTime(), 0.0f);
    EXPECT_EQ(world->cameras->GetAutomatedCameras().size(), 3u);
    EXPECT_EQ(world->cameras->GetAutomatedCameras()[1], added) << "priority 0 sorts between -1 and 5";

    world->Step(10);
    EXPECT_GT(world->cameras->GetPathTime(), 0.1f);
    // The node leaves with its entity at the end of the frame, after the cameras moved.
    world->engine->GetEntity("late", "default")->Destroy();
    world->Step();
    EXPECT_EQ(world->cameras->GetPathTime(), 0.0f);
    EXPECT_EQ(world->cameras->GetAutomatedCameras(), (std::vector<AutomatedCameraComponent*>{early, added}));
}

TEST_F(PathNodeTest, TheFourSettersByNameStoreOnly)
{
    world->LoadLevel("path.ql", camera_levels::kPath);
    AutomatedCameraComponent* late = NodeOf("late");
    ASSERT_NE(late, nullptr);
    world->Step(5);
    const float time = world->cameras->GetPathTime();
    const auto order = world->cameras->GetAutomatedCameras();

    CallByName(*late, "SetIsDebugDrawing", true);
    CallByName(*late, "SetPriority", -7);
    CallByName(*late, "SetWaitTime", 3.25f);
    CallByName(*late, "SetTimeToNextNode", 0.75f);
    EXPECT_TRUE(late->m_debugDraw);
    EXPECT_EQ(late->GetPriority(), -7);
    EXPECT_FLOAT_EQ(late->m_waitTime, 3.25f);
    EXPECT_FLOAT_EQ(late->m_timeToNextNode, 0.75f);
    // Neither a re-sort nor a restart: the list learns of a new priority only when a node joins.
    EXPECT_EQ(world->cameras->GetAutomatedCameras(), order);
    EXPECT_EQ(world->cameras->GetPathTime(), time);

    // The setter bindings write the same members.
    const Meta* record = AutomatedCameraComponent::StaticMeta();
    for (const char* member : {"m_debugDraw", "m_priority", "m_waitTime", "m_timeToNextNode"}) {
        ASSERT_NE(record->GetMember(member), nullptr) << member;
        EXPECT_NE(record->GetMember(member)->GetSetter(), nullptr) << member;
    }
}

TEST_F(PathNodeTest, ADrawnNodeIsASphereOfHalfItsScaleAndAVectorAlongItsLocalX)
{
    world->LoadLevel("path.ql", camera_levels::kPath);
    AutomatedCameraComponent* early = NodeOf("early");
    AutomatedCameraComponent* late = NodeOf("late");
    ASSERT_NE(early, nullptr);

    ZOR::DebugDrawer drawer(4096);
    late->DebugDraw(&drawer);
    EXPECT_EQ(drawer.GetSize(), 0u) << "m_debugDraw off draws nothing";
    early->DebugDraw(&drawer);
    const std::uint32_t size = drawer.GetSize();
    ASSERT_GT(size, 6u);
    const ZOR::DebugDrawer::Vertex* vertices = drawer.GetVertices();
    // The sphere: scale 4 halved, around the node at (0, 3, 0).
    for (std::uint32_t i = 0; i + 6 < size; ++i) {
        const ZOR::float4& p = vertices[i].position;
        EXPECT_NEAR(std::sqrt(p.x * p.x + (p.y - 3.0f) * (p.y - 3.0f) + p.z * p.z), 2.0f, 1e-4f) << i;
    }
    // The vector at unit scale: from the node to one unit along the turned +X, which is -z.
    ExpectNear(ZOR::float3(vertices[size - 6].position.x, vertices[size - 6].position.y, vertices[size - 6].position.z),
               0.0f, 3.0f, 0.0f);
    ExpectNear(ZOR::float3(vertices[size - 5].position.x, vertices[size - 5].position.y, vertices[size - 5].position.z),
               0.0f, 3.0f, -1.0f);
    for (std::uint32_t i = 0; i < size; ++i) {
        EXPECT_EQ(vertices[i].color.r, 1.0f);
        EXPECT_EQ(vertices[i].color.g, 1.0f);
        EXPECT_EQ(vertices[i].color.b, 1.0f);
    }

    // The camera system draws every node into the graphics system's depth-tested drawer each
    // frame, and nothing into the one drawn over everything.
    ZOR::DebugDrawer& frameDrawer = world->graphics->GetDebugDrawer(true);
    ZOR::DebugDrawer& overlayDrawer = world->graphics->GetDebugDrawer(false);
    frameDrawer.Clear();
    overlayDrawer.Clear();
    world->cameras->Update(GameWorld::kDt);
    EXPECT_EQ(frameDrawer.GetSize(), size);
    EXPECT_EQ(overlayDrawer.GetSize(), 0u);
    early->m_debugDraw = false;
    frameDrawer.Clear();
    world->cameras->Update(GameWorld::kDt);
    EXPECT_EQ(frameDrawer.GetSize(), 0u);
    EXPECT_EQ(world->cameras->GetAutomatedCameras().size(), 2u) << "an undrawn node still counts";
}

class MenuCameraTest : public GameWorldTest {
protected:
    MenuCameraComponent* Menu(float x, float y, float z)
    {
        Entity* scene = world->Spawn("scene", x, y, z);
        return scene->AddComponent<MenuCameraComponent>(true);
    }
    ZOR::Camera& ScreenCamera() { return world->graphics->GetActiveCamera(0); }
    void Update(MenuCameraComponent& menu, float dt) { menu.Update(dt); }
};

TEST_F(MenuCameraTest, DefaultsFromTheLevelAndCirclingTheOriginLookingAtItsEntity)
{
    world->LoadLevel("menu.ql", camera_levels::kMenuScene);
    Entity* scene = world->engine->GetEntity("scene", "default");
    ASSERT_NE(scene, nullptr);
    auto* menu = scene->GetComponent<MenuCameraComponent>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(world->cameras->GetMenuCameras(), std::vector<MenuCameraComponent*>{menu});
    EXPECT_FALSE(menu->m_rotate);
    EXPECT_FLOAT_EQ(menu->m_rad, 20.0f);

    // Speed 0: a still camera at 90 degrees round and 30 up, looking back at the origin.
    world->Step(20);
    const float c30 = std::cos(30.0f * kK);
    ExpectNear(ScreenCamera().GetPosition(), 20.0f * c30, 10.0f, 0.0f);
    ExpectNear(LookOf(ScreenCamera()), -c30, -0.5f, 0.0f);
    EXPECT_FLOAT_EQ(menu->m_alpha, 90.0f);

    MenuCameraComponent fresh;
    EXPECT_TRUE(fresh.m_rotate);
    EXPECT_EQ(fresh.m_alpha, 0.0f);
    EXPECT_EQ(fresh.m_beta, 45.0f);
    EXPECT_EQ(fresh.m_rad, 10.0f);
    EXPECT_EQ(fresh.m_speed, 10.0f);
}

TEST_F(MenuCameraTest, TheCircleIsCentredOnTheOriginNotOnTheEntity)
{
    MenuCameraComponent* menu = Menu(5.0f, 0.0f, 0.0f);
    menu->m_beta = 90.0f;
    menu->m_rad = 7.0f;
    menu->m_speed = 0.0f;
    Update(*menu, 0.5f);
    ExpectNear(ScreenCamera().GetPosition(), 0.0f, 7.0f, 0.0f);
    // Toward the entity, off the circle's centre.
    const float length = std::sqrt(25.0f + 49.0f);
    ExpectNear(LookOf(ScreenCamera()), 5.0f / length, -7.0f / length, 0.0f);
}

TEST_F(MenuCameraTest, TheAngleAdvancesBySpeedTimesKDegreesASecondWhateverTheRotateFlag)
{
    MenuCameraComponent* menu = Menu(0.0f, 0.0f, 0.0f);
    menu->m_rotate = false;
    menu->m_speed = 12.0f;
    const float dt = 1.0f / 64.0f;
    // The first update places the camera at the angle it had, then turns it.
    Update(*menu, dt);
    const float s45 = std::sin(45.0f * kK) * 10.0f;
    ExpectNear(ScreenCamera().GetPosition(), 0.0f, s45, s45);
    ExpectNear(LookOf(ScreenCamera()), 0.0f, -std::sqrt(0.5f), -std::sqrt(0.5f));
    for (int frame = 1; frame < 128; ++frame)
        Update(*menu, dt);
    EXPECT_NEAR(menu->m_alpha, 12.0f * kK * 2.0f, 1e-5f);
    // Still looking along -O, toward the entity at the origin.
    const ZOR::float3 eye = ScreenCamera().GetPosition();
    const float length = std::sqrt(eye.x * eye.x + eye.y * eye.y + eye.z * eye.z);
    ExpectNear(LookOf(ScreenCamera()), -eye.x / length, -eye.y / length, -eye.z / length);
}

TEST_F(MenuCameraTest, TheFiveSettersByName)
{
    MenuCameraComponent* menu = Menu(0.0f, 0.0f, 0.0f);
    CallByName(*menu, "SetRotate", false);
    CallByName(*menu, "SetAlpha", 15.0f);
    CallByName(*menu, "SetBeta", -20.0f);
    CallByName(*menu, "SetRadius", 33.0f);
    CallByName(*menu, "SetSpeed", 2.5f);
    EXPECT_FALSE(menu->m_rotate);
    EXPECT_FLOAT_EQ(menu->m_alpha, 15.0f);
    EXPECT_FLOAT_EQ(menu->m_beta, -20.0f);
    EXPECT_FLOAT_EQ(menu->m_rad, 33.0f);
    EXPECT_FLOAT_EQ(menu->m_speed, 2.5f);
    EXPECT_EQ(MenuCameraComponent::StaticMeta()->GetMethod("SetRad"), nullptr);
}

TEST_F(MenuCameraTest, NonFiniteValuesLeaveTheCameraWhereItWasWithOneWarningEach)
{
    // The level loader turns such values away: the members keep their defaults.
    world->LoadLevel("hostile.ql", camera_levels::kHostileCameras);
    Entity* noRadius = world->engine->GetEntity("noRadius", "default");
    ASSERT_NE(noRadius, nullptr);
    EXPECT_EQ(noRadius->GetComponent<MenuCameraComponent>()->m_rad, 10.0f);
    noRadius->Destroy();
    world->engine->GetEntity("spinning", "default")->Destroy();
    world->Step();

    // Data that calls the setters can still hand them in.
    MenuCameraComponent* lost = Menu(0.0f, 0.0f, 0.0f);
    CallByName(*lost, "SetRadius", NAN);
    Entity* spinning = world->Spawn("spinner", 1.0f, 0.0f, 0.0f);
    auto* endless = spinning->AddComponent<MenuCameraComponent>(true);
    CallByName(*endless, "SetAlpha", INFINITY);
    ScreenCamera().SetPosition(1.0f, 2.0f, 3.0f);
    ScreenCamera().LookAt(ZOR::float3(0.0f, 0.0f, -1.0f), ZOR::float3(0.0f, 1.0f, 0.0f));
    const ZOR::float4x4 view = ScreenCamera().GetViewMatrix();
    std::string text;
    {
        tarsel::test::StdoutCapture capture;
        world->Step(5);
        text = capture.Text();
    }
    ExpectNear(ScreenCamera().GetPosition(), 1.0f, 2.0f, 3.0f, 0.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ScreenCamera().GetViewMatrix().m[i], view.m[i]) << i;
    std::size_t warnings = 0;
    for (std::size_t at = text.find("MenuCameraComponent"); at != std::string::npos;
         at = text.find("MenuCameraComponent", at + 1))
        ++warnings;
    EXPECT_EQ(warnings, 2u) << text;
    EXPECT_NE(text.find("\"scene\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"spinner\""), std::string::npos) << text;
}

} // namespace
} // namespace quellor::test
