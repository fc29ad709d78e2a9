// The secondary weapons aimed from a person's third-person camera: from the point of the view
// line nearest the body, the shot's five rays, a miss's end, and the aberration pulse on the
// struck person's screen.
#include "engine/Engine.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "gameplay/effects/SnapshotFxComponent.h"
#include "tests/gameplay/WeaponTestKit.h"

namespace quellor::test {
namespace {

using ZOR::float3;

class WeaponAimTest : public WeaponTest {
protected:
    bool EdgeDetection(int screen) const
    {
        const ZOR::RenderSystem& render = *world->graphics;
        return render.EffectEnabled(ZOR::RenderSystem::EdgeDetection, screen);
    }
    ZOR::RenderSystem::Screen& Screen(int screen) const { return world->graphics->GetScreen(screen); }
    // The one shot effect standing in "default".
    SnapshotFxComponent* ShotEffect() const
    {
        Entity* entity = world->engine->GetEntity("snapshotFx", "default");
        return entity ? entity->GetComponent<SnapshotFxComponent>() : nullptr;
    }
};

TEST_F(WeaponAimTest, TheBeamPassesWhatStandsBetweenTheCameraAndTheShooter)
{
    Entity* shooter = ArmedPerson("shooter", "red", 0.0f, 0.0f, 0);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    Entity* blocker = Armed("blocker", "blue", -8.0f, 0.0f);
    LookThrough(shooter, Chest(enemy));

    // The attack manager fires the beam from the camera.
    Attacks(shooter).StartAttack();
    world->Step();
    EXPECT_TRUE(Data(enemy).m_isLifted);
    EXPECT_FALSE(Data(blocker).m_isLifted);
    ASSERT_NE(Lift(shooter).GetBeamEffect(), nullptr);
    EXPECT_GT(Lift(shooter).GetBeamEffect()->m_end.x, 19.0f);
    EXPECT_EQ(world->PlayCount("lift_begin.ogg"), 1u);
}

TEST_F(WeaponAimTest, WithoutACameraNeitherWeaponFires)
{
    Entity* bot = Armed("bot", "red", 0.0f, 0.0f);
    Armed("enemy", "blue", 20.0f, 0.0f);
    Lift(bot).FireFromCamera();
    Shot(bot).Fire();
    world->Step();
    EXPECT_EQ(Lift(bot).GetBeamEntity(), nullptr);
    EXPECT_EQ(ShotEffect(), nullptr);
    EXPECT_FALSE(world->Played("lift_begin.ogg"));
    EXPECT_FALSE(world->Played("knockback.ogg"));
}

TEST_F(WeaponAimTest, TheShotStopsAtTheFirstRayThatStrikes)
{
    Entity* shooter = ArmedPerson("shooter", "red", 0.0f, 0.0f, 0);
    Shot(shooter).m_shotOffestMultiplier = 3.0f;
    const float y = Chest(shooter).y;
    // Nothing on the centre line; one box above it and one below, three units off.
    Entity* above = Prop("above", 20.0f, y + 3.0f, 0.0f, 1);
    Entity* below = Prop("below", 20.0f, y - 3.0f, 0.0f, 1);
    world->Step();
    PointCamera(shooter, Chest(shooter) - float3(15.0f, 0.0f, 0.0f), float3(1.0f, 0.0f, 0.0f));

    Attacks(shooter).SetWeapon(AttackManager::kKnockBackShot);
    Attacks(shooter).StartAttack();
    EXPECT_FALSE(Attacks(shooter).CanFire());
    EXPECT_FLOAT_EQ(above->GetComponent<RigidBodyComponent3D>()->GetLinearVelocity().x, 500.0f);
    EXPECT_FLOAT_EQ(below->GetComponent<RigidBodyComponent3D>()->GetLinearVelocity().x, 0.0f);
    EXPECT_EQ(world->PlayCount("knockback.ogg"), 1u);
    EXPECT_EQ(world->PlayCount("hit_by_snapshot.ogg"), 1u);
}

TEST_F(WeaponAimTest, AMissEndsAlongTheCamerasLine)
{
    Entity* shooter = ArmedPerson("shooter", "red", 0.0f, 0.0f, 0);
    const float3 eye = Chest(shooter) + float3(0.0f, 3.0f, -15.0f);
    PointCamera(shooter, eye, float3(0.0f, 0.0f, 1.0f));
    Shot(shooter).Fire();
    const SnapshotFxComponent* effect = ShotEffect();
    ASSERT_NE(effect, nullptr);
    EXPECT_NEAR(effect->m_to.z, eye.z + 1000.0f, 1e-2f);
    EXPECT_NEAR(effect->m_to.y, eye.y, 1e-3f);
    EXPECT_EQ(world->PlayCount("knockback.ogg"), 1u);
    EXPECT_EQ(world->PlayCount("hit_by_snapshot.ogg"), 0u);
}

TEST_F(WeaponAimTest, AStruckPersonSeesAPulseOnItsOwnScreen)
{
    Entity* shooter = ArmedPerson("shooter", "red", 0.0f, 0.0f, 0);
    Entity* victim = ArmedPerson("victim", "blue", 20.0f, 0.0f, 1);
    const int screen = ScreenOf(victim);
    ASSERT_GT(screen, 0);
    ASSERT_NE(screen, ScreenOf(shooter));
    LookThrough(shooter, Chest(victim));
    Shot(shooter).Fire();
    EXPECT_EQ(Data(victim).GetLastHitter(), shooter);
    EXPECT_TRUE(EdgeDetection(screen));
    EXPECT_FALSE(EdgeDetection(ScreenOf(shooter)));
    EXPECT_FLOAT_EQ(Screen(screen).AberrationFactor(), 1.0f);

    // Frame by frame: up to the peak at 0.2 s, back down by 0.4 s, then the effect goes off.
    int peakFrame = -1;
    float peak = 0.0f;
    int offFrame = -1;
    for (int frame = 1; frame <= 30; ++frame) {
        world->Step();
        if (Screen(screen).AberrationFactor() > peak) {
            peak = Screen(screen).AberrationFactor();
            peakFrame = frame;
        }
        if (offFrame < 0 && !EdgeDetection(screen))
            offFrame = frame;
        if (frame == peakFrame) {
            EXPECT_NEAR(Screen(screen).AberrationIntensity(), 1.0f + 0.2f * (peak - 1.0f) / 4.0f, 1e-3f);
        }
    }
    // Sampled at frame ends, the top is at most one 1/60 s step of the 0.2 s tween short of 5.
    EXPECT_NEAR(peak, 5.0f, 4.0f / 12.0f + 1e-3f);
    EXPECT_GE(peakFrame, 11);
    EXPECT_LE(peakFrame, 12);
    EXPECT_GE(offFrame, 23);
    EXPECT_LE(offFrame, 25);
    EXPECT_FLOAT_EQ(Screen(screen).AberrationFactor(), 1.0f);
    EXPECT_FLOAT_EQ(Screen(screen).AberrationIntensity(), 1.0f);
}

TEST_F(WeaponAimTest, AComputerPlayerSeesNoPulse)
{
    Entity* shooter = ArmedPerson("shooter", "red", 0.0f, 0.0f, 0);
    Entity* bot = Armed("bot", "blue", 20.0f, 0.0f);
    LookThrough(shooter, Chest(bot));
    Shot(shooter).Fire();
    EXPECT_EQ(Data(bot).GetLastHitter(), shooter);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(EdgeDetection(screen)) << screen;
}

} // namespace
} // namespace quellor::test
