// The orb cycle from the person's input: taps, trigger presses and holds, the cooldown, the walk
// while charging, the charging sound and the charge visuals at the hand.
#include "ShooterTestKit.h"

#include <functional>
#include <vector>

namespace quellor::test {
namespace {

TEST_F(ShooterTest, AQTapFiresAtNoChargeAndLocksTheOrbOutForASecond)
{
    Entity* player = Person("person", "red", 0);
    ShooterInput* input = InputOf(player);
    Keys().TapKey(ShooterInput::kKeyQ);
    world->Step(1); // down for a frame
    EXPECT_TRUE(Weapon(player).GetOrbs().empty());
    world->Step(1); // the release fires; the idle part of the frame counts the cooldown
    EXPECT_NEAR(input->GetFireCooldown(), ShooterInput::kFireCooldown - tarsel::test::GameWorld::kDt, 1e-6f);
    EXPECT_FALSE(Data(player).m_charging);
    world->Step(kSpawnFrames);
    ASSERT_EQ(Weapon(player).GetOrbs().size(), 1u);
    EXPECT_EQ(Weapon(player).GetOrbs()[0].force, Weapon(player).ForceOf(0.0f));

    // Half a second on, a tap does nothing.
    world->Step(10);
    Keys().TapKey(ShooterInput::kKeyQ);
    world->Step(kSpawnFrames + 1);
    EXPECT_EQ(Weapon(player).GetOrbs().size(), 1u);
    // After the second of cooldown it fires again.
    world->Step(30);
    Keys().TapKey(ShooterInput::kKeyQ);
    world->Step(kSpawnFrames + 1);
    EXPECT_EQ(Weapon(player).GetOrbs().size(), 2u);
}

TEST_F(ShooterTest, ATriggerPressedAndReleasedWithinTheDelayFiresAtNoCharge)
{
    Keys().SetPadConnected(0, true);
    Entity* player = Person("person", "red", 0);
    SetTrigger(0, 255);
    world->Step(6); // 0.1 s, inside the 0.15 s delay
    EXPECT_TRUE(Data(player).m_charging);
    EXPECT_EQ(InputOf(player)->GetChargeTime(), 0.0f);
    SetTrigger(0, 0);
    world->Step(1 + kSpawnFrames);
    ASSERT_EQ(Weapon(player).GetOrbs().size(), 1u);
    EXPECT_EQ(Weapon(player).GetOrbs()[0].force, Weapon(player).ForceOf(0.0f));
}

TEST_F(ShooterTest, AHalfSecondHoldFiresWithTheChargeAfterTheDelayAndSlowsTheWalkMeanwhile)
{
    Keys().SetPadConnected(0, true);
    Entity* player = Person("person", "red", 0);
    CharacterMotor3D& motor = Motor(player);
    const float base = motor.GetBaseSpeed();
    ASSERT_GT(base, 0.0f);
    ShooterInput* input = InputOf(player);
    const OrbChargeComponent* sphere = player->GetComponent<OrbChargeComponent>();

    SetTrigger(0, ShooterInput::kLiftTrigger); // any value the input system counts
    for (int frame = 0; frame < 30; ++frame) {
        world->Step(1);
        EXPECT_NEAR(motor.GetSpeed(), ShooterInput::kChargeWalk * base, 1e-5f) << frame;
        // The sphere stays up for the whole charge: no shrink was queued by an idle frame.
        EXPECT_TRUE(sphere->IsVisible()) << frame;
        EXPECT_TRUE(world->sound->IsPlaying(ShooterInput::kChargeSound, 0)) << frame;
        EXPECT_EQ(Weapon(player).m_currentCharge, input->GetChargeTime()) << frame;
    }
    const float charged = input->GetChargeTime();
    EXPECT_NEAR(charged, 0.35f, tarsel::test::GameWorld::kDt + 1e-4f);
    // The charge sound loops.
    bool looping = false;
    for (const std::string& call : world->audio->calls)
        looping = looping || call.find("loops=-1") != std::string::npos;
    EXPECT_TRUE(looping);

    SetTrigger(0, 0);
    world->Step(1);
    EXPECT_FALSE(world->sound->IsPlaying(ShooterInput::kChargeSound, 0));
    EXPECT_EQ(motor.GetSpeed(), base);
    EXPECT_EQ(Weapon(player).m_currentCharge, 0.0f);
    world->Step(kSpawnFrames);
    ASSERT_EQ(Weapon(player).GetOrbs().size(), 1u);
    const float force = Weapon(player).GetOrbs()[0].force;
    EXPECT_NEAR(force, 525.0f, Weapon(player).ForceOf(tarsel::test::GameWorld::kDt) - Weapon(player).ForceOf(0.0f));
    EXPECT_EQ(force, Weapon(player).ForceOf(charged));

    // The sphere shrinks away after the shot.
    world->Step(30);
    EXPECT_FALSE(sphere->IsVisible());
}

TEST_F(ShooterTest, AChargeThatEndsWithoutAShotStopsItsLoopAndItsVisualsOnTheNextFrame)
{
    Entity* player = Person("person", "red", 0);
    ShooterInput* input = InputOf(player);
    const OrbChargeComponent* sphere = player->GetComponent<OrbChargeComponent>();
    PlayerDataComponent& data = Data(player);
    struct Ending {
        const char* name;
        std::function<void(bool)> set; // true: the event starts; false: it is over
    };
    const std::vector<Ending> endings = {
        {"knock-back", [&](bool on) { data.m_stunTimer = on ? 1.0f : 0.0f; }},
        {"knocked out",
         [&](bool on) {
             data.canControl = !on;
             data.m_dying = on;
         }},
        {"control taken (intro, pause, win)", [&](bool on) { data.canControl = !on; }},
    };
    for (const Ending& ending : endings) {
        Keys().SetKey(ShooterInput::kMouseRight, true);
        world->Step(20);
        ASSERT_TRUE(world->sound->IsPlaying(ShooterInput::kChargeSound, 0)) << ending.name;
        ASSERT_TRUE(sphere->IsVisible()) << ending.name;
        ending.set(true);
        world->Step(1);
        EXPECT_FALSE(world->sound->IsPlaying(ShooterInput::kChargeSound, 0)) << ending.name;
        EXPECT_FALSE(data.m_charging) << ending.name;
        EXPECT_FALSE(input->GetChargeEmitter()->GetEmitting()) << ending.name;
        EXPECT_FALSE(input->GetChargeLight()->GetVisible(0)) << ending.name;
        EXPECT_EQ(input->GetChargeTime(), 0.0f) << ending.name;
        EXPECT_EQ(Weapon(player).m_currentCharge, 0.0f) << ending.name;
        // The sphere shrinks away and stays hidden while the event lasts, the button still held.
        world->Step(20);
        EXPECT_FALSE(sphere->IsVisible()) << ending.name;
        EXPECT_FALSE(world->sound->IsPlaying(ShooterInput::kChargeSound, 0)) << ending.name;
        Keys().SetKey(ShooterInput::kMouseRight, false);
        world->Step(1);
        ending.set(false);
        world->Step(kSpawnFrames);
        EXPECT_TRUE(Weapon(player).GetOrbs().empty()) << ending.name;
    }

    // The player goes mid-charge: the cancelled set-up stops the loop.
    Keys().SetKey(ShooterInput::kMouseRight, true);
    world->Step(20);
    ASSERT_TRUE(world->sound->IsPlaying(ShooterInput::kChargeSound, 0));
    player->Destroy();
    world->Step(1);
    EXPECT_FALSE(world->sound->IsPlaying(ShooterInput::kChargeSound, 0));
}

TEST_F(ShooterTest, TheChargeParticlesSpawnAndTheLightsBoundsFollowTheHand)
{
    Entity* player = Person("person", "red", 0);
    ShooterInput* input = InputOf(player);
    const ZOR::PointLight* light = input->GetChargeLight();
    const ZOR::ParticleEmitter* emitter = input->GetChargeEmitter();
    Keys().SetKey(ShooterInput::kMouseRight, true);
    world->Step(20);
    EXPECT_TRUE(emitter->GetEmitting());
    EXPECT_GT(emitter->GetParticleCount(), 0u);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE(light->GetVisible(screen)) << screen;
    EXPECT_GE(light->GetIntensity(), 3.0f);
    EXPECT_LE(light->GetIntensity(), 3.75f);

    // Walk while charging: the bounds move with the hand.
    Keys().SetKey(ShooterInput::kKeyD, true);
    world->Step(15);
    const Vec4 hand = PlayerUtil::HandPoint(*player);
    const ZOR::AABB& bounds = light->GetAABB();
    ExpectNear3((bounds.min + bounds.max) * 0.5f, XYZ(hand), 0.5f);
    EXPECT_NEAR(bounds.max.x - bounds.min.x, 2.0f * light->GetRadius(), 1e-3f);
    ExpectNear3(emitter->GetPosition(), XYZ(hand), 0.5f);

    Keys().SetKey(ShooterInput::kMouseRight, false);
    world->Step(1);
    EXPECT_FALSE(emitter->GetEmitting());
    EXPECT_FALSE(light->GetVisible(0));
    EXPECT_EQ(light->GetIntensity(), 0.0f);
    EXPECT_EQ(light->GetRadius(), ShooterInput::kIdleLightRadius);
}

TEST_F(ShooterTest, AKnockedBackPlayerAimsButNeitherMovesNorFires)
{
    Entity* player = Person("person", "red", 0);
    Data(player).m_stunTimer = 100.0f;
    const float yaw = Camera(player).GetYaw();
    Keys().SetKey(ShooterInput::kKeyW, true);
    Keys().SetKey(ShooterInput::kKeyLeft, true);
    Keys().TapKey(ShooterInput::kKeyQ);
    world->Step(1 + kSpawnFrames);
    EXPECT_EQ(Motor(player).m_moveInput.x, 0.0f);
    EXPECT_EQ(Motor(player).m_moveInput.z, 0.0f);
    EXPECT_TRUE(Weapon(player).GetOrbs().empty());
    EXPECT_GT(Camera(player).GetYaw(), yaw);
}

} // namespace
} // namespace quellor::test
