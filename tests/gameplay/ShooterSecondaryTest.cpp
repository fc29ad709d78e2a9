// The secondary weapon from the person's input: the lift beam's hold with the screen's radial
// blur, the knock-back shot once per press, both ignored while an orb charges or the player is
// knocked back; and one cloned player doing everything in one run.
#include "ShooterTestKit.h"

#include "engine/graphics/GraphicsSystem.h"

namespace quellor::test {
namespace {

class ShooterSecondaryTest : public ShooterTest {
protected:
    void SetUp() override
    {
        ShooterTest::SetUp();
        world->LoadEffect(SnapshotComponent::kShotSound);
    }

    ZOR::RenderSystem::Screen& Screen(int id) { return world->graphics->GetScreen(id); }
    static AttackManager& Attacks(Entity* player) { return *player->GetComponent<AttackManager>(); }
    static LiftComponent& Lift(Entity* player) { return *player->GetComponent<LiftComponent>(); }
};

TEST_F(ShooterSecondaryTest, ALiftHoldBlursThePersonsScreenFiresEveryFrameAndBlocksOrbs)
{
    Entity* player = Person("person", "red", 0);
    ShooterInput* input = InputOf(player);
    Screen(0).RadialBlurStrength() = 9.0f;
    Keys().SetKey(ShooterInput::kKeyE, true);
    world->Step(1);
    EXPECT_TRUE(BlurOn(0));
    EXPECT_FALSE(BlurOn(1));
    // Both start from 0; the tweens start with the action system's next frame.
    EXPECT_EQ(Screen(0).RadialBlurStrength(), 0.0f);
    EXPECT_EQ(Screen(0).RadialBlurDistance(), 0.0f);
    for (int frame = 0; frame < 20; ++frame) {
        world->Step(1);
        EXPECT_TRUE(Data(player).m_liftInUse) << frame;
        EXPECT_TRUE(input->IsOrbFireBlocked()) << frame;
        EXPECT_TRUE(input->IsSecondaryHeld()) << frame;
        EXPECT_NE(Lift(player).GetBeamEntity(), nullptr) << frame;
        EXPECT_GT(Animation(player).GetShotPose().GetLiftLevel(), 0.0f) << frame;
    }
    // Part way along the eased tween (which may overshoot).
    EXPECT_GT(Screen(0).RadialBlurStrength(), 0.2f);
    EXPECT_NE(Screen(0).RadialBlurStrength(), ShooterInput::kBlurStrength);
    // A Q tap does not fire while the beam is held.
    Keys().TapKey(ShooterInput::kKeyQ);
    world->Step(2 + kSpawnFrames);
    EXPECT_TRUE(Weapon(player).GetOrbs().empty());
    world->Step(10); // past the 0.75 s
    EXPECT_EQ(Screen(0).RadialBlurStrength(), ShooterInput::kBlurStrength);
    EXPECT_EQ(Screen(0).RadialBlurDistance(), ShooterInput::kBlurDistance);
    EXPECT_TRUE(BlurOn(0));

    Keys().SetKey(ShooterInput::kKeyE, false);
    world->Step(1);
    EXPECT_FALSE(BlurOn(0));
    EXPECT_FALSE(Data(player).m_liftInUse);
    EXPECT_FALSE(input->IsOrbFireBlocked());
    world->Step(40); // the beam fades out and goes
    EXPECT_EQ(Lift(player).GetBeamEntity(), nullptr);
    // After the hold a tap fires again.
    Keys().TapKey(ShooterInput::kKeyQ);
    world->Step(2 + kSpawnFrames);
    EXPECT_EQ(Weapon(player).GetOrbs().size(), 1u);
}

TEST_F(ShooterSecondaryTest, ThePadsLeftTriggerHoldsTheBeamAbove150OnTheSecondPersonsScreen)
{
    Person("first", "red", 0);
    Entity* second = Person("second", "blue", 1, 20.0f, 0.0f);
    SetLeftTrigger(1, ShooterInput::kLiftTrigger);
    world->Step(2);
    EXPECT_FALSE(Data(second).m_liftInUse);
    SetLeftTrigger(1, ShooterInput::kLiftTrigger + 1);
    world->Step(2);
    EXPECT_TRUE(Data(second).m_liftInUse);
    EXPECT_TRUE(BlurOn(1));
    EXPECT_FALSE(BlurOn(0));
    SetLeftTrigger(1, 0);
    world->Step(1);
    EXPECT_FALSE(BlurOn(1));
}

TEST_F(ShooterSecondaryTest, TheKnockBackShotFiresOncePerPressAndNotWhileCharging)
{
    Entity* player = Person("person", "red", 0);
    Attacks(player).SetWeapon(AttackManager::kKnockBackShot);
    Keys().SetKey(ShooterInput::kMouseLeft, true);
    world->Step(1);
    EXPECT_EQ(Plays(SnapshotComponent::kShotSound), 1u);
    EXPECT_GT(Animation(player).GetShotPose().GetOrbRemaining(), 0.0f);
    world->Step(30);
    EXPECT_EQ(Plays(SnapshotComponent::kShotSound), 1u);
    EXPECT_FALSE(BlurOn(0)); // no blur for the shot
    Keys().SetKey(ShooterInput::kMouseLeft, false);
    world->Step(1);
    Keys().SetKey(ShooterInput::kKeyE, true);
    world->Step(1);
    EXPECT_EQ(Plays(SnapshotComponent::kShotSound), 2u);
    Keys().SetKey(ShooterInput::kKeyE, false);
    world->Step(1);

    // Charging first: the press is ignored for as long as the charge lasts.
    Keys().SetKey(ShooterInput::kMouseRight, true);
    world->Step(3);
    Keys().SetKey(ShooterInput::kKeyE, true);
    world->Step(10);
    EXPECT_EQ(Plays(SnapshotComponent::kShotSound), 2u);
    EXPECT_FALSE(InputOf(player)->IsSecondaryHeld());
}

TEST_F(ShooterSecondaryTest, TheBeamIsIgnoredWhileChargingAndWhileKnockedBack)
{
    Entity* player = Person("person", "red", 0);
    Keys().SetKey(ShooterInput::kMouseRight, true);
    Keys().SetKey(ShooterInput::kKeyE, true);
    world->Step(5);
    EXPECT_TRUE(Data(player).m_charging);
    EXPECT_FALSE(Data(player).m_liftInUse);
    EXPECT_FALSE(BlurOn(0));
    EXPECT_EQ(Lift(player).GetBeamEntity(), nullptr);
    Keys().SetKey(ShooterInput::kMouseRight, false);
    world->Step(1);
    world->Step(1);
    EXPECT_TRUE(Data(player).m_liftInUse); // the charge ended: the held key now holds the beam
    Keys().SetKey(ShooterInput::kKeyE, false);
    world->Step(60);

    Data(player).m_stunTimer = 100.0f;
    Keys().SetKey(ShooterInput::kKeyE, true);
    world->Step(5);
    EXPECT_FALSE(Data(player).m_liftInUse);
    EXPECT_FALSE(BlurOn(0));
    EXPECT_EQ(Lift(player).GetBeamEntity(), nullptr);
}

TEST_F(ShooterSecondaryTest, AClonedPlayerWalksJumpsChargesFiresAndHoldsTheBeamInOneRun)
{
    Entity* player = Person("person", "red", 0);
    world->Step(20);
    const ZOR::float3 start = Place(player);
    Hold(ShooterInput::kKeyW, 30);
    const ZOR::float3 walked = Place(player);
    EXPECT_GT(std::hypot(walked.x - start.x, walked.z - start.z), 2.0f);

    world->Step(20);
    const float ground = Place(player).y;
    Keys().TapKey(ShooterInput::kKeyLeftShift);
    world->Step(10);
    EXPECT_GT(Place(player).y, ground + 0.5f);
    world->Step(120);

    Hold(ShooterInput::kMouseRight, 30);
    world->Step(1 + kSpawnFrames);
    ASSERT_EQ(Weapon(player).GetOrbs().size(), 1u);
    EXPECT_GT(Weapon(player).GetOrbs()[0].force, Weapon(player).ForceOf(0.2f));

    Keys().SetKey(ShooterInput::kKeyE, true);
    world->Step(10);
    EXPECT_NE(Lift(player).GetBeamEntity(), nullptr);
    EXPECT_TRUE(BlurOn(0));
    Keys().SetKey(ShooterInput::kKeyE, false);
    world->Step(1);
    EXPECT_FALSE(BlurOn(0));
}

} // namespace
} // namespace quellor::test
