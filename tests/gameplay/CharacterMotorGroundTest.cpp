// The character motor on the ground and in the air, through real physics at 1/60 s: standing,
// walking, air control, the fall cap, the buffered jump, the ledge grace and the landing sound.
#include "tests/gameplay/MotorTestKit.h"

#include <algorithm>

namespace quellor::test {
namespace {

constexpr float kTakeOff = 7.7459667f; // sqrt(2 * 3 * 10)

TEST_F(MotorTest, RestingPlayerStaysGroundedWithoutDrifting)
{
    AddFloor();
    Entity* player = StandingPlayer("p");
    const Vec4 start = Position(player);
    EXPECT_NEAR(start.y, kStandHeight, 0.02f);
    for (int i = 0; i < 600; ++i) {
        world->Step();
        ASSERT_TRUE(Data(player).m_onGround) << "frame " << i;
    }
    const Vec4 end = Position(player);
    EXPECT_NEAR(end.x, start.x, 1e-4f);
    EXPECT_NEAR(end.y, start.y, 1e-4f);
    EXPECT_NEAR(end.z, start.z, 1e-4f);
}

TEST_F(MotorTest, WalkingReachesFullSpeedWithinTheAccelerationLimitAndHoldsIt)
{
    AddFloor();
    Entity* player = StandingPlayer("p", -40.0f);
    CharacterMotor3D& motor = Motor(player);
    motor.m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    int frames = 0;
    while (FlatSpeed(motor.GetVelocity()) < 10.0f - 1e-3f && frames < 60) {
        const float before = FlatSpeed(motor.GetVelocity());
        world->Step();
        ++frames;
        // Never faster than 25 u/s each second.
        EXPECT_LE(FlatSpeed(motor.GetVelocity()) - before, 25.0f * kDt + 1e-3f);
    }
    EXPECT_LE(frames, 24 + 1); // 0.4 s, and one frame of rounding
    for (int i = 0; i < 60; ++i) {
        const Vec4 before = Position(player);
        world->Step();
        EXPECT_NEAR(FlatSpeed(motor.GetVelocity()), 10.0f, 1e-3f);
        EXPECT_NEAR((Position(player).x - before.x) / kDt, 10.0f, 1e-2f);
        EXPECT_NEAR(Position(player).y, kStandHeight, 0.02f);
        EXPECT_TRUE(Data(player).m_onGround);
    }
}

TEST_F(MotorTest, AirControlIsHalfTheGroundLimitAndNoneWithoutControl)
{
    // No floor: both fall for ever.
    Entity* free = Player("free", 0.0f, 100.0f, 0.0f);
    Entity* locked = Player("locked", 30.0f, 100.0f, 0.0f);
    Data(locked).canControl = false;
    world->Step(2);
    for (Entity* player : {free, locked})
        Motor(player).m_moveInput = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
    for (int i = 0; i < 30; ++i) {
        const float freeBefore = Motor(free).GetVelocity().z;
        world->Step();
        const float change = Motor(free).GetVelocity().z - freeBefore;
        // The limit bounds the whole change, the fall's part too.
        EXPECT_LE(change, 12.5f * kDt + 1e-4f) << "frame " << i;
        EXPECT_GT(change, 0.0f) << "frame " << i;
        EXPECT_EQ(Motor(locked).GetVelocity().z, 0.0f);
        EXPECT_FALSE(Data(free).m_onGround);
    }
}

TEST_F(MotorTest, FallsAreCappedAtTheMaximumFallSpeed)
{
    Entity* player = Player("p", 0.0f, 0.0f, 0.0f);
    float lowest = 0.0f;
    for (int i = 0; i < 600; ++i) {
        const float before = Position(player).y;
        world->Step();
        const float speed = (Position(player).y - before) / kDt;
        lowest = std::min(lowest, speed);
        EXPECT_GE(Motor(player).GetVelocity().y, -75.0f - 1e-3f);
    }
    EXPECT_NEAR(lowest, -75.0f, 1e-2f);
    EXPECT_NEAR(Motor(player).GetVelocity().y, -75.0f, 1e-3f);
}

TEST_F(MotorTest, JumpTakesOffAtTheJumpSpeedWithTheSoundInThePlayersGroup)
{
    AddFloor();
    Entity* player = StandingPlayer("p", 0.0f, 0.0f, {"red", 2});
    world->sound->StopAll();
    Motor(player).m_jumpRequested = true;
    const float before = Position(player).y;
    world->Step();
    EXPECT_FALSE(Motor(player).m_jumpRequested);
    EXPECT_FALSE(Data(player).m_onGround);
    EXPECT_NEAR(Motor(player).GetVelocity().y, kTakeOff, 1e-3f);
    EXPECT_NEAR((Position(player).y - before) / kDt, kTakeOff, 1e-3f);
    EXPECT_TRUE(Playing(2));
    EXPECT_FALSE(Playing(0));
    EXPECT_FALSE(Playing(4));

    // Up and down again: a landing, with its sound.
    world->sound->StopAll();
    EXPECT_TRUE(Land(player, 200));
    EXPECT_TRUE(Playing(2));
    // The probe stops a fall up to a frame's drop above the ground; the ground stick then
    // brings the player down.
    world->Step(30);
    EXPECT_NEAR(Position(player).y, before, 0.02f);
}

TEST_F(MotorTest, ComputerPlayersLandInGroupFour)
{
    AddFloor();
    Entity* bot = Player("bot", 0.0f, 6.0f, 0.0f);
    ASSERT_TRUE(Land(bot));
    EXPECT_TRUE(Playing(4));
    EXPECT_FALSE(Playing(0));
}

TEST_F(MotorTest, JumpRequestedShortlyBeforeLandingFiresOnLanding)
{
    AddFloor();
    // Three players dropped together: none asks, one asks 0.15 s before landing, one 0.25 s.
    Entity* plain = Player("plain", -20.0f, 8.0f, 0.0f);
    Entity* soon = Player("soon", 0.0f, 8.0f, 0.0f);
    Entity* early = Player("early", 20.0f, 8.0f, 0.0f);
    int landing = 0;
    while (!Data(plain).m_onGround && landing < 200) {
        world->Step();
        ++landing;
    }
    ASSERT_GT(landing, 20);

    world.reset();
    SetUp();
    AddFloor();
    plain = Player("plain", -20.0f, 8.0f, 0.0f);
    soon = Player("soon", 0.0f, 8.0f, 0.0f);
    early = Player("early", 20.0f, 8.0f, 0.0f);
    for (int frame = 1; frame <= landing + 3; ++frame) {
        if (frame == landing - 9)
            Motor(soon).m_jumpRequested = true;
        if (frame == landing - 15)
            Motor(early).m_jumpRequested = true;
        world->Step();
    }
    EXPECT_TRUE(Data(plain).m_onGround);
    EXPECT_TRUE(Data(early).m_onGround);
    EXPECT_FALSE(Data(soon).m_onGround);
    EXPECT_GT(Motor(soon).GetVelocity().y, 6.0f);
    EXPECT_GT(Position(soon).y, Position(plain).y + 0.2f);
}

TEST_F(MotorTest, WalkingOffALedgeKeepsTheGroundForAGraceTime)
{
    // Ledges at x = 0; the players walk off at 10 u/s. One jumps 0.1 s after its probe lost the
    // ground, one tries 0.25 s after.
    AddBox(ZOR::float3(-25.0f, -0.5f, 0.0f), ZOR::float3(25.0f, 0.5f, 40.0f));
    Entity* quick = StandingPlayer("quick", -3.0f, -20.0f);
    Entity* late = StandingPlayer("late", -3.0f, 20.0f);
    for (Entity* player : {quick, late}) {
        Motor(player).SetVelocity(Vec4(10.0f, 0.0f, 0.0f, 0.0f));
        Motor(player).m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    }
    int missed = 0;
    bool quickJumped = false;
    for (int frame = 0; frame < 60; ++frame) {
        world->Step();
        // The first ray of an update is the ground probe.
        if (Motor(quick).GetCastCount() > 0 && !Motor(quick).GetCast(0).hit)
            ++missed;
        if (missed == 6 && !quickJumped) {
            EXPECT_TRUE(Data(quick).m_onGround);
            Motor(quick).m_jumpRequested = true;
            quickJumped = true;
        }
        if (missed == 12) {
            EXPECT_TRUE(Data(late).m_onGround);
        }
        if (missed == 15) {
            EXPECT_FALSE(Data(late).m_onGround);
            Motor(late).m_jumpRequested = true;
            world->Step();
            EXPECT_LT(Motor(late).GetVelocity().y, 0.5f * kTakeOff);
            break;
        }
    }
    ASSERT_TRUE(quickJumped);
    EXPECT_GT(Position(quick).y, Position(late).y + 1.0f);
}

} // namespace
} // namespace quellor::test
