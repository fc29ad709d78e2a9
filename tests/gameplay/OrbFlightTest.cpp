// Orbs in flight: the first contact frame passes, the shooter never ends its own orb, a wall
// ends it without knock-back, a team mate ends it unharmed, an opponent is knocked back, the
// lifetime, the look-ahead and tag locks with homing, targets that die or go, and where the
// bursts appear; then the explosions' emitters.
#include "OrbTestKit.h"

#include "gameplay/PlayerUtil.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/SphereColliderComponent3D.h"

#include <algorithm>

namespace quellor::test {
namespace {

constexpr float kDt = tarsel::test::GameWorld::kDt;

// Steps until the shooter has no live orb; the frames it took, or -1 within the limit.
int FramesUntilEnded(tarsel::test::GameWorld& world, OrbComponent& weapon, int limit = 600)
{
    for (int frame = 1; frame <= limit; ++frame) {
        world.Step();
        if (weapon.GetOrbs().empty())
            return frame;
    }
    return -1;
}

TEST_F(OrbTest, ShooterAloneNeverEndsItsOrbAndTheLifetimeDoes)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbLifeTime = 1.0f;
    Entity* orb = RestingOrb(shooter);
    ASSERT_NE(orb, nullptr);
    // Rest inside the shooter's own body box.
    world->Step();
    orb->GetComponent<RigidBodyComponent3D>()->SetPosition(Vec4(-60.0f, kStandY + 2.0f, 0.0f, 1.0f));
    world->Step(3);
    const auto& contacts = orb->GetComponent<SphereColliderComponent3D>()->GetContactRecords();
    ASSERT_FALSE(contacts.empty()) << "the orb touches its shooter";
    const int frames = FramesUntilEnded(*world, weapon);
    // 1.0 s is 60 frames from the spawn; four have passed.
    EXPECT_GE(frames, 55);
    EXPECT_LE(frames, 57);
    EXPECT_TRUE(world->Played(OrbComponent::kWallSound));
    EXPECT_FLOAT_EQ(Data(shooter).blastDist, 0.0f);
    EXPECT_EQ(Data(shooter).GetLastHitter(), nullptr);
}

TEST_F(OrbTest, OrbWithNoHitLivesSevenSecondsAndBurstsWhereItIs)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbSpeed = 20.0f;
    weapon.SpawnOrb(Vec4(0.0f, 1.0f, 0.0f, 0.0f), 0.0f, nullptr);
    world->Step(418);
    ASSERT_EQ(weapon.GetOrbs().size(), 1u) << "alive at 6.97 s";
    Entity* orb = OrbOf(shooter);
    ASSERT_NE(orb, nullptr);
    const int frames = FramesUntilEnded(*world, weapon, 10);
    EXPECT_GE(frames, 1);
    EXPECT_LE(frames, 3);
    ASSERT_EQ(weapon.GetExplosionCount(), 2u);
    const ZOR::float3 at = weapon.GetExplosion(0)->GetPosition();
    // Straight up from the hand at 20 per second.
    EXPECT_NEAR(at.x, PlayerUtil::HandPoint(*shooter).x, 0.5f);
    EXPECT_GT(at.y, kStandY + 13.0f + 100.0f);
    EXPECT_LT(at.y, kStandY + 13.0f + 145.0f);
}

TEST_F(OrbTest, WallEndsTheOrbWithItsSoundAndNoKnockBackAndBurstsAtTheOrb)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    // A target far away behind the wall, given to the spawn.
    Entity* far = Player("far", "blue", 80.0f, 0.0f);
    AddBox(ZOR::float3(-20.0f, kFloorY + 30.0f, 0.0f), ZOR::float3(5.0f, 30.0f, 30.0f));
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    weapon.SpawnOrb(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f, far);
    const int frames = FramesUntilEnded(*world, weapon, 60);
    ASSERT_GT(frames, 0);
    EXPECT_TRUE(world->Played(OrbComponent::kWallSound));
    EXPECT_FLOAT_EQ(Data(far).blastDist, 0.0f);
    EXPECT_EQ(Data(far).GetLastHitter(), nullptr);
    ASSERT_EQ(weapon.GetExplosionCount(), 2u);
    // At the wall's face, not at the target.
    const ZOR::float3 inner = weapon.GetExplosion(0)->GetPosition();
    EXPECT_GT(inner.x, -35.0f);
    EXPECT_LT(inner.x, -10.0f);
    ExpectNear3(weapon.GetExplosion(1)->GetPosition(), inner);
}

TEST_F(OrbTest, OpponentInThePathIsKnockedBackAndTeamMateIsNot)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* mate = Player("mate", "red", -60.0f, 60.0f);
    Entity* opponent = Player("opponent", "blue", 0.0f, 0.0f);
    world->Step(30);
    ASSERT_TRUE(Data(opponent).m_onGround);
    Data(mate).blastDist = 0.0f;
    OrbComponent& weapon = Weapon(shooter);

    // At the mate: from the hand to its body centre.
    const ZOR::float3 hand = XYZ(PlayerUtil::HandPoint(*shooter));
    const ZOR::float3 toMate = Centre(mate) - hand;
    weapon.SpawnOrb(Vec4(toMate.x, toMate.y, toMate.z, 0.0f), 0.0f, nullptr);
    ASSERT_GT(FramesUntilEnded(*world, weapon, 120), 0);
    EXPECT_FLOAT_EQ(Data(mate).blastDist, 0.0f);
    EXPECT_FLOAT_EQ(Data(mate).m_stunTimer, 0.0f);
    EXPECT_EQ(Data(mate).GetLastHitter(), nullptr);

    const ZOR::float3 toOpponent = Centre(opponent) - XYZ(PlayerUtil::HandPoint(*shooter));
    weapon.SpawnOrb(Vec4(toOpponent.x, toOpponent.y, toOpponent.z, 0.0f), 0.7f, nullptr);
    ASSERT_GT(FramesUntilEnded(*world, weapon, 120), 0);
    EXPECT_FLOAT_EQ(Data(opponent).blastDist, 800.0f);
    EXPECT_EQ(Data(opponent).GetLastHitter(), shooter);
    ExpectNear3(XYZ(Data(opponent).m_knockbackDir), toOpponent.Normalized(), 0.05f);
    // Set on the ground: 0.8 s; the motor has run it down since.
    EXPECT_GT(Data(opponent).m_stunTimer, 0.5f);
    EXPECT_LE(Data(opponent).m_stunTimer, 0.8f);
}

// A level's boundary is a sensor box round the whole playable space: every orb is inside it
// from its spawn to its end.
TEST_F(OrbTest, ATriggerVolumeRoundTheFlightNeitherEndsTheOrbNorShieldsTheOpponent)
{
    Entity* volume = world->Spawn("boundary", 0.0f, 0.0f, 0.0f);
    volume->AddComponent<RigidBodyComponent3D>(true);
    auto* box = new BoxColliderComponent3D;
    box->m_isSensor = true;
    box->SetHalfExtents(Vec4(300.0f, 300.0f, 300.0f, 0.0f));
    volume->AddComponent(BoxColliderComponent3D::ID, box, true);
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* opponent = Player("opponent", "blue", 60.0f, 0.0f);
    world->Step(30);
    OrbComponent& weapon = Weapon(shooter);

    // Upward, away from everything: it flies on inside the box.
    weapon.SpawnOrb(Vec4(0.0f, 1.0f, 0.0f, 0.0f), 0.0f, nullptr);
    world->Step(10);
    Entity* orb = OrbOf(shooter);
    ASSERT_NE(orb, nullptr);
    const auto& contacts = orb->GetComponent<SphereColliderComponent3D>()->GetContactRecords();
    EXPECT_TRUE(std::any_of(contacts.begin(), contacts.end(), [box](const ContactRecord3D& record) {
        return record.m_touching && record.m_other == box;
    })) << "the orb is inside the volume";
    EXPECT_EQ(weapon.GetOrbs().size(), 1u);
    EXPECT_FALSE(world->Played(OrbComponent::kWallSound));
    ASSERT_GT(FramesUntilEnded(*world, weapon), 0);

    // At the opponent, 120 away: the orb reaches it and knocks it back.
    const ZOR::float3 toOpponent = Centre(opponent) - XYZ(PlayerUtil::HandPoint(*shooter));
    weapon.SpawnOrb(Vec4(toOpponent.x, toOpponent.y, toOpponent.z, 0.0f), 0.0f, nullptr);
    ASSERT_GT(FramesUntilEnded(*world, weapon, 120), 0);
    EXPECT_EQ(Data(opponent).GetLastHitter(), shooter);
    EXPECT_GT(Data(opponent).m_stunTimer, 0.0f);
}

TEST_F(OrbTest, HitPlayerSortsTeamsAndTheAirTime)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* opponent = Player("opponent", "blue", 60.0f, 0.0f);
    Entity* mate = Player("mate", "red", 0.0f, 60.0f);
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    const Vec4 direction(0.0f, 0.6f, 0.8f, 0.0f);
    Data(opponent).m_onGround = false;
    weapon.HitPlayer(opponent, direction, 400.0f);
    EXPECT_FLOAT_EQ(Data(opponent).m_stunTimer, 1.0f);
    EXPECT_FLOAT_EQ(Data(opponent).blastDist, 400.0f);
    ExpectNear3(XYZ(Data(opponent).m_knockbackDir), XYZ(direction));
    Data(opponent).m_onGround = true;
    weapon.HitPlayer(opponent, direction, 300.0f);
    EXPECT_FLOAT_EQ(Data(opponent).m_stunTimer, 0.8f);

    weapon.HitPlayer(mate, direction, 400.0f);
    EXPECT_FLOAT_EQ(Data(mate).blastDist, 0.0f);
    EXPECT_EQ(Data(mate).GetLastHitter(), nullptr);

    // A force that is not a number gives nothing.
    Data(opponent).blastDist = 0.0f;
    weapon.HitPlayer(opponent, direction, std::nanf(""));
    EXPECT_FLOAT_EQ(Data(opponent).blastDist, 0.0f);
    weapon.HitPlayer(nullptr, direction, 300.0f);
}

TEST_F(OrbTest, FirstContactFramePassesUnharmed)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* opponent = Player("opponent", "blue", 0.0f, 0.0f);
    world->Step(30);
    OrbComponent& weapon = Weapon(shooter);
    const EntityRef orb = RestingOrb(shooter);
    world->Step();
    // Moved into the opponent: its first frame with contacts passes.
    orb.Get()->GetComponent<RigidBodyComponent3D>()->SetPosition(Vec4(0.0f, kStandY + 2.0f, 0.0f, 1.0f));
    bool passed = false;
    for (int frame = 0; frame < 10 && !weapon.GetOrbs().empty(); ++frame) {
        world->Step();
        const bool touching =
            orb.Get() && !orb.Get()->GetComponent<SphereColliderComponent3D>()->GetContactRecords().empty();
        if (touching && !weapon.GetOrbs().empty() && !weapon.GetOrbs()[0].skipContacts) {
            passed = true;
            EXPECT_FLOAT_EQ(Data(opponent).blastDist, 0.0f) << "the first contact frame";
        }
    }
    EXPECT_TRUE(passed);
    EXPECT_TRUE(weapon.GetOrbs().empty());
    EXPECT_FLOAT_EQ(Data(opponent).blastDist, 250.0f);
    EXPECT_EQ(Data(opponent).GetLastHitter(), shooter);
}

TEST_F(OrbTest, PlayerInThePathLocksTheNextFrameAndIsHomedOnAfterTheDelay)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    // Beside the line of flight, the orb's radius away from it: the side ray finds it.
    const ZOR::float3 hand = XYZ(PlayerUtil::HandPoint(*shooter));
    Entity* opponent = Player("opponent", "blue", 60.0f, hand.z + 2.0f);
    world->Step(30);
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbSpeed = 130.0f;
    const ZOR::float3 start = XYZ(PlayerUtil::HandPoint(*shooter));
    // Level with the body's centre, aimed past it.
    const ZOR::float3 aim = ZOR::float3(Centre(opponent).x, Centre(opponent).y, start.z) - start;
    weapon.SpawnOrb(Vec4(aim.x, aim.y, aim.z, 0.0f), 0.0f, nullptr);
    const ZOR::float3 launched = XYZ(weapon.GetOrbs()[0].velocity);
    world->Step();
    ASSERT_EQ(weapon.GetOrbs().size(), 1u);
    EXPECT_EQ(weapon.GetOrbs()[0].target.Get(), opponent);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].homingCap, 130.0f);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].turn, 0.2f);
    // Straight on while the delay runs, turning after it.
    world->Step(6);
    ASSERT_EQ(weapon.GetOrbs().size(), 1u);
    ExpectNear3(XYZ(weapon.GetOrbs()[0].velocity), launched);
    world->Step(2);
    ASSERT_EQ(weapon.GetOrbs().size(), 1u);
    EXPECT_GT(weapon.GetOrbs()[0].velocity.z, 0.1f) << "turned toward the opponent";
    ASSERT_GT(FramesUntilEnded(*world, weapon, 120), 0);
    EXPECT_EQ(Data(opponent).GetLastHitter(), shooter);
}

class OrbTagTest : public OrbTest {
protected:
    // Tags the target for the shooter's team, as the lift beam does.
    void Tag(Entity* shooter, Entity* target)
    {
        GameLogicSystem::TagTable* table = world->logic->GetTeamTags(Data(shooter).playerTeam);
        ASSERT_NE(table, nullptr);
        table->push_back({target->GetName(), GameLogicSystem::TeamTag{target, shooter, 100.0f}});
    }
};

TEST_F(OrbTagTest, NearestTaggedPlayerInSightWinsAndAWallBlocks)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* farther = Player("farther", "blue", -60.0f, 90.0f);
    Entity* nearer = Player("nearer", "green", -60.0f, -60.0f);
    world->Step(10);
    Tag(shooter, farther);
    Tag(shooter, nearer);
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbSpeed = 0.0f;
    RestingOrb(shooter);
    world->Step();
    ASSERT_EQ(weapon.GetOrbs().size(), 1u);
    EXPECT_EQ(weapon.GetOrbs()[0].target.Get(), nearer);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].homingCap, 300.0f);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].turn, 0.5f);
    EXPECT_FLOAT_EQ(weapon.GetOrbs()[0].speed, 0.0f) << "a lock keeps the speed";

    // A wall between the orb and the nearer one leaves the farther one.
    AddBox(ZOR::float3(-66.5f, kFloorY + 30.0f, -25.0f), ZOR::float3(30.0f, 30.0f, 2.0f));
    RestingOrb(shooter);
    world->Step();
    ASSERT_EQ(weapon.GetOrbs().size(), 2u);
    EXPECT_EQ(weapon.GetOrbs()[1].target.Get(), farther);
}

TEST_F(OrbTagTest, DyingOrDestroyedTargetEndsTheOrbWhereItIs)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* dying = Player("dying", "blue", -60.0f, 80.0f);
    Entity* leaving = Player("leaving", "green", -60.0f, -80.0f);
    world->Step(10);
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbSpeed = 0.0f;
    weapon.m_seekAcceleration = 0.0f;
    Tag(shooter, dying);
    RestingOrb(shooter);
    world->Step(10);
    ASSERT_EQ(weapon.GetOrbs().size(), 1u);
    ASSERT_EQ(weapon.GetOrbs()[0].target.Get(), dying);
    const ZOR::float3 at = Centre(OrbOf(shooter));
    Data(dying).m_dying = true;
    world->Step();
    EXPECT_TRUE(weapon.GetOrbs().empty());
    ASSERT_EQ(weapon.GetExplosionCount(), 2u);
    ExpectNear3(weapon.GetExplosion(0)->GetPosition(), at, 0.5f);

    GameLogicSystem::TagTable* table = world->logic->GetTeamTags("red");
    table->clear();
    Tag(shooter, leaving);
    RestingOrb(shooter);
    world->Step(10);
    ASSERT_EQ(weapon.GetOrbs().size(), 1u);
    ASSERT_EQ(weapon.GetOrbs()[0].target.Get(), leaving);
    table->clear();
    world->logic->RemovePlayer(-1, leaving);
    leaving->Destroy();
    world->Step(3);
    EXPECT_TRUE(weapon.GetOrbs().empty());
    EXPECT_EQ(weapon.GetExplosionCount(), 4u);
}

TEST_F(OrbTagTest, HomingHitBurstsAtTheTarget)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    Entity* target = Player("target", "blue", -60.0f, 60.0f);
    world->Step(10);
    Tag(shooter, target);
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbSpeed = 0.0f;
    RestingOrb(shooter);
    ASSERT_GT(FramesUntilEnded(*world, weapon, 240), 0);
    EXPECT_EQ(Data(target).GetLastHitter(), shooter);
    ASSERT_GE(weapon.GetExplosionCount(), 2u);
    ExpectNear3(weapon.GetExplosion(0)->GetPosition(), Place(target), 0.5f);
}

TEST_F(OrbTest, ExplosionsAddTwoEmittersAndFreeThemWhenDone)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step();
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_orbLifeTime = 0.05f;
    RestingOrb(shooter);
    RestingOrb(shooter);
    world->Step(4);
    ASSERT_TRUE(weapon.GetOrbs().empty());
    ASSERT_EQ(weapon.GetExplosionCount(), 4u);
    EXPECT_TRUE(weapon.GetExplosion(0)->GetEmitting());
    const float longest = std::max(OrbEmitters::Get().GetInner().GetMaxLifetime(),
                                   OrbEmitters::Get().GetOuter().GetMaxLifetime());
    world->Step(static_cast<int>(longest / kDt) + 3);
    EXPECT_EQ(weapon.GetExplosionCount(), 0u);
    EXPECT_EQ(OrbEmitters::GetLoadCount(), 1u) << "the shared emitters load once";

    // Running explosions leave with the component.
    RestingOrb(shooter);
    weapon.m_orbLifeTime = 0.0f;
    RestingOrb(shooter);
    world->Step();
    EXPECT_GT(weapon.GetExplosionCount(), 0u);
    shooter->Destroy();
    world->Step(2);
    Entity* second = Player("second", "red", -30.0f, 0.0f);
    world->Step();
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(OrbEmitters::GetLoadCount(), 1u);
}

} // namespace
} // namespace quellor::test
