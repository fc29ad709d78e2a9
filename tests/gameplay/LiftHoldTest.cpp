// The lift beam's holds in the game world: what a strike does to an enemy's motor and flags,
// how long a hold lasts, what the beam does not hold, team mates sharing a target, and the
// ways a hold ends (another hand, a destroyed target, the shooter leaving).
#include "gameplay/PlayerUtil.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "tests/gameplay/WeaponTestKit.h"

#include <cmath>

namespace quellor::test {
namespace {

class LiftHoldTest : public WeaponTest {};

TEST_F(LiftHoldTest, AStrikeLiftsSlowsAndMarksTheEnemy)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    Lift(shooter).m_playerLiftForce = 7.0f;
    Lift(shooter).m_playerSlowSpeed = 3.0f;

    BeamFrame(shooter, enemy);

    const LiftRecord* record = Held(shooter, enemy);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->target.Get(), enemy);
    EXPECT_EQ(record->lifterCount, 1);
    EXPECT_FLOAT_EQ(Motor(enemy).GetGravity(), -7.0f);
    EXPECT_FLOAT_EQ(Motor(enemy).GetSpeed(), 3.0f);
    EXPECT_TRUE(Data(enemy).m_isLifted);
    EXPECT_EQ(Data(enemy).GetLastHitter(), shooter);
    // The beam is drawn from the first frame of fire to where the ray struck.
    LiftFxComponent* effect = Lift(shooter).GetBeamEffect();
    ASSERT_NE(effect, nullptr);
    EXPECT_NEAR(effect->m_end.x, Position(enemy).x - 0.5f, 0.01f);
    const Vec4 hand = PlayerUtil::HandPoint(*shooter);
    EXPECT_NEAR(effect->m_start.x, hand.x, 1e-3f);
    EXPECT_NEAR(effect->m_start.y, hand.y, 1e-3f);
    // Held, the enemy floats up.
    const float before = Position(enemy).y;
    world->Step(20);
    EXPECT_GT(Position(enemy).y, before);
}

TEST_F(LiftHoldTest, OneStrikeLastsTheLiftTimeThenTheBaseValuesReturn)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    Lift(shooter).m_liftTime = 0.5f;
    // Whatever the motor held when the hold began is not what comes back.
    Motor(enemy).SetGravity(55.0f);
    Motor(enemy).SetSpeed(33.0f);

    BeamFrame(shooter, enemy);
    world->Step(27);
    ASSERT_TRUE(Data(enemy).m_isLifted);
    ASSERT_NE(Held(shooter, enemy), nullptr);
    world->Step(4);
    EXPECT_FALSE(Data(enemy).m_isLifted);
    EXPECT_EQ(Held(shooter, enemy), nullptr);
    EXPECT_FLOAT_EQ(Motor(enemy).GetGravity(), Motor(enemy).GetBaseGravity());
    EXPECT_FLOAT_EQ(Motor(enemy).GetSpeed(), Motor(enemy).GetBaseSpeed());
}

TEST_F(LiftHoldTest, OnlyAnEnemyPlayerWithAMovingBodyIsHeld)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* mate = Armed("mate", "red", 20.0f, 0.0f);
    Entity* stiff = Armed("stiff", "blue", -20.0f, 0.0f);
    stiff->GetComponent<RigidBodyComponent3D>()->SetType(0);
    Entity* crate = Prop("crate", 0.0f, 5.0f, 20.0f, 1);
    world->Step();
    LiftComponent& lift = Lift(shooter);

    {
        SCOPED_TRACE("own collider");
        const ZOR::float3 outside = Chest(shooter) + ZOR::float3(5.0f, 0.0f, 0.0f);
        lift.Fire(Ray3D{outside, ZOR::float3(-1.0f, 0.0f, 0.0f)});
        world->Step();
        EXPECT_NEAR(lift.GetBeamEffect()->m_end.x, Position(shooter).x + 0.5f, 0.01f);
    }
    {
        SCOPED_TRACE("team mate");
        BeamFrame(shooter, mate);
        EXPECT_FALSE(Data(mate).m_isLifted);
    }
    {
        SCOPED_TRACE("static enemy");
        BeamFrame(shooter, stiff);
        EXPECT_FALSE(Data(stiff).m_isLifted);
    }
    {
        SCOPED_TRACE("prop");
        lift.Fire(Ray3D{Chest(shooter), (ZOR::float3(0.0f, 5.0f, 20.0f) - Chest(shooter)).Normalized()});
        world->Step();
        EXPECT_NEAR(lift.GetBeamEffect()->m_end.z, 19.0f, 0.05f);
        EXPECT_FLOAT_EQ(crate->GetComponent<RigidBodyComponent3D>()->GetLinearVelocity().y, 0.0f);
    }
    {
        SCOPED_TRACE("miss");
        lift.m_range = 40.0f;
        const Ray3D ray{ZOR::float3(0.0f, 50.0f, 0.0f), ZOR::float3(0.0f, 0.0f, 1.0f)};
        lift.Fire(ray);
        world->Step();
        EXPECT_NEAR(lift.GetBeamEffect()->m_end.z, 40.0f, 1e-4f);
        EXPECT_NEAR(lift.GetBeamEffect()->m_end.y, 50.0f, 1e-4f);
    }
    EXPECT_TRUE(lift.GetHeldTargets().empty());
    for (Entity* player : {shooter, mate, stiff})
        EXPECT_EQ(Data(player).GetLastHitter(), nullptr) << player->GetName();
}

TEST_F(LiftHoldTest, TeamMatesShareATarget)
{
    Entity* first = Armed("first", "red", 0.0f, 0.0f);
    Entity* second = Armed("second", "red", 0.0f, 10.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 5.0f);
    // No tag in the way: progress only accumulates.
    for (Entity* shooter : {first, second})
        Lift(shooter).m_tagTime = 100.0f;

    BeamFrame(first, enemy);
    BeamFrame(first, enemy);
    const float progress = Held(first, enemy)->tagProgress;
    EXPECT_NEAR(progress, 2.0f * kDt, 1e-6f);

    // A new holder joins with the progress so far, and both count two lifters.
    Lift(second).Fire(Aim(second, enemy));
    EXPECT_FLOAT_EQ(Held(second, enemy)->tagProgress, progress);
    EXPECT_EQ(Held(second, enemy)->lifterCount, 2);
    EXPECT_EQ(Held(first, enemy)->lifterCount, 2);

    // Both strike in one frame: each record gains two lifters' worth.
    Lift(first).Fire(Aim(first, enemy));
    world->Step();
    EXPECT_NEAR(Held(first, enemy)->tagProgress, progress + 2.0f * kDt, 1e-6f);
    EXPECT_NEAR(Held(second, enemy)->tagProgress, progress + 2.0f * kDt, 1e-6f);

    // One lets go: the other sees the flag cleared and lets go in its next update.
    Lift(first).ReleaseTarget(enemy);
    EXPECT_EQ(Held(first, enemy), nullptr);
    EXPECT_EQ(Held(second, enemy)->lifterCount, 1);
    EXPECT_FALSE(Data(enemy).m_isLifted);
    Motor(enemy).SetGravity(-3.0f);
    world->Step();
    EXPECT_EQ(Held(second, enemy), nullptr);
    EXPECT_FLOAT_EQ(Motor(enemy).GetGravity(), Motor(enemy).GetBaseGravity());
}

TEST_F(LiftHoldTest, AFlagClearedElsewhereReleases)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    BeamFrame(shooter, enemy);
    Data(enemy).m_isLifted = false;
    world->Step();
    EXPECT_EQ(Held(shooter, enemy), nullptr);
    EXPECT_FLOAT_EQ(Motor(enemy).GetGravity(), Motor(enemy).GetBaseGravity());
    EXPECT_FLOAT_EQ(Motor(enemy).GetSpeed(), Motor(enemy).GetBaseSpeed());
}

TEST_F(LiftHoldTest, ADestroyedTargetIsDroppedByName)
{
    Entity* first = Armed("first", "red", 0.0f, 0.0f);
    Entity* second = Armed("second", "red", 0.0f, 10.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 5.0f);
    BeamFrame(first, enemy);
    BeamFrame(second, enemy);
    ASSERT_EQ(Held(first, enemy)->lifterCount, 2);

    {
        SCOPED_TRACE("queued this frame");
        Entity* other = Armed("other", "blue", 20.0f, -10.0f);
        BeamFrame(first, other);
        ASSERT_NE(Held(first, other), nullptr);
        other->Destroy();
        world->Step();
        EXPECT_EQ(Lift(first).GetHeldTargets().count("other"), 0u);
    }
    // Torn down while the logic did not run: the records no longer resolve it.
    world->logic->SetActive(false);
    enemy->Destroy();
    world->Step();
    world->logic->SetActive(true);
    world->Step();
    EXPECT_TRUE(Lift(first).GetHeldTargets().empty());
    EXPECT_TRUE(Lift(second).GetHeldTargets().empty());
}

TEST_F(LiftHoldTest, AShooterLeavingLetsGoAndTakesItsBeam)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    BeamFrame(shooter, enemy);
    const EntityRef beam = Lift(shooter).GetBeamEntity();
    ASSERT_NE(beam.Get(), nullptr);

    shooter->Destroy();
    world->Step();
    EXPECT_FALSE(Data(enemy).m_isLifted);
    EXPECT_FLOAT_EQ(Motor(enemy).GetGravity(), Motor(enemy).GetBaseGravity());
    world->Step(31);
    EXPECT_EQ(beam.Get(), nullptr);
}

TEST_F(LiftHoldTest, HostileSettingsActSafely)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    LiftComponent& lift = Lift(shooter);
    {
        SCOPED_TRACE("no range");
        for (float range : {0.0f, -5.0f, std::nanf(""), INFINITY}) {
            lift.m_range = range;
            const Ray3D ray = Aim(shooter, enemy);
            lift.Fire(ray);
            world->Step();
            EXPECT_FALSE(Data(enemy).m_isLifted) << range;
            EXPECT_EQ(lift.GetBeamEffect()->m_end, ray.origin) << range;
        }
        lift.m_range = 1000.0f;
    }
    {
        SCOPED_TRACE("lift force not a number");
        lift.m_playerLiftForce = std::nanf("");
        BeamFrame(shooter, enemy);
        EXPECT_TRUE(Data(enemy).m_isLifted);
        EXPECT_FLOAT_EQ(Motor(enemy).GetGravity(), Motor(enemy).GetBaseGravity());
        EXPECT_FLOAT_EQ(Motor(enemy).GetSpeed(), lift.m_playerSlowSpeed);
        lift.ReleaseTarget(enemy);
    }
    {
        SCOPED_TRACE("no lift time");
        lift.m_liftTime = 0.0f;
        BeamFrame(shooter, enemy);
        EXPECT_EQ(Held(shooter, enemy), nullptr);
        EXPECT_FALSE(Data(enemy).m_isLifted);
    }
}

} // namespace
} // namespace quellor::test
