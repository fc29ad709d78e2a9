// How a motor comes into a match: read from an archetype, set up with the player's body steps,
// and placed at its team's spawn point when the player joins.
#include "tests/gameplay/MotorTestKit.h"

#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/SpawnPointComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "tests/gameplay/GameplayLevels.h"

namespace quellor::test {
namespace {

TEST_F(MotorTest, ArchetypeSetsAllFourteenFields)
{
    world->WriteFile("archetypes/motor.arch", gameplay_levels::kMotorPlayer);
    world->resources->ScanDirectory("");
    Entity* player = world->objects->Clone("motor.arch", "motor", "default");
    ASSERT_NE(player, nullptr);
    const CharacterMotor3D& motor = Motor(player);
    EXPECT_EQ(motor.m_speed, 11.0f);
    EXPECT_EQ(motor.m_chargSpeed, 4.0f);
    EXPECT_EQ(motor.m_accelMaxChange, 30.0f);
    EXPECT_EQ(motor.m_maxFallSpeed, 60.0f);
    EXPECT_EQ(motor.m_slopeLimit, 50.0f);
    EXPECT_EQ(motor.m_jumpDir.x, 0.5f);
    EXPECT_EQ(motor.m_jumpDir.y, 2.0f);
    EXPECT_EQ(motor.m_jumpDir.z, -0.5f);
    EXPECT_EQ(motor.m_gravity, 12.0f);
    EXPECT_EQ(motor.m_jumpHeight, 2.0f);
    EXPECT_EQ(motor.m_snapShotDamping, 0.5f);
    EXPECT_EQ(motor.m_airControlPercent, 0.25f);
    EXPECT_EQ(motor.m_stepFactor, 0.3f);
    EXPECT_EQ(motor.m_ellipseA, 1.5f);
    EXPECT_EQ(motor.m_ellipseB, 4.5f);
    EXPECT_EQ(motor.m_ellipseC, 1.75f);
    // The base values are the file's, taken at Initialize.
    EXPECT_EQ(motor.GetBaseSpeed(), 11.0f);
    EXPECT_EQ(motor.GetBaseGravity(), 12.0f);
    EXPECT_TRUE(motor.IsInLogicSlot());
}

TEST_F(MotorTest, BodyStepsShapeThePlayerAsTheSetUpDoes)
{
    Entity* person = Player("person", 0.0f, 0.0f, 0.0f, {"red", 0, 2.0f});
    Entity* bot = Player("bot", 10.0f, 0.0f, 0.0f, {"blue", -1, 2.0f, PlayerBody::SensorTag::ColliderDefault});
    for (Entity* player : {person, bot}) {
        SCOPED_TRACE(player->GetName());
        auto* box = player->GetComponent<BoxColliderComponent3D>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->m_halfExtents.x, 1.0f);
        EXPECT_EQ(box->m_halfExtents.y, 4.0f);
        EXPECT_EQ(box->m_halfExtents.z, 1.0f);
        EXPECT_EQ(box->m_center.y, 3.0f);
        EXPECT_EQ(box->m_pType, 1);
        EXPECT_FALSE(box->IsSensor());
        auto* sensor = dynamic_cast<BoxColliderComponent3D*>(player->GetComponent(PlayerBody::kFloorSensorKey));
        ASSERT_NE(sensor, nullptr);
        EXPECT_EQ(Motor(player).GetFloorSensor(), sensor);
        EXPECT_EQ(sensor->m_halfExtents.x, 1.0f);
        EXPECT_EQ(sensor->m_halfExtents.y, 0.5f);
        EXPECT_TRUE(sensor->IsSensor());
        auto* body = player->GetComponent<RigidBodyComponent3D>();
        EXPECT_EQ(body->GetType(), 2);
        EXPECT_FALSE(body->m_allowRotation);
        EXPECT_FALSE(body->m_hasGravity);
    }
    EXPECT_EQ(dynamic_cast<BoxColliderComponent3D*>(person->GetComponent(PlayerBody::kFloorSensorKey))->m_pType, 1);
    EXPECT_EQ(dynamic_cast<BoxColliderComponent3D*>(bot->GetComponent(PlayerBody::kFloorSensorKey))->m_pType, 0);

    // Once the boxes are on, the ellipsoid's centre is the body box's centre.
    world->Step();
    const Vec4 centre = person->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass();
    EXPECT_NEAR(centre.y - Position(person).y, 3.0f, 1e-4f);
}

TEST_F(MotorTest, JoiningPlacesThePlayerAtItsSpawnPointAboveIt)
{
    world->AddSpawnPoint("redSpawn", "red", 10.0f, 2.0f, -5.0f);
    Entity* player = Player("p", 0.0f, 0.0f, 0.0f, {"red", 0, 1.5f});
    world->logic->AddPlayer(0, player, false, true);
    const Vec4 placed = Position(player);
    EXPECT_FLOAT_EQ(placed.x, 10.0f);
    EXPECT_FLOAT_EQ(placed.y, 3.5f);
    EXPECT_FLOAT_EQ(placed.z, -5.0f);
    // The body's first update takes the transform's place: the same one.
    world->Step();
    EXPECT_FLOAT_EQ(Position(player).x, 10.0f);
    EXPECT_FLOAT_EQ(Position(player).y, 3.5f);
    EXPECT_FLOAT_EQ(Position(player).z, -5.0f);
    EXPECT_FLOAT_EQ(player->GetComponent<Transform3D>()->GetPosition().x, 10.0f);

    // A team without a spawn point stays where it stands.
    Entity* stray = Player("stray", 1.0f, 2.0f, 3.0f, {"green", 1});
    world->logic->AddPlayer(1, stray, false, true);
    world->Step();
    EXPECT_FLOAT_EQ(Position(stray).x, 1.0f);
    EXPECT_FLOAT_EQ(Position(stray).z, 3.0f);
}

} // namespace
} // namespace quellor::test
