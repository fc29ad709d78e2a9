// Archetypes set every weapon field by its reflected name; hostile values load and act safely.
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "tests/gameplay/WeaponLevels.h"
#include "tests/gameplay/WeaponTestKit.h"

#include <cmath>

namespace quellor::test {
namespace {

class WeaponArchetypeTest : public WeaponTest {
protected:
    Entity* Load(const std::string& file, const char* text, const std::string& name)
    {
        world->WriteFile("archetypes/" + file, text);
        world->resources->ScanDirectory("");
        return world->objects->Clone(file, name, "default");
    }
};

TEST_F(WeaponArchetypeTest, SetsEveryWeaponField)
{
    Entity* player = Load("armed.arch", weapon_levels::kArmedPlayer, "armed");
    ASSERT_NE(player, nullptr);
    const LiftComponent& lift = Lift(player);
    EXPECT_EQ(lift.m_range, 500.0f);
    EXPECT_EQ(lift.m_environmentLiftForce, 50.0f);
    EXPECT_EQ(lift.m_liftTime, 1.5f);
    EXPECT_EQ(lift.m_playerLiftForce, 14.0f);
    EXPECT_EQ(lift.m_playerSlowSpeed, 6.0f);
    EXPECT_EQ(lift.m_tagTime, 0.5f);
    EXPECT_EQ(lift.m_tagLastTime, 6.0f);
    EXPECT_EQ(lift.m_effectEmitter, "lift_fx.pe");
    EXPECT_EQ(lift.m_beamShotEmitter, "lift_shot.pe");
    const SnapshotComponent& shot = Shot(player);
    EXPECT_EQ(shot.m_knockbackForce, 150.0f);
    EXPECT_EQ(shot.m_enviroKnockBackForce, 400.0f);
    EXPECT_EQ(shot.m_range, 800.0f);
    EXPECT_EQ(shot.m_groundStunTime, 0.5f);
    EXPECT_EQ(shot.m_airStunTime, 0.7f);
    EXPECT_EQ(shot.m_shotOffestMultiplier, 2.0f);
    EXPECT_EQ(Attacks(player).m_snapshotCooldown, 0.5f);
    // All three run in their game-logic slots.
    for (const GameLogicMember* member : {static_cast<const GameLogicMember*>(&lift),
                                          static_cast<const GameLogicMember*>(&shot),
                                          static_cast<const GameLogicMember*>(&Attacks(player))})
        EXPECT_TRUE(member->IsInLogicSlot());
}

TEST_F(WeaponArchetypeTest, HostileValuesActSafely)
{
    Entity* player = Load("hostile.arch", weapon_levels::kHostileWeapons, "hostile");
    ASSERT_NE(player, nullptr);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    world->logic->AddPlayer(-1, player, true, false);
    world->Step(2);

    const Ray3D ray{ZOR::float3(0.0f, 5.0f, 0.0f), ZOR::float3(1.0f, 0.0f, 0.0f)};
    Lift(player).Fire(ray);
    world->Step();
    EXPECT_FALSE(Data(enemy).m_isLifted);
    EXPECT_EQ(Lift(player).GetBeamEffect()->m_end, ray.origin);
    EXPECT_EQ(Lift(player).GetTagFraction(enemy), 0.0f);
    EXPECT_FALSE(Shot(player).TryHit(ray));
    EXPECT_FLOAT_EQ(Data(enemy).m_stunTimer, 0.0f);

    // A negative cooldown never counts down and never holds the shot back.
    AttackManager& attacks = Attacks(player);
    attacks.SetWeapon(AttackManager::kKnockBackShot);
    attacks.StartAttack();
    world->Step(3);
    EXPECT_TRUE(attacks.CanFire());
    EXPECT_FLOAT_EQ(attacks.GetCooldownTimer(), -1.0f);
}

} // namespace
} // namespace quellor::test
