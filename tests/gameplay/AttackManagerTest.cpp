// The attack manager: the knock-back shot's cooldown, the lift beam's freedom from it, and
// which weapon each call drives.
#include "tests/gameplay/WeaponTestKit.h"

namespace quellor::test {
namespace {

class AttackManagerTest : public WeaponTest {
protected:
    void SetUp() override
    {
        WeaponTest::SetUp();
        shooter = Armed("shooter", "red", 0.0f, 0.0f);
        enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    }

    // The manager's update runs once a frame from the game logic.
    void Seconds(float seconds) { world->Step(static_cast<int>(seconds * 60.0f + 0.5f)); }

    Entity* shooter = nullptr;
    Entity* enemy = nullptr;
};

TEST_F(AttackManagerTest, TheShotCoolsDownAfterEachAttack)
{
    AttackManager& attacks = Attacks(shooter);
    EXPECT_EQ(attacks.GetWeapon(), AttackManager::kLiftBeam);
    attacks.SetWeapon(AttackManager::kKnockBackShot);
    EXPECT_TRUE(attacks.CanFire());

    attacks.StartAttack();
    EXPECT_FALSE(attacks.CanFire());
    Seconds(0.5f);
    EXPECT_FALSE(attacks.CanFire());
    Seconds(0.3f);
    EXPECT_TRUE(attacks.CanFire());

    // Ending an attack restarts the cooldown too; the timer keeps falling below 0 meanwhile.
    Seconds(1.0f);
    EXPECT_LT(attacks.GetCooldownTimer(), -0.9f);
    attacks.EndAttack();
    Seconds(0.5f);
    EXPECT_FALSE(attacks.CanFire());
    Seconds(0.3f);
    EXPECT_TRUE(attacks.CanFire());

    // With no cooldown the shot is always ready.
    attacks.m_snapshotCooldown = 0.0f;
    attacks.StartAttack();
    EXPECT_TRUE(attacks.CanFire());
    attacks.EndAttack();
    EXPECT_TRUE(attacks.CanFire());
}

TEST_F(AttackManagerTest, TheBeamIgnoresTheCooldownAndOtherWeaponsDoNothing)
{
    AttackManager& attacks = Attacks(shooter);
    attacks.SetWeapon(AttackManager::kKnockBackShot);
    attacks.StartAttack();
    attacks.SetWeapon(AttackManager::kLiftBeam);
    EXPECT_TRUE(attacks.CanFire());

    attacks.SetWeapon(7);
    const float timer = attacks.GetCooldownTimer();
    attacks.StartAttack();
    attacks.EndAttack();
    EXPECT_TRUE(attacks.CanFire());
    EXPECT_FLOAT_EQ(attacks.GetCooldownTimer(), timer);
    EXPECT_EQ(world->PlayCount("lift_begin.ogg"), 0u);
    EXPECT_EQ(world->PlayCount("knockback.ogg"), 0u);
}

TEST_F(AttackManagerTest, EndingTheBeamFadesItOut)
{
    AttackManager& attacks = Attacks(shooter);
    EXPECT_EQ(attacks.GetLiftComponent(), &Lift(shooter));
    EXPECT_EQ(attacks.GetSnapshotComponent(), &Shot(shooter));
    BeamFrame(shooter, enemy);
    const EntityRef beam = Lift(shooter).GetBeamEntity();
    ASSERT_NE(beam.Get(), nullptr);

    attacks.EndAttack();
    EXPECT_EQ(Lift(shooter).GetBeamEffect(), nullptr);
    // The hold stays and runs out on its own timer.
    EXPECT_NE(Held(shooter, enemy), nullptr);
    world->Step(32);
    EXPECT_EQ(beam.Get(), nullptr);
    // The next burst makes a new effect.
    BeamFrame(shooter, enemy);
    EXPECT_NE(Lift(shooter).GetBeamEntity(), nullptr);
}

} // namespace
} // namespace quellor::test
