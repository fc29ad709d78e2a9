// The character motor's collide and slide through real physics: walls, a ramp, steps, other
// players, the ray budget, and the knock-back flight with its bounce.
#include "tests/gameplay/MotorTestKit.h"

#include "engine/Transform3D.h"

#include <algorithm>

namespace quellor::test {
namespace {

constexpr float kPi = 3.14159265f;

// A wall whose face is the plane x = face, facing -x.
class MotorWallTest : public MotorTest {
protected:
    void AddWall(float face)
    {
        AddBox(ZOR::float3(face + 1.0f, 10.0f, 0.0f), ZOR::float3(1.0f, 10.0f, 40.0f));
    }
};

TEST_F(MotorWallTest, AngledApproachSlidesAlongTheWall)
{
    AddFloor();
    AddWall(0.0f);
    Entity* player = StandingPlayer("p", -6.0f, -20.0f);
    CharacterMotor3D& motor = Motor(player);
    const float diagonal = std::sqrt(0.5f);
    motor.m_moveInput = Vec4(diagonal, 0.0f, diagonal, 0.0f);
    motor.SetVelocity(Vec4(10.0f * diagonal, 0.0f, 10.0f * diagonal, 0.0f));
    unsigned mostCasts = 0;
    bool touched = false;
    for (int i = 0; i < 60; ++i) {
        const Vec4 before = Position(player);
        const Vec4 velocity = motor.GetVelocity();
        world->Step();
        const Vec4 after = Position(player);
        mostCasts = std::max(mostCasts, motor.GetCastCount());
        ASSERT_LE(motor.GetCastCount(), CharacterMotor3D::kMaxCastsPerUpdate);
        // The ellipsoid (3.5 across) never enters the wall.
        EXPECT_LE(after.x, -3.5f + 0.05f) << "frame " << i;
        const bool blocked = after.x - before.x < 0.5f * velocity.x * kDt;
        if (blocked && !touched) {
            touched = true;
            // In the frame of the hit the motion along the wall is kept.
            EXPECT_GE(after.z - before.z, 0.95f * velocity.z * kDt) << "frame " << i;
        }
        if (touched) {
            EXPECT_GT(after.z, before.z) << "frame " << i;
        }
    }
    EXPECT_TRUE(touched);
    EXPECT_TRUE(Data(player).m_onGround);
    // Hits took more than one pass.
    EXPECT_GT(mostCasts, 9u);
}

TEST_F(MotorTest, WalksUpARampAlongItsSlope)
{
    // A 30 degree ramp rising towards +x from x = 0; the player starts on it.
    const float angle = 30.0f * kPi / 180.0f;
    const float c = std::cos(angle), s = std::sin(angle);
    AddFloor();
    AddBox(ZOR::float3(20.0f * c + 0.5f * s, 20.0f * s - 0.5f * c, 0.0f), ZOR::float3(20.0f, 0.5f, 10.0f),
           ZOR::float3x3(c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f));
    const float x = 4.0f;
    Entity* player = Player("p", x, x * std::tan(angle) + kStandHeight + 0.01f, 0.0f);
    ASSERT_TRUE(Land(player));
    CharacterMotor3D& motor = Motor(player);
    EXPECT_NEAR(motor.GetGroundNormal().x, -s, 1e-3f);
    EXPECT_NEAR(motor.GetGroundNormal().y, c, 1e-3f);
    motor.m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    world->Step(30);
    // Along the slope at the walking speed, grounded all the way.
    for (int i = 0; i < 30; ++i) {
        const Vec4 before = Position(player);
        world->Step();
        const Vec4 after = Position(player);
        ASSERT_TRUE(Data(player).m_onGround) << "frame " << i;
        ASSERT_LE(motor.GetCastCount(), CharacterMotor3D::kMaxCastsPerUpdate);
        EXPECT_NEAR((after.y - before.y) / (after.x - before.x), std::tan(angle), 1e-3f) << "frame " << i;
        EXPECT_NEAR(std::hypot(after.x - before.x, after.y - before.y), 10.0f * kDt, 0.02f) << "frame " << i;
    }
}

TEST_F(MotorTest, LowStepIsWalkedOverAndATallOneStopsTheWalk)
{
    // With r = 3 the step probe clears 0.75; a step of 2 r stands above the ellipsoid's centre.
    const tarsel::test::PlayerBuild big{"red", -1, 3.0f};
    AddFloor();
    // Step faces at x = 0: 0.5 high at z = -20, 6 high at z = 20.
    AddBox(ZOR::float3(10.0f, 0.25f, -20.0f), ZOR::float3(10.0f, 0.25f, 5.0f));
    AddBox(ZOR::float3(10.0f, 3.0f, 20.0f), ZOR::float3(10.0f, 3.0f, 5.0f));
    // The body stands 1 above the ground: the ellipsoid reaches 4 below its centre at 5.
    Entity* low = Player("low", -6.0f, 1.0f, -20.0f, big);
    Entity* tall = Player("tall", -6.0f, 1.0f, 20.0f, big);
    ASSERT_TRUE(Land(low));
    ASSERT_TRUE(Land(tall));
    for (Entity* player : {low, tall})
        Motor(player).m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    bool stepped = false;
    for (int i = 0; i < 120; ++i) {
        world->Step();
        stepped = stepped || Motor(low).GetCastCount() == 9; // the low ray hit, the raised ray did not
        EXPECT_LE(Motor(tall).GetCastCount(), CharacterMotor3D::kMaxCastsPerUpdate);
        // The tall step's face holds the ellipsoid (3.5 across) off.
        EXPECT_LT(Position(tall).x, -3.5f + 0.05f) << "frame " << i;
    }
    EXPECT_TRUE(stepped);
    EXPECT_GT(Position(low).x, 10.0f);
    EXPECT_TRUE(Data(low).m_onGround);
}

TEST_F(MotorTest, OtherPlayersNeverBlock)
{
    AddFloor();
    Entity* standing = StandingPlayer("standing", 0.0f);
    Entity* bot = StandingPlayer("bot", 0.0f, 10.0f, {"blue", -1, 1.0f, PlayerBody::SensorTag::ColliderDefault});
    Entity* walker = StandingPlayer("walker", -10.0f);
    Entity* crosser = StandingPlayer("crosser", -10.0f, 10.0f);
    Motor(walker).m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    Motor(crosser).m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    world->Step(150);
    EXPECT_GT(Position(walker).x, 10.0f);
    EXPECT_GT(Position(crosser).x, 10.0f);
    EXPECT_NEAR(Position(standing).x, 0.0f, 1e-4f);
    EXPECT_NEAR(Position(bot).x, 0.0f, 1e-4f);
}

TEST_F(MotorTest, KnockBackFliesAlongItsDirectionWhileTheStunRunsDown)
{
    AddFloor();
    Entity* player = StandingPlayer("p");
    PlayerDataComponent& data = Data(player);
    data.m_knockbackDir = Vec4(0.6f, 0.8f, 0.0f, 0.0f);
    data.blastDist = 12.0f;
    data.m_stunTimer = 0.5f;
    int flying = 0;
    while (data.m_stunTimer > 0.0f && flying < 100) {
        const Vec4 before = Position(player);
        const float stun = data.m_stunTimer;
        world->Step();
        ++flying;
        const Vec4 after = Position(player);
        EXPECT_NEAR(after.x - before.x, 0.6f * 12.0f * kDt, 1e-4f);
        EXPECT_NEAR(after.y - before.y, 0.8f * 12.0f * kDt, 1e-4f);
        EXPECT_NEAR(data.m_stunTimer, stun - kDt, 1e-6f);
        // The velocity holds the frame's displacement.
        EXPECT_NEAR(Motor(player).GetVelocity().x, 0.6f * 12.0f * kDt, 1e-5f);
    }
    EXPECT_EQ(flying, 30);
    EXPECT_FLOAT_EQ(data.blastDist, 12.0f);
    // Then it falls again.
    const float top = Position(player).y;
    world->Step(30);
    EXPECT_LT(Position(player).y, top);
}

TEST_F(MotorWallTest, KnockedIntoAWallTheFlightMirrorsAtSeventyPercent)
{
    AddFloor();
    AddWall(0.0f);
    Entity* player = StandingPlayer("p", -6.0f, -10.0f);
    PlayerDataComponent& data = Data(player);
    const float diagonal = std::sqrt(0.5f);
    data.m_knockbackDir = Vec4(diagonal, 0.0f, diagonal, 0.0f);
    data.blastDist = 30.0f;
    data.m_stunTimer = 1.0f;
    for (int i = 0; i < 30 && data.blastDist == 30.0f; ++i)
        world->Step();
    EXPECT_FLOAT_EQ(data.blastDist, 21.0f);
    // Mirrored about the wall's normal (the hit point sits a little off the motion's line).
    EXPECT_NEAR(data.m_knockbackDir.x, -diagonal, 0.05f);
    EXPECT_NEAR(data.m_knockbackDir.y, 0.0f, 1e-3f);
    EXPECT_NEAR(data.m_knockbackDir.z, diagonal, 0.05f);
    const Vec4 before = Position(player);
    world->Step();
    const Vec4 after = Position(player);
    EXPECT_LT(after.x, before.x);
    EXPECT_NEAR(std::hypot(after.x - before.x, after.z - before.z), 21.0f * kDt, 1e-3f);
}

TEST_F(MotorWallTest, ABounceCostsThirtyPercentOncePerPassHoweverManyRaysHit)
{
    // A small character flying head-on at a near wall: five of its seven rays reach it.
    AddFloor();
    AddWall(0.0f);
    Entity* player = Player("p", -0.45f, 5.0f, 0.0f);
    CharacterMotor3D& motor = Motor(player);
    motor.m_ellipseA = motor.m_ellipseB = motor.m_ellipseC = 0.5f;
    world->Step();
    PlayerDataComponent& data = Data(player);
    data.m_knockbackDir = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    data.blastDist = 30.0f;
    data.m_stunTimer = 1.0f;
    world->Step();
    unsigned hits = 0;
    for (unsigned i = 0; i < 8; ++i)
        hits += motor.GetCast(i).hit;
    EXPECT_GE(hits, 3u);
    EXPECT_FLOAT_EQ(data.blastDist, 21.0f);
    EXPECT_NEAR(data.m_knockbackDir.x, -1.0f, 1e-4f);
}

TEST_F(MotorTest, TeleportPlacesTheBodyRaisedByTheRadiusAtRestAndUnstunned)
{
    Entity* player = Player("p", 0.0f, 0.0f, 0.0f, {"red", 0, 1.5f});
    world->Step();
    PlayerDataComponent& data = Data(player);
    data.m_stunTimer = 0.4f;
    Motor(player).SetVelocity(Vec4(3.0f, 4.0f, 5.0f, 0.0f));
    Motor(player).Teleport(Vec4(5.0f, 1.0f, -3.0f, 1.0f));
    const Vec4 at = Position(player);
    EXPECT_FLOAT_EQ(at.x, 5.0f);
    EXPECT_FLOAT_EQ(at.y, 2.5f);
    EXPECT_FLOAT_EQ(at.z, -3.0f);
    const Vec4 transform = player->GetComponent<Transform3D>()->GetPosition();
    EXPECT_FLOAT_EQ(transform.y, 2.5f);
    EXPECT_EQ(Motor(player).GetVelocity().x, 0.0f);
    EXPECT_EQ(Motor(player).GetVelocity().y, 0.0f);
    EXPECT_EQ(data.m_stunTimer, 0.0f);
}

TEST_F(MotorTest, DyingOrFrozenPlayersStopWalkingButStillFall)
{
    AddFloor();
    Entity* dying = StandingPlayer("dying", -20.0f);
    Entity* frozen = StandingPlayer("frozen", 20.0f);
    for (Entity* player : {dying, frozen}) {
        Motor(player).m_moveInput = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
        Motor(player).SetVelocity(Vec4(0.0f, 0.0f, 10.0f, 0.0f));
    }
    world->Step(10);
    Data(dying).m_dying = true;
    Data(frozen).m_cameraFreeze = true;
    world->Step(30);
    for (Entity* player : {dying, frozen}) {
        SCOPED_TRACE(player->GetName());
        EXPECT_LT(FlatSpeed(Motor(player).GetVelocity()), 1e-3f);
        const Vec4 before = Position(player);
        world->Step();
        EXPECT_NEAR(Position(player).z, before.z, 1e-4f);
    }

    // In the air gravity goes on.
    for (Entity* player : {dying, frozen}) {
        Motor(player).Teleport(Vec4(Position(player).x, 30.0f, 0.0f, 1.0f));
        Motor(player).m_moveInput = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
    }
    world->Step(30);
    for (Entity* player : {dying, frozen}) {
        SCOPED_TRACE(player->GetName());
        EXPECT_LT(Motor(player).GetVelocity().y, -4.0f);
        EXPECT_EQ(Motor(player).GetVelocity().z, 0.0f);
    }
}

} // namespace
} // namespace quellor::test
