// The person's set-up: the parts it adds and how it joins, what runs before control is given,
// archetypes that lack or repeat parts, and leaving the match when the entity or the action goes.
#include "ShooterTestKit.h"

#include "engine/graphics/GraphicsSystem.h"
#include "physics/BoxColliderComponent3D.h"
#include "tests/support/StdoutCapture.h"

namespace quellor::test {
namespace {

TEST_F(ShooterTest, TheSetUpAddsTheBodyPartsAndJoinsOnceWithControlTakenAway)
{
    Entity* player = Clone("person", "red", 0, 5.0f, 0.0f);
    ASSERT_NE(player, nullptr);
    const Vec4 before = player->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass();
    world->Step(1);
    ShooterInput* input = InputOf(player);
    ASSERT_NE(input, nullptr);
    ASSERT_TRUE(input->IsInitialized());
    const float r = Data(player).sphereCollRadius;

    auto* box = player->GetComponent<BoxColliderComponent3D>();
    ASSERT_NE(box, nullptr);
    ExpectNear3(XYZ(box->m_halfExtents), ZOR::float3(0.5f * r, 2.0f * r, 0.5f * r), 1e-6f);
    ExpectNear3(XYZ(box->m_center), ZOR::float3(0.0f, r + 1.0f, 0.0f), 1e-6f);
    EXPECT_EQ(box->m_pType, 1);
    auto* sensor = dynamic_cast<BoxColliderComponent3D*>(player->GetComponent(PlayerBody::kFloorSensorKey));
    ASSERT_NE(sensor, nullptr);
    EXPECT_TRUE(sensor->m_isSensor);
    EXPECT_EQ(sensor->m_pType, 1);
    EXPECT_EQ(Motor(player).GetFloorSensor(), sensor);

    const auto* body = player->GetComponent<RigidBodyComponent3D>();
    EXPECT_EQ(body->m_type, 2);
    EXPECT_FALSE(body->m_allowRotation);
    EXPECT_FALSE(body->m_hasGravity);
    EXPECT_FALSE(Data(player).canControl);

    ASSERT_EQ(world->logic->GetPlayerCount(), 1u);
    EXPECT_EQ(world->logic->GetPlayer(0), player);
    EXPECT_EQ(Camera(player).GetScreenID(), 0);
    EXPECT_EQ(input->GetScreen(), 0);
    // Raised by 20 from where the body stood at the set-up (the box moves the centre by r + 1).
    EXPECT_NEAR(Data(player).m_spawnRefPoint.x, before.x, 1e-3f);
    EXPECT_NEAR(Data(player).m_spawnRefPoint.z, before.z, 1e-3f);
    EXPECT_GT(Data(player).m_spawnRefPoint.y, before.y + 19.0f);
    EXPECT_LT(Data(player).m_spawnRefPoint.y, before.y + 20.0f + r + 1.0f + 1e-3f);

    // Nothing has run but the hand placement: the blend inputs keep the set-up's 1.0.
    AnimationControllerComponent& animation = Animation(player);
    EXPECT_EQ(animation.GetMoveX(), 1.0f);
    EXPECT_EQ(animation.GetMoveY(), 1.0f);
    EXPECT_EQ(animation.GetAimX(), 1.0f);
    EXPECT_EQ(animation.GetAimY(), 1.0f);

    const ZOR::PointLight* light = input->GetChargeLight();
    const ZOR::ParticleEmitter* emitter = input->GetChargeEmitter();
    ASSERT_NE(light, nullptr);
    ASSERT_NE(emitter, nullptr);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(light->GetVisible(screen)) << screen;
    EXPECT_TRUE(Listed(light));
    EXPECT_TRUE(Listed(emitter));
    EXPECT_EQ(emitter->GetMaxParticles(), 32u); // the file was read
    EXPECT_FALSE(emitter->GetEmitting());
    for (const std::string& part : {OrbComponent::ID, ArmChargeComponent::ID, OrbChargeComponent::ID,
                                    ThirdPersonCameraComponent::ID, AimAssistComponent::ID})
        EXPECT_TRUE(player->HasComponent(part)) << part;

    // Frames later it is still one player: the set-up ran once.
    world->Step(5);
    EXPECT_EQ(world->logic->GetPlayerCount(), 1u);
}

TEST_F(ShooterTest, UntilControlIsGivenOnlyTheScoreShortcutAndTheHandPlacementRun)
{
    Entity* player = Clone("person", "red", 0);
    world->Step(12);
    ShooterInput* input = InputOf(player);
    ASSERT_NE(input, nullptr);
    const float yaw = Camera(player).GetYaw();
    const std::size_t landings = Plays(ShooterInput::kJumpSound); // the motor lands with it too

    Keys().SetKey(ShooterInput::kKeyW, true);
    Keys().SetKey(ShooterInput::kKeyLeft, true);
    Keys().SetKey(ShooterInput::kMouseRight, true);
    Keys().SetPadAxis(1, platform::PadAxis::LeftX, 32767); // another pad: pad 0 stays unplugged
    Keys().TapKey(ShooterInput::kKeyLeftShift);
    world->Step(3);
    EXPECT_EQ(Motor(player).m_moveInput.x, 0.0f);
    EXPECT_EQ(Motor(player).m_moveInput.z, 0.0f);
    EXPECT_EQ(Plays(ShooterInput::kJumpSound), landings);
    EXPECT_EQ(Camera(player).GetYaw(), yaw);
    EXPECT_FALSE(Data(player).m_charging);
    EXPECT_EQ(input->GetChargeTime(), 0.0f);

    // The light follows the hand all the same.
    const Vec4 hand = PlayerUtil::HandPoint(*player);
    const ZOR::AABB& bounds = input->GetChargeLight()->GetAABB();
    ExpectNear3((bounds.min + bounds.max) * 0.5f, XYZ(hand), 0.05f);

    Keys().SetKey(ShooterInput::kKeyCtrl, true);
    Keys().TapKey(ShooterInput::kKeyS);
    world->Step(1);
    EXPECT_EQ(world->logic->GetScores().at("red"), 1);
}

TEST_F(ShooterTest, AnArchetypeMissingARequiredPartIsNamedAndStaysOutOfTheMatch)
{
    for (const char* part : {"RigidBodyComponent3D", "PlayerDataComponent", "CharacterMotor3D",
                             "GraphicsComponent3DSkinned", "AnimationControllerComponent"}) {
        WriteArchetype(Without(PlayerParts(), part));
        tarsel::test::StdoutCapture capture;
        Entity* player = Clone(std::string("lacking") + part, "red", 0);
        ASSERT_NE(player, nullptr) << part;
        world->Step(3);
        const std::string output = capture.Text();
        EXPECT_NE(output.find(std::string("\"lacking") + part + "\" has no " + part), std::string::npos)
            << part << ": " << output;
        ShooterInput* input = InputOf(player);
        ASSERT_NE(input, nullptr) << part << ": the action never finishes";
        EXPECT_TRUE(input->IsInert()) << part;
        EXPECT_FALSE(player->HasComponent(OrbComponent::ID)) << part;
        EXPECT_EQ(world->logic->GetPlayerCount(), 0u) << part;
        player->Destroy();
        world->Step(1);
    }
}

TEST_F(ShooterTest, AnArchetypeCarryingASetUpPartKeepsItsOwnAndStillPlays)
{
    std::vector<std::string> parts = PlayerParts();
    parts.insert(parts.end() - 1, "<ThirdPersonCameraComponent><m_camRadius><float value=\"22\"/></m_camRadius>"
                                  "</ThirdPersonCameraComponent>");
    parts.insert(parts.end() - 1, "<AimAssistComponent/>");
    parts.insert(parts.end() - 1, "<AttackManager><m_snapshotCooldown><float value=\"2\"/></m_snapshotCooldown></AttackManager>");
    WriteArchetype(parts);
    tarsel::test::StdoutCapture capture;
    Entity* player = Person("carrier", "red", 0);
    const std::string output = capture.Text();
    EXPECT_NE(output.find("already holds ThirdPersonCameraComponent"), std::string::npos) << output;
    EXPECT_NE(output.find("already holds AimAssistComponent"), std::string::npos) << output;
    EXPECT_NE(output.find("already holds AttackManager"), std::string::npos) << output;
    EXPECT_EQ(Camera(player).m_camRadius, 22.0f);
    EXPECT_EQ(player->GetComponent<AttackManager>()->m_snapshotCooldown, 2.0f);
    EXPECT_EQ(world->logic->GetPlayerCount(), 1u);
    Hold(ShooterInput::kKeyW, 5);
    EXPECT_GT(std::fabs(Motor(player).GetVelocity().x) + std::fabs(Motor(player).GetVelocity().z), 1.0f);
}

TEST_F(ShooterTest, DestroyingThePlayerLeavesTheMatchAndTakesTheChargeVisualsOutOfTheRenderer)
{
    Entity* player = Person("person", "red", 0);
    Entity* other = Person("other", "blue", 1, 20.0f, 0.0f);
    ShooterInput* input = InputOf(player);
    const ZOR::Renderable* light = input->GetChargeLight();
    const ZOR::Renderable* emitter = input->GetChargeEmitter();
    static_cast<ZOR::RenderSystem&>(*world->graphics).EnableEffect(ZOR::RenderSystem::RadialBlur, 0);
    ASSERT_EQ(world->logic->GetPlayerCount(), 2u);

    player->Destroy();
    world->Step(1);
    EXPECT_EQ(world->logic->GetPlayerCount(), 1u);
    EXPECT_EQ(world->logic->GetPlayer(0), other);
    EXPECT_FALSE(Listed(light));
    EXPECT_FALSE(Listed(emitter));
    EXPECT_FALSE(BlurOn(0));
    // The renderer's next frames read nothing freed (ASan).
    world->Step(3);
}

TEST_F(ShooterTest, CancellingTheActionAloneLeavesTheMatchAndTheEntityStands)
{
    Entity* player = Person("person", "red", 0);
    ShooterInput* input = InputOf(player);
    const ZOR::Renderable* light = input->GetChargeLight();
    const ZOR::Renderable* emitter = input->GetChargeEmitter();
    static_cast<ZOR::RenderSystem&>(*world->graphics).EnableEffect(ZOR::RenderSystem::RadialBlur, 0);
    input->Cancel();
    EXPECT_EQ(world->logic->GetPlayerCount(), 0u);
    EXPECT_FALSE(Listed(light));
    EXPECT_FALSE(Listed(emitter));
    EXPECT_FALSE(BlurOn(0));
    world->Step(3);
    EXPECT_EQ(InputOf(player), nullptr);
    EXPECT_FALSE(player->IsDestroyed());
}

} // namespace
} // namespace quellor::test
