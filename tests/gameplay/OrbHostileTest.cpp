// Hostile reflected values and odd shooters: nothing crashes, no value that is not a number
// reaches a body, a player's data or the camera ring, and a missing emitter file is reported.
#include "OrbTestKit.h"

#include "gameplay/PlayerUtil.h"
#include "physics/BoxColliderComponent3D.h"
#include "tests/support/StdoutCapture.h"

#include <filesystem>
#include <limits>

namespace quellor::test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class OrbHostileTest : public OrbTest {
protected:
    void SetUp() override
    {
        OrbTest::SetUp();
        shooter = Player("shooter", "red", -60.0f, 0.0f);
        opponent = Player("opponent", "blue", 0.0f, 0.0f);
        world->Step(30);
    }

    // Shoots at the opponent's body and flies for a while; every orb and the opponent stay finite.
    void ShootAndFly(int frames = 90)
    {
        const ZOR::float3 at = Centre(opponent) - XYZ(PlayerUtil::HandPoint(*shooter));
        Weapon(shooter).SpawnOrb(Vec4(at.x, at.y, at.z, 0.0f), 0.3f, nullptr);
        for (int frame = 0; frame < frames; ++frame) {
            world->Step();
            for (const OrbRecord& orb : Weapon(shooter).GetOrbs()) {
                ASSERT_TRUE(IsFinite(XYZ(orb.velocity)));
                if (Entity* entity = orb.orb.Get()) {
                    ASSERT_TRUE(IsFinite(Centre(entity)));
                }
            }
            ASSERT_TRUE(IsFinite(Centre(opponent)));
            ASSERT_TRUE(std::isfinite(Data(opponent).blastDist));
        }
    }

    Entity* shooter = nullptr;
    Entity* opponent = nullptr;
};

TEST_F(OrbHostileTest, ChargeTimeOfZeroOrLessGivesAFullRingWhileCharging)
{
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_currentCharge = 0.35f;
    EXPECT_FLOAT_EQ(weapon.GetChargePercent(), 0.5f);
    weapon.m_currentCharge = 3.0f;
    EXPECT_FLOAT_EQ(weapon.GetChargePercent(), 1.0f);
    for (float chargeTime : {0.0f, -2.0f, kNaN}) {
        weapon.m_chargeTime = chargeTime;
        Data(shooter).m_charging = false;
        EXPECT_FLOAT_EQ(weapon.GetChargePercent(), 0.0f);
        Data(shooter).m_charging = true;
        EXPECT_FLOAT_EQ(weapon.GetChargePercent(), 1.0f);
        EXPECT_FLOAT_EQ(weapon.ForceOf(0.2f), 800.0f);
    }
    weapon.m_chargeTime = 0.7f;
    weapon.m_currentCharge = kNaN;
    EXPECT_FLOAT_EQ(weapon.GetChargePercent(), 0.0f);
}

TEST_F(OrbHostileTest, RadiusOfZeroOrLessFliesAndEnds)
{
    // A radius of nothing may pass through everything: the lifetime still ends it.
    Weapon(shooter).m_orbLifeTime = 1.0f;
    for (float radius : {0.0f, -3.0f, kNaN}) {
        Weapon(shooter).m_orbRadius = radius;
        ShootAndFly();
        EXPECT_TRUE(Weapon(shooter).GetOrbs().empty()) << radius;
    }
}

TEST_F(OrbHostileTest, LifetimeOfZeroOrLessEndsInTheFirstUpdate)
{
    for (float lifetime : {0.0f, -1.0f, kNaN}) {
        Weapon(shooter).m_orbLifeTime = lifetime;
        RestingOrb(shooter);
        world->Step();
        EXPECT_TRUE(Weapon(shooter).GetOrbs().empty()) << lifetime;
    }
}

TEST_F(OrbHostileTest, SpeedsOfZeroOrNotANumberRest)
{
    OrbComponent& weapon = Weapon(shooter);
    for (float speed : {0.0f, kNaN, kInf}) {
        weapon.m_orbSpeed = speed;
        weapon.m_orbLifeTime = 0.5f;
        weapon.SpawnOrb(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.0f, opponent);
        ASSERT_FALSE(weapon.GetOrbs().empty());
        SCOPED_TRACE(speed);
        ExpectNear3(XYZ(weapon.GetOrbs().back().velocity), ZOR::float3());
        ShootAndFly(40);
    }
}

TEST_F(OrbHostileTest, ForceThatIsNotANumberGivesNoKnockBack)
{
    OrbComponent& weapon = Weapon(shooter);
    weapon.m_baseForce = kNaN;
    ShootAndFly();
    EXPECT_FLOAT_EQ(Data(opponent).blastDist, 0.0f);
    EXPECT_EQ(Data(opponent).GetLastHitter(), nullptr);
    weapon.m_baseForce = 250.0f;
    weapon.m_maxForce = kInf;
    ShootAndFly();
    EXPECT_FLOAT_EQ(Data(opponent).blastDist, 0.0f);
}

TEST_F(OrbHostileTest, CharacterTagWithoutPlayerDataEndsTheOrbAndNothingElse)
{
    // A still box tagged as a character, between the shooter and the opponent.
    Entity* post = world->Spawn("post", -30.0f, kStandY, 0.0f);
    post->AddComponent<RigidBodyComponent3D>(true);
    auto* box = new BoxColliderComponent3D;
    box->SetHalfExtents(Vec4(2.0f, 20.0f, 10.0f, 0.0f));
    box->SetPType(1);
    post->AddComponent(BoxColliderComponent3D::ID, box, true);
    world->Step(2);
    ShootAndFly(60);
    EXPECT_TRUE(Weapon(shooter).GetOrbs().empty());
    EXPECT_FLOAT_EQ(Data(opponent).blastDist, 0.0f);
    Weapon(shooter).HitPlayer(post, Vec4(1.0f, 0.0f, 0.0f, 0.0f), 300.0f);
    EXPECT_FALSE(post->HasComponent<PlayerDataComponent>());
}

TEST_F(OrbTest, MissingEmitterFileIsReportedAndADefaultStandsIn)
{
    std::filesystem::remove(OrbEmitters::kOuterFile);
    OrbEmitters::Reset();
    tarsel::test::StdoutCapture out;
    const OrbEmitters& shared = OrbEmitters::Get();
    const std::string& text = out.Text();
    EXPECT_NE(text.find(OrbEmitters::kOuterFile), std::string::npos) << text;
    EXPECT_EQ(text.find(OrbEmitters::kInnerFile), std::string::npos) << text;
    EXPECT_EQ(shared.GetOuter().GetMaxParticles(), ZOR::ParticleEmitter().GetMaxParticles());
    EXPECT_NE(shared.GetInner().GetMaxParticles(), ZOR::ParticleEmitter().GetMaxParticles());
}

} // namespace
} // namespace quellor::test
