// The character motor where its inputs are unusual: a zero frame, a floor with no collider
// component under the sensor, a centre inside a hull, a sideways move at zero gravity, missing
// parts and hostile tuning. None of them may crash or put a non-finite value into the body.
#include "tests/gameplay/MotorTestKit.h"

#include "engine/Finite.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "physics/MeshColliderComponent3D.h"
#include "tests/gameplay/GameplayLevels.h"
#include "tests/support/StdoutCapture.h"
#include "tools/writers/ShapeBuilder.h"
#include "tools/writers/ShapeWriter.h"

#include <algorithm>

namespace quellor::test {
namespace {

using tarsel::test::StdoutCapture;

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

TEST_F(MotorTest, ZeroFrameDoesNothing)
{
    AddFloor();
    Entity* player = StandingPlayer("p");
    CharacterMotor3D& motor = Motor(player);
    motor.m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    motor.m_jumpRequested = true;
    Data(player).m_respawnGrace = 1.0f;
    const Vec4 position = Position(player);
    const std::size_t sounds = world->PlayCount(kLanding);
    StdoutCapture output;
    motor.Update(0.0f);
    EXPECT_EQ(output.Text(), "");
    EXPECT_EQ(Position(player).x, position.x);
    EXPECT_EQ(Position(player).y, position.y);
    EXPECT_TRUE(IsFinite(motor.GetVelocity()));
    // The jump waits for a real frame.
    EXPECT_TRUE(motor.m_jumpRequested);
    EXPECT_TRUE(Data(player).m_onGround);
    EXPECT_EQ(Data(player).m_respawnGrace, 1.0f);
    EXPECT_EQ(world->PlayCount(kLanding), sounds);
}

// A player whose ground probe cannot reach the floor (ellipsoid half height 1 around a centre
// 2 above the body) while its floor sensor (0.5 down) dips 0.1 into it.
class MotorSensorTest : public MotorTest {
protected:
    Entity* ShortPlayer(const std::string& name, float x)
    {
        Entity* player = Player(name, x, 0.4f, 0.0f);
        Motor(player).m_ellipseB = 1.0f;
        return player;
    }
};

TEST_F(MotorSensorTest, FloorWithoutAColliderComponentHoldsThePlayerUp)
{
    AddFloor();
    Entity* player = ShortPlayer("p", 0.0f);
    // The records of the first frames come from steps before the sensor had its box.
    world->Step(10);
    const float settled = Position(player).y;
    EXPECT_NEAR(settled, 0.4f, 0.01f);
    world->Step(120);
    EXPECT_TRUE(Data(player).m_onGround);
    EXPECT_EQ(Position(player).y, settled);
    EXPECT_EQ(Motor(player).GetGroundNormal().y, 1.0f);
    // The contact that held it: the floor's collider has no component.
    const auto& records = Motor(player).GetFloorSensor()->GetContactRecords();
    EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                            [](const ContactRecord3D& record) { return record.m_other == nullptr; }));
}

TEST_F(MotorSensorTest, WithoutAFloorSensorThePlayerFallsThrough)
{
    AddFloor();
    Entity* player = ShortPlayer("p", 0.0f);
    Motor(player).SetFloorSensor(nullptr);
    world->Step(60);
    EXPECT_LT(Position(player).y, -0.5f);
    EXPECT_TRUE(IsFinite(Position(player)));
}

TEST_F(MotorTest, CentreInsideAHullStaysFinite)
{
    namespace tt = tarsel::tools;
    world->WriteFile("shapes/block.shape",
                     tt::WriteShape({tt::BoxPiece(ZOR::float3(0.0f, 0.0f, 0.0f), ZOR::float3(3.0f, 3.0f, 3.0f))}));
    world->resources->ScanDirectory("");
    Entity* block = world->Spawn("block", 0.0f, 5.0f, 0.0f);
    block->AddComponent<RigidBodyComponent3D>(true);
    auto* mesh = new MeshColliderComponent3D;
    mesh->SetMesh("block.shape");
    block->AddComponent(MeshColliderComponent3D::ID, mesh, true);
    world->Step();
    // The ellipsoid's centre (2 above the body) inside the block.
    Entity* player = Player("p", 0.5f, 3.0f, 0.0f);
    Motor(player).m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    StdoutCapture output;
    for (int i = 0; i < 30; ++i) {
        world->Step();
        ASSERT_TRUE(IsFinite(Position(player))) << "frame " << i;
        ASSERT_TRUE(IsFinite(Motor(player).GetVelocity())) << "frame " << i;
    }
    // No frame had to be undone.
    EXPECT_EQ(Count(output.Text(), "non-finite"), 0u);
}

TEST_F(MotorTest, SidewaysMoveAtZeroGravityStaysFinite)
{
    Entity* player = Player("p", 0.0f, 20.0f, 0.0f);
    CharacterMotor3D& motor = Motor(player);
    motor.SetGravity(0.0f);
    motor.SetVelocity(Vec4(6.0f, 0.0f, 0.0f, 0.0f));
    motor.m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    StdoutCapture output;
    for (int i = 0; i < 30; ++i) {
        const Vec4 before = Position(player);
        world->Step();
        ASSERT_TRUE(IsFinite(Position(player))) << "frame " << i;
        EXPECT_GT(Position(player).x, before.x);
        EXPECT_EQ(Position(player).y, 20.0f);
        // No vertical part, no direction to probe in: one pass of seven rays, all sideways.
        ASSERT_EQ(motor.GetCastCount(), 7u) << "frame " << i;
        EXPECT_EQ(motor.GetCast(0).direction.y, 0.0f);
    }
    EXPECT_EQ(Count(output.Text(), "non-finite"), 0u);
    EXPECT_EQ(motor.GetBaseGravity(), 10.0f);
}

TEST_F(MotorTest, MotorWithoutBodyOrPlayerDataWarnsOnceAndStaysInert)
{
    StdoutCapture output;
    Entity* early = world->Spawn("early", 1.0f, 2.0f, 3.0f);
    auto* motor = early->AddComponent<CharacterMotor3D>(true);
    // A body component whose physics system had no world has no body.
    Entity* bodiless = world->Spawn("bodiless");
    bodiless->AddComponent<PlayerDataComponent>(true);
    auto* body = new RigidBodyComponent3D;
    bodiless->AddComponent<CharacterMotor3D>(false);
    world->physics->Shutdown();
    bodiless->AddComponent(RigidBodyComponent3D::ID, body, true);
    bodiless->GetComponent<CharacterMotor3D>()->Initialize();
    motor->m_moveInput = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    motor->Teleport(Vec4(5.0f, 5.0f, 5.0f, 1.0f));
    motor->SetVelocity(Vec4(1.0f, 0.0f, 0.0f, 0.0f));
    world->Step(10);
    const std::string text = output.Text();
    EXPECT_EQ(Count(text, "CharacterMotor3D on \"early\""), 1u);
    EXPECT_EQ(Count(text, "CharacterMotor3D on \"bodiless\""), 1u);
    EXPECT_TRUE(motor->IsInLogicSlot());
    EXPECT_EQ(early->GetComponent<Transform3D>()->GetPosition().x, 1.0f);
    EXPECT_EQ(motor->GetCastCount(), 0u);
}

TEST_F(MotorTest, HostileTuningNeverReachesTheBody)
{
    AddFloor();
    world->WriteFile("archetypes/hostile.arch", gameplay_levels::kHostileMotorPlayer);
    world->resources->ScanDirectory("");
    Entity* player = world->objects->Clone("hostile.arch", "hostile", "default");
    ASSERT_NE(player, nullptr);
    CharacterMotor3D& motor = Motor(player);
    ASSERT_EQ(motor.m_speed, 3e38f);
    ASSERT_EQ(motor.m_gravity, -10.0f);
    ASSERT_EQ(motor.m_jumpHeight, -3.0f);
    // Failures print to standard output too: they would land in the capture.
    StdoutCapture output;
    PlayerBody::AddBodyBox(*player);
    PlayerBody::AddFloorSensor(*player, PlayerBody::SensorTag::Character);
    PlayerBody::SetBodyType(*player);
    // Each part of the tuning on its own, and NaN from code.
    const tarsel::test::PlayerBuild build;
    Entity* zeroRadii = Player("zero", 20.0f, 3.0f, 0.0f, build);
    Motor(zeroRadii).m_ellipseA = Motor(zeroRadii).m_ellipseB = Motor(zeroRadii).m_ellipseC = 0.0f;
    Entity* negativeJump = StandingPlayer("jump", -20.0f);
    Motor(negativeJump).m_jumpHeight = -3.0f;
    Entity* nanGravity = Player("gravity", 0.0f, 3.0f, 20.0f);
    Motor(nanGravity).SetGravity(std::nanf(""));
    Entity* knocked = StandingPlayer("knocked", 0.0f, -20.0f);
    Motor(knocked).m_ellipseA = -std::nanf("");
    Data(knocked).m_knockbackDir = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    Data(knocked).blastDist = 20.0f;
    Data(knocked).m_stunTimer = 0.5f;

    Entity* players[] = {player, zeroRadii, negativeJump, nanGravity, knocked};
    for (int i = 0; i < 60; ++i) {
        for (Entity* each : players) {
            Motor(each).m_moveInput = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
            Motor(each).m_jumpRequested = i % 10 == 0;
        }
        world->Step();
        for (Entity* each : players) {
            ASSERT_TRUE(IsFinite(Position(each))) << each->GetName() << " frame " << i;
            ASSERT_TRUE(IsFinite(each->GetComponent<RigidBodyComponent3D>()->GetLinearVelocity())) << each->GetName();
            ASSERT_TRUE(IsFinite(Motor(each).GetVelocity())) << each->GetName();
        }
    }
    // One warning at most per motor; the jump speed of a negative height is never finite.
    const std::string text = output.Text();
    auto warnings = [&](Entity* each) {
        return Count(text, "CharacterMotor3D on \"" + each->GetName() + "\": a frame gave a non-finite");
    };
    for (Entity* each : players)
        EXPECT_LE(warnings(each), 1u) << each->GetName();
    EXPECT_EQ(warnings(negativeJump), 1u);
    EXPECT_EQ(warnings(player), 1u);
}

} // namespace
} // namespace quellor::test
