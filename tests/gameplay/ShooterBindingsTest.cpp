// Which input moves, turns and jumps whom: keyboard and mouse against pads, controller ids,
// dead zones, look inversion and its clamp, jumping, footsteps, facing and hostile values.
#include "ShooterTestKit.h"

#include "tests/support/RecordingAudioBackend.h"

#include <cmath>
#include <limits>

namespace quellor::test {
namespace {

float Horizontal(const Vec4& v)
{
    return std::sqrt(v.x * v.x + v.z * v.z);
}

TEST_F(ShooterTest, WithPadZeroInTheKeyboardPlayerMovesTurnsAndJumpsButCannotShootFromKeysOrMouse)
{
    Keys().SetPadConnected(0, true);
    Entity* player = Person("person", "red", 0);
    ShooterInput* input = InputOf(player);
    world->Step(70); // past any cooldown

    for (int key : {ShooterInput::kKeyQ, ShooterInput::kMouseRight}) {
        Hold(key, 20);
        world->Step(2);
        EXPECT_TRUE(Weapon(player).GetOrbs().empty()) << key;
        EXPECT_EQ(input->GetFireCooldown() > 0.0f, false) << key;
        EXPECT_FALSE(Data(player).m_charging) << key;
    }
    for (int key : {ShooterInput::kKeyE, ShooterInput::kMouseLeft}) {
        Keys().SetKey(key, true);
        world->Step(2);
        EXPECT_FALSE(input->IsSecondaryHeld()) << key;
        EXPECT_FALSE(BlurOn(0)) << key;
        Keys().SetKey(key, false);
    }

    for (int key : {ShooterInput::kKeyW, ShooterInput::kKeyS, ShooterInput::kKeyD, ShooterInput::kKeyA}) {
        Keys().SetKey(key, true);
        world->Step(1);
        EXPECT_NEAR(Horizontal(Motor(player).m_moveInput), 1.0f, 1e-4f) << key;
        Keys().SetKey(key, false);
    }
    const float yaw = Camera(player).GetYaw();
    Hold(ShooterInput::kKeyLeft, 3);
    EXPECT_GT(Camera(player).GetYaw(), yaw);
    world->Step(30);
    ASSERT_TRUE(Data(player).m_onGround);
    const float y = Place(player).y;
    Keys().TapKey(ShooterInput::kKeyLeftShift);
    world->Step(8);
    EXPECT_GT(Place(player).y, y + 0.3f);
}

TEST_F(ShooterTest, AnotherControllerIgnoresTheKeyboardButForTheScoreShortcutWhichCountsPerPerson)
{
    Entity* first = Person("first", "red", 0);
    Entity* second = Person("second", "red", 1, 20.0f, 0.0f);
    ASSERT_EQ(Camera(second).GetScreenID(), 1);
    const float yaw = Camera(second).GetYaw();
    Keys().SetKey(ShooterInput::kKeyW, true);
    Keys().SetKey(ShooterInput::kKeyLeft, true);
    Keys().SetKey(ShooterInput::kMouseRight, true);
    world->Step(3);
    EXPECT_EQ(Horizontal(Motor(second).m_moveInput), 0.0f);
    EXPECT_EQ(Camera(second).GetYaw(), yaw);
    EXPECT_FALSE(Data(second).m_charging);
    EXPECT_GT(Horizontal(Motor(first).m_moveInput), 0.9f);
    EXPECT_TRUE(Data(first).m_charging);
    Keys().SetKey(ShooterInput::kKeyW, false);
    Keys().SetKey(ShooterInput::kKeyLeft, false);
    Keys().SetKey(ShooterInput::kMouseRight, false);
    world->Step(1);

    Keys().SetKey(ShooterInput::kKeyCtrl, true);
    Keys().TapKey(ShooterInput::kKeyS);
    world->Step(1);
    EXPECT_EQ(world->logic->GetScores().at("red"), 2);
}

TEST_F(ShooterTest, AStickInsideItsDeadZoneWithWHeldMovesAtFullSpeedAlongTheCameraForward)
{
    Entity* player = Person("person", "red", 0);
    Keys().SetPadAxis(0, platform::PadAxis::LeftX, 3000); // about 0.09, inside 0.2
    Keys().SetPadAxis(0, platform::PadAxis::LeftY, -3000);
    Keys().SetKey(ShooterInput::kKeyW, true);
    world->Step(1);
    const Vec4 move = Motor(player).m_moveInput;
    const Vec4 forward = Camera(player).GetForward();
    EXPECT_NEAR(Horizontal(move), 1.0f, 1e-3f);
    EXPECT_NEAR(move.x, forward.x, 1e-3f);
    EXPECT_NEAR(move.z, forward.z, 1e-3f);
    EXPECT_EQ(move.y, 0.0f);
    EXPECT_EQ(move.w, 0.0f);

    // Out of the dead zone the stick moves in proportion.
    Keys().SetKey(ShooterInput::kKeyW, false);
    Keys().SetPadAxis(0, platform::PadAxis::LeftX, 0);
    Keys().SetPadAxis(0, platform::PadAxis::LeftY, 16384);
    world->Step(1);
    EXPECT_NEAR(Horizontal(Motor(player).m_moveInput), 0.5f, 1e-3f);
    // The animation takes the move input and the aim along the view.
    EXPECT_EQ(Animation(player).GetMoveX(), Motor(player).m_moveInput.x);
    EXPECT_EQ(Animation(player).GetMoveY(), Motor(player).m_moveInput.z);
    EXPECT_NEAR(Animation(player).GetAimX(), -Camera(player).GetForward().x, 1e-5f);
    EXPECT_NEAR(Animation(player).GetAimY(), -Camera(player).GetForward().z, 1e-5f);
}

TEST_F(ShooterTest, LookInversionKeepsTheSticksVerticalSignAndEachFramesPitchIsClamped)
{
    Entity* player = Person("person", "red", 0);
    ThirdPersonCameraComponent& camera = Camera(player);
    auto pitchStep = [&] {
        const float before = camera.GetPitch();
        Keys().SetPadAxis(0, platform::PadAxis::RightY, 32767);
        world->Step(1);
        Keys().SetPadAxis(0, platform::PadAxis::RightY, 0);
        world->Step(1);
        return camera.GetPitch() - before;
    };
    const float normal = pitchStep();
    Data(player).m_invertLook = true;
    const float inverted = pitchStep();
    ASSERT_NE(normal, 0.0f);
    EXPECT_NEAR(inverted, -normal, 1e-5f);
    // Stick up without inversion: the input's pitch is negated twice on the way to the camera.
    EXPECT_GT(normal, 0.0f);

    // A mouse flung down turns by no more than 0.4π in one frame.
    Keys().SetPadConnected(0, false);
    Data(player).m_invertLook = false;
    camera.Rotate(0.0f, 0.9f);
    world->Step(1);
    const float before = camera.GetPitch();
    Keys().SetCursor(0, 1000000);
    world->Step(1);
    EXPECT_NEAR(camera.GetPitch(), before - ShooterInput::kMaxPitchStep, 1e-4f);
}

TEST_F(ShooterTest, AJumpNeedsTheGroundAndNoLift)
{
    Entity* player = Person("person", "red", 0);
    world->Step(30);
    ASSERT_TRUE(Data(player).m_onGround);
    const float ground = Place(player).y;
    const auto jumpFrom = [&](int button) {
        Keys().SetPadButton(0, button, true);
        world->Step(1);
        Keys().SetPadButton(0, button, false);
        world->Step(7);
    };

    Data(player).m_isLifted = true;
    jumpFrom(ShooterInput::kPadA);
    EXPECT_NEAR(Place(player).y, ground, 0.05f);
    Data(player).m_isLifted = false;
    world->Step(5);

    jumpFrom(ShooterInput::kPadLeftShoulder);
    const float high = Place(player).y;
    EXPECT_GT(high, ground + 0.3f);
    // In the air a press does nothing: the jump is not buffered for the landing either.
    ASSERT_FALSE(Data(player).m_onGround);
    jumpFrom(ShooterInput::kPadA);
    world->Step(120);
    ASSERT_TRUE(Data(player).m_onGround);
    EXPECT_NEAR(Place(player).y, ground, 0.05f);
}

TEST_F(ShooterTest, APlayerWithoutAPadJumpsOnLeftShiftAndNotOnTheKeysNumberedLikePadButtons)
{
    // Controller -1 reads the keyboard, where the pad's A and shoulder codes are other keys
    // (8 is Backspace).
    Entity* player = Person("person", "red", -1);
    world->Step(30);
    ASSERT_TRUE(Data(player).m_onGround);
    const float ground = Place(player).y;
    for (int key : {ShooterInput::kPadLeftShoulder, ShooterInput::kPadA}) {
        Hold(key, 1);
        world->Step(7);
        EXPECT_NEAR(Place(player).y, ground, 0.05f) << key;
    }
    Hold(ShooterInput::kKeyLeftShift, 1);
    world->Step(7);
    EXPECT_GT(Place(player).y, ground + 0.3f);
}

TEST_F(ShooterTest, FootstepsPlayInEveryDirectionAndFromTheKeysOnceAtATime)
{
    Entity* player = Person("person", "red", 0);
    world->Step(30);
    ASSERT_TRUE(Data(player).m_onGround);
    const auto play = [&](auto press, auto release) {
        const std::size_t before = Plays(ShooterInput::kFootstepSound);
        press();
        world->Step(4);
        release();
        const std::size_t during = Plays(ShooterInput::kFootstepSound) - before;
        // Let the step end, so the next one may start.
        for (std::size_t channel = 0; channel < world->audio->channels.size(); ++channel)
            tarsel::test::RecordingAudioBackend::Finish(*world->audio, static_cast<int>(channel));
        world->Step(30);
        return during;
    };
    for (int key : {ShooterInput::kKeyS, ShooterInput::kKeyA, ShooterInput::kKeyW})
        EXPECT_EQ(play([&] { Keys().SetKey(key, true); }, [&] { Keys().SetKey(key, false); }), 1u) << key;
    // The stick back and left.
    EXPECT_EQ(play([&] { Keys().SetPadAxis(0, platform::PadAxis::LeftY, -32767); },
                   [&] { Keys().SetPadAxis(0, platform::PadAxis::LeftY, 0); }),
              1u);
    EXPECT_EQ(play([&] { Keys().SetPadAxis(0, platform::PadAxis::LeftX, -32767); },
                   [&] { Keys().SetPadAxis(0, platform::PadAxis::LeftX, 0); }),
              1u);
    // Standing still is silent.
    EXPECT_EQ(play([] {}, [] {}), 0u);
}

TEST_F(ShooterTest, FacingTurnsTheBodysPlusZToTheHorizontalVelocityAndIgnoresATinyOne)
{
    Entity* player = Person("person", "red", 0);
    ShooterInput* input = InputOf(player);
    auto* body = player->GetComponent<RigidBodyComponent3D>();
    for (const Vec4& velocity : {Vec4(3.0f, 5.0f, 4.0f, 0.0f), Vec4(-1.0f, 0.0f, 0.0f, 0.0f),
                                 Vec4(0.0f, -2.0f, -7.0f, 0.0f), Vec4(2.0f, 0.0f, -2.0f, 0.0f)}) {
        Motor(player).SetVelocity(velocity);
        input->FaceVelocity();
        // The way a body faces is its forward axis negated (its +z): the bots' targeting turns
        // that toward their movement, and the model's face is there.
        const Vec4 forward = body->GetForward();
        const float length = Horizontal(velocity);
        EXPECT_NEAR(-forward.x, velocity.x / length, 1e-5f);
        EXPECT_NEAR(forward.y, 0.0f, 1e-5f);
        EXPECT_NEAR(-forward.z, velocity.z / length, 1e-5f);
        EXPECT_NEAR(body->GetUp().y, 1.0f, 1e-5f);
    }
    const Vec4 kept = body->GetForward();
    Motor(player).SetVelocity(Vec4(1e-7f, 9.0f, 0.0f, 0.0f));
    input->FaceVelocity();
    ExpectNear3(XYZ(body->GetForward()), XYZ(kept), 0.0f);
}

TEST_F(ShooterTest, ExtremePadsAndHostileDataPutNoNaNIntoTheCameraOrTheMotor)
{
    Entity* player = Person("person", "red", 0);
    for (int value : {32767, -32768, -32767, 0}) {
        for (platform::PadAxis axis : {platform::PadAxis::LeftX, platform::PadAxis::LeftY, platform::PadAxis::RightX,
                                       platform::PadAxis::RightY})
            Keys().SetPadAxis(0, axis, value);
        SetTrigger(0, value > 0 ? 255 : 0);
        SetLeftTrigger(0, value > 0 ? 255 : 0);
        world->Step(3);
        EXPECT_LE(Horizontal(Motor(player).m_moveInput), 1.0f + 1e-5f) << value;
    }
    // Unplugged in the middle of a charge.
    SetTrigger(0, 255);
    world->Step(20);
    Keys().SetPadConnected(0, false);
    world->Step(5);
    EXPECT_FALSE(Data(player).m_charging);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Keys().SetPadAxis(0, platform::PadAxis::LeftX, 32767);
    Keys().SetPadAxis(0, platform::PadAxis::RightX, 32767);
    Keys().SetPadAxis(0, platform::PadAxis::RightY, 32767);
    Keys().SetKey(ShooterInput::kKeyLeft, true);
    for (float bad : {nan, inf, -inf}) {
        Data(player).xDeadZone = bad;
        Data(player).yDeadZone = bad;
        Data(player).xAimSpeed = bad;
        Data(player).yAimSpeed = bad;
        world->Step(1);
        const Vec4 move = Motor(player).m_moveInput;
        EXPECT_TRUE(std::isfinite(move.x) && std::isfinite(move.z)) << bad;
        EXPECT_TRUE(std::isfinite(Camera(player).GetYaw())) << bad;
        EXPECT_TRUE(std::isfinite(Camera(player).GetPitch())) << bad;
        EXPECT_TRUE(IsFinite(XYZ(Motor(player).GetVelocity()))) << bad;
    }
}

} // namespace
} // namespace quellor::test
