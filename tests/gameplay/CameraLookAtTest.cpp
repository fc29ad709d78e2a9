// The look-at camera: its shared orbit around the target, turned by the arrows and pad 0's
// right stick and zoomed by Q and E, with screen 0's camera placed on it looking at the target.
#include "engine/Input.h"
#include "gameplay/cameras/CameraLookAtComponent.h"
#include "platform/ScriptedInputSource.h"
#include "gameplay/GameLogicSystem.h"
#include "tests/engine/graphics/GraphicsTestKit.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/gameplay/GameWorld.h"

#include <cmath>
#include <memory>

namespace quellor::test {
namespace {

using platform::PadAxis;

constexpr int kLeft = 37, kUp = 38, kRight = 39, kQ = 81, kE = 69;

class CameraLookAtTest : public GraphicsTest {
protected:
    void SetUp() override
    {
        GraphicsTest::SetUp();
        CameraLookAtComponent::ResetSharedView();
        source = std::make_shared<platform::ScriptedInputSource>();
        input = static_cast<Input*>(engine->AddSystem("Input", new Input(source), "default"));
        target = Placed("target", 5.0f, 1.0f, -2.0f);
        lookAt = LookAtComponent("viewer");
    }
    void TearDown() override
    {
        GraphicsTest::TearDown();
        CameraLookAtComponent::ResetSharedView();
    }

    CameraLookAtComponent* LookAtComponent(const std::string& name)
    {
        auto* component = Placed(name)->AddComponent<CameraLookAtComponent>(true);
        component->SetTarget(target);
        return component;
    }

    // Polls the input, then updates the given components once each.
    void Frame(std::initializer_list<CameraLookAtComponent*> components, float dt = 0.1f)
    {
        input->Update(dt);
        for (CameraLookAtComponent* component : components)
            component->Update(dt);
    }
    void Frame(float dt = 0.1f) { Frame({lookAt}, dt); }

    ZOR::Camera& Camera() { return graphics->GetActiveCamera(0); }
    ZOR::float3 Eye() { return Camera().GetPosition(); }
    // The view direction: the view matrix's third row, negated.
    ZOR::float3 Forward()
    {
        const float* v = Camera().GetViewMatrix().m;
        return ZOR::float3(-v[8], -v[9], -v[10]);
    }
    // Whether the camera looks straight at the target from where it stands.
    void ExpectLooksAtTarget()
    {
        const ZOR::float3 toTarget = (ZOR::float3(5.0f, 1.0f, -2.0f) - Eye()).Normalized();
        const ZOR::float3 forward = Forward();
        EXPECT_NEAR(forward.x, toTarget.x, 1e-4f);
        EXPECT_NEAR(forward.y, toTarget.y, 1e-4f);
        EXPECT_NEAR(forward.z, toTarget.z, 1e-4f);
    }

    std::shared_ptr<platform::ScriptedInputSource> source;
    Input* input = nullptr;
    Entity* target = nullptr;
    CameraLookAtComponent* lookAt = nullptr;
};

TEST_F(CameraLookAtTest, TheFirstFramePlacesTheCameraAboveAndBehindTheTargetLookingAtIt)
{
    Frame();
    const ZOR::float3 eye = Eye();
    // About (0, 23.7, -18.4) from the target.
    EXPECT_NEAR(eye.x - 5.0f, std::sin(3.14159f) * 30.0f * std::cos(0.91f), 1e-4f);
    EXPECT_NEAR(eye.y - 1.0f, std::sin(0.91f) * 30.0f, 1e-4f);
    EXPECT_NEAR(eye.z + 2.0f, std::cos(3.14159f) * 30.0f * std::cos(0.91f), 1e-4f);
    EXPECT_NEAR(eye.y - 1.0f, 23.7f, 0.05f);
    EXPECT_NEAR(eye.z + 2.0f, -18.4f, 0.05f);
    ExpectLooksAtTarget();
    // The offset itself goes into the component's own entity.
    const Transform3D* own = engine->GetEntity("viewer", "default")->GetComponent<Transform3D>();
    EXPECT_NEAR(own->m_y, 30.0f * std::sin(0.91f), 1e-4f);
    EXPECT_NEAR(own->m_z, std::cos(3.14159f) * 30.0f * std::cos(0.91f), 1e-4f);
}

TEST_F(CameraLookAtTest, HoldingUpStopsAtTheTopOfThePitch)
{
    source->SetKey(kUp, true);
    for (int frame = 0; frame < 100; ++frame)
        Frame();
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetPitch(), 1.2566371f);
    EXPECT_GT(Eye().y - 1.0f, 0.0f);
    ExpectLooksAtTarget();
}

TEST_F(CameraLookAtTest, HoldingQPastZeroPutsTheCameraOnTheOtherSideStillLookingAtTheTarget)
{
    Frame();
    const float zBefore = Eye().z + 2.0f;
    source->SetKey(kQ, true);
    for (int frame = 0; frame < 310; ++frame)
        Frame(0.0f); // the zoom does not follow the frame time
    EXPECT_NEAR(CameraLookAtComponent::GetRadius(), 30.0f - 310 * 0.1f, 1e-3f);
    EXPECT_LT(zBefore, 0.0f);
    EXPECT_GT(Eye().z + 2.0f, 0.0f);
    EXPECT_LT(Eye().y - 1.0f, 0.0f);
    ExpectLooksAtTarget();

    // E takes it back out.
    source->SetKey(kQ, false);
    source->SetKey(kE, true);
    Frame(0.0f);
    EXPECT_NEAR(CameraLookAtComponent::GetRadius(), 30.0f - 309 * 0.1f, 1e-3f);
}

TEST_F(CameraLookAtTest, NearAZeroRadiusTheCameraKeepsItsLastView)
{
    Frame();
    const ZOR::float4x4 view = Camera().GetViewMatrix();
    const ZOR::float3 eye = Eye();
    CameraLookAtComponent::SetSharedView(4e-6f, 3.14159f, 0.91f);
    Frame();
    EXPECT_EQ(Eye().x, eye.x);
    EXPECT_EQ(Eye().y, eye.y);
    EXPECT_EQ(Eye().z, eye.z);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Camera().GetViewMatrix().m[i], view.m[i]) << i;
    // Just past it the camera moves in again.
    CameraLookAtComponent::SetSharedView(1e-3f, 3.14159f, 0.91f);
    Frame();
    EXPECT_NEAR(Eye().y, 1.0f + std::sin(0.91f) * 1e-3f, 1e-5f);
    ExpectLooksAtTarget();
}

TEST_F(CameraLookAtTest, TwoInstancesShareTheOrbitAndEachAppliesTheInput)
{
    CameraLookAtComponent* second = LookAtComponent("second");
    source->SetKey(kRight, true);
    source->SetKey(kE, true);
    Frame({lookAt, second}, 0.25f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetYaw(), 3.14159f + 0.5f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetRadius(), 30.2f);
    // Both entities carry the same offset.
    const Transform3D* a = engine->GetEntity("viewer", "default")->GetComponent<Transform3D>();
    const Transform3D* b = engine->GetEntity("second", "default")->GetComponent<Transform3D>();
    EXPECT_NE(a->m_x, b->m_x) << "the first wrote before the second turned again";
    Frame({second}, 0.0f);
    EXPECT_NEAR(b->m_x, std::sin(3.64159f) * 30.3f * std::cos(0.91f), 1e-3f);
}

TEST_F(CameraLookAtTest, TheStickTurnsOneAxisAtATimeAtOneRadianPerSecond)
{
    // A full push and a bare one past the dead zone turn alike; x wins over y.
    source->SetPadAxis(0, PadAxis::RightX, -16000);
    source->SetPadAxis(0, PadAxis::RightY, 32767);
    Frame(0.5f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetYaw(), 3.14159f - 0.5f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetPitch(), 0.91f);

    source->SetPadAxis(0, PadAxis::RightX, 0);
    source->SetPadAxis(0, PadAxis::RightY, -32767);
    Frame(0.5f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetYaw(), 3.14159f - 0.5f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetPitch(), 0.41f);

    // The arrow and the stick together still turn once.
    source->SetPadAxis(0, PadAxis::RightY, 0);
    source->SetPadAxis(0, PadAxis::RightX, 32767);
    source->SetKey(kRight, true);
    Frame(0.5f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetYaw(), 3.14159f);
    source->SetPadAxis(0, PadAxis::RightX, 0);
    source->SetKey(kRight, false);
    source->SetKey(kLeft, true);
    Frame(0.5f);
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetYaw(), 3.14159f - 0.5f);
}

TEST_F(CameraLookAtTest, WithoutATargetNothingHappens)
{
    lookAt->SetTarget(nullptr);
    Camera().SetPosition(1.0f, 2.0f, 3.0f);
    source->SetKey(kRight, true);
    Frame();
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetYaw(), 3.14159f);
    EXPECT_EQ(Eye().x, 1.0f);
    EXPECT_EQ(engine->GetEntity("viewer", "default")->GetComponent<Transform3D>()->m_y, 0.0f);

    // A target that goes counts as none.
    lookAt->SetTarget(target);
    target->Destroy();
    engine->Update(0.0f);
    Frame();
    EXPECT_FLOAT_EQ(CameraLookAtComponent::GetYaw(), 3.14159f);
}

// In a game world the game logic runs it in its slot, right after the character motors.
class CameraLookAtInPlay : public tarsel::test::GameWorldTest {
protected:
    void TearDown() override
    {
        GameWorldTest::TearDown();
        CameraLookAtComponent::ResetSharedView();
    }
};

TEST_F(CameraLookAtInPlay, TheGameLogicUpdatesItInItsSlot)
{
    CameraLookAtComponent::ResetSharedView();
    Entity* target = world->Spawn("target", 0.0f, 2.0f, 0.0f);
    auto* lookAt = world->Spawn("viewer", 0.0f, 0.0f, 0.0f)->AddComponent<CameraLookAtComponent>(true);
    EXPECT_TRUE(lookAt->IsInLogicSlot());
    EXPECT_EQ(world->logic->GetSlot(LogicSlot::CameraLookAtComponent).Front(), static_cast<GameLogicMember*>(lookAt));
    lookAt->SetTarget(target);
    world->keys->SetKey(kRight, true);
    // Components run from the game logic's third update on.
    world->Step(3);
    EXPECT_NEAR(CameraLookAtComponent::GetYaw(), 3.14159f + tarsel::test::GameWorld::kDt, 1e-6f);
    EXPECT_NEAR(world->graphics->GetActiveCamera(0).GetPosition().y, 2.0f + 30.0f * std::sin(0.91f), 1e-4f);
    lookAt->GetEntity()->Destroy();
    world->Step();
    EXPECT_TRUE(world->logic->GetSlot(LogicSlot::CameraLookAtComponent).Empty());
}

// A level names the target; the viewer may come before it in the file.
TEST_F(CameraLookAtInPlay, ALevelNamesTheTargetAndAMissingNameWarnsOnce)
{
    CameraLookAtComponent::ResetSharedView();
    world->LoadLevel("look.ql", R"(<?xml version="1.0"?>
<Look>
  <viewer>
    <Components>
      <Transform3D/>
      <CameraLookAtComponent><m_targetName><string value="statue"/></m_targetName></CameraLookAtComponent>
    </Components>
  </viewer>
  <lost>
    <Components>
      <Transform3D/>
      <CameraLookAtComponent><m_targetName><string value="nobody"/></m_targetName></CameraLookAtComponent>
    </Components>
  </lost>
  <statue>
    <Components>
      <Transform3D><m_y><float value="2"/></m_y></Transform3D>
    </Components>
  </statue>
</Look>
)");
    auto* viewer = world->engine->GetEntity("viewer", "default")->GetComponent<CameraLookAtComponent>();
    auto* lost = world->engine->GetEntity("lost", "default")->GetComponent<CameraLookAtComponent>();
    ASSERT_NE(viewer, nullptr);
    ASSERT_NE(lost, nullptr);
    EXPECT_EQ(viewer->m_targetName, "statue");

    tarsel::test::StdoutCapture out;
    world->Step(5);
    EXPECT_EQ(viewer->GetTarget(), world->engine->GetEntity("statue", "default"));
    EXPECT_EQ(lost->GetTarget(), nullptr);
    EXPECT_NEAR(world->graphics->GetActiveCamera(0).GetPosition().y, 2.0f + 30.0f * std::sin(0.91f), 1e-4f);
    const std::string text = out.Text();
    const std::string warning = "no entity \"nobody\"";
    const std::size_t first = text.find(warning);
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find(warning, first + 1), std::string::npos) << text;
    EXPECT_EQ(text.find("\"statue\" to look at"), std::string::npos) << text;
}

} // namespace
} // namespace quellor::test
