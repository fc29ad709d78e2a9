// The thumper with real physics and the real motor, in frames of 1/4 s (30 s is exactly 120
// frames): the slam's animation and sounds, who is stunned and with what, the knock-back's
// decay, the stun's end, a second slam, the ground blast's particles, a thumper going mid-tween,
// the match's end, and thumpers that cannot slam.
#include "CharacterKit.h"
#include "MotorTestKit.h"
#include "WeaponTestKit.h"
#include "PropLevels.h"

#include "engine/Engine.h"
#include "engine/ResourceSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/EmitterComponent.h"
#include "gameplay/FloatComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/ThumperComponent.h"
#include "renderer/AnimationController.h"
#include "tests/support/StdoutCapture.h"
#include "tools/writers/CharacterBuilder.h"

#include <cmath>
#include <limits>

namespace quellor::test {
namespace {

constexpr float kFrame = 0.25f;
constexpr int kFramesTo30s = 120;

// A BOX emitter whose particles stay where they are born.
constexpr const char* kStillBlast = R"([MAX_PARTICLES]
VALUE=200
[PARTICLE_TYPES]
VALUE=1
[PARTICLE_TYPE_1]
TEXTURE=sun.dds
BLEND_MODE=ADDITIVE
START_COLOR=1 1 1 1
END_COLOR=1 1 1 0
[EMIT]
VALUE=0
[PARTICLE_LIFESPAN]
MIN=5
MAX=5
[PARTICLE_SPAWN_INTERVAL]
MIN=0.01
MAX=0.01
[PARTICLE_SPEED]
MIN=0
MAX=0
[EMITTER]
TYPE=BOX
)";

class ThumperTest : public MotorTest {
protected:
    void SetUp() override
    {
        MotorTest::SetUp();
        world->physics->SetMaxStepsPerFrame(15);
        for (const char* sound : {ThumperComponent::kChargingSound, ThumperComponent::kHitSound})
            world->LoadEffect(sound);
        world->WriteFile("emitters/thumperGround.pe", kStillBlast);
        world->resources->ScanDirectory("");
        AddFloor();
    }

    // A thumper with a fixed body at (x, y, z); dressed, it has the character's skinned model.
    ThumperComponent* Thumper(float x, float y, float z, bool dressed = false)
    {
        Entity* entity = world->Spawn("thumper", x, y, z);
        auto* body = entity->AddComponent<RigidBodyComponent3D>(true);
        body->SetType(2);
        body->SetHasGravity(false);
        if (dressed)
            Dress(entity);
        auto* thumper = new ThumperComponent;
        entity->AddComponent(ThumperComponent::ID, thumper, true);
        return thumper;
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            world->StepDt(kFrame);
    }
    // Joined as a computer player, standing on the floor.
    Entity* Standing(const std::string& name, float x, float z = 0.0f)
    {
        Entity* player = StandingPlayer(name, x, z);
        world->logic->AddPlayer(-1, player, true, false);
        return player;
    }
    // The frame after a join belongs to the tag set-up: no component runs in it.
    void SettleJoins() { world->Step(); }
    std::size_t RecordsOf(const ThumperComponent& thumper, Entity* player) const
    {
        std::size_t count = 0;
        for (const auto& record : thumper.GetStunned())
            count += record.player.Get() == player ? 1 : 0;
        return count;
    }
};

TEST_F(ThumperTest, TheFirstSlamAtThirtySecondsAnimatesSoundsAndStunsWhoReachesIntoTheBox)
{
    LoadCharacterAssets(*world);
    LoadClip(*world, ThumperComponent::kAnimation,
             tarsel::tools::character::BuildClip(tarsel::tools::character::Motion::Idle));
    // The box reaches 5.5 to each side of x = 0: the edge player's centre lies outside, its body
    // box (half width 0.5) reaches in.
    Entity* edge = Standing("edge", 5.8f);
    Entity* away = Standing("away", 7.0f);
    SettleJoins();
    ThumperComponent* thumper = Thumper(0.0f, kStandHeight, 0.0f, true);
    const float baseSpeed = Motor(edge).GetBaseSpeed();
    const float baseGravity = Motor(edge).GetBaseGravity();
    thumper->m_stunSpeed = 2.0f;
    thumper->m_stunGrav = 0.75f;
    thumper->m_thumpDir = Vec4(0.0f, 1.0f, 1.0f, 0.0f);
    thumper->m_stunTime = 3.0f;

    Frames(kFramesTo30s - 1);
    EXPECT_FALSE(world->Played(ThumperComponent::kHitSound)) << "29.75 s";
    EXPECT_EQ(thumper->GetGroundBlast(), nullptr);
    Frames(1);
    ZOR::AnimationController& controller =
        thumper->GetEntity()->GetComponent<GraphicsComponent3DSkinned>()->GetAnimationController();
    EXPECT_TRUE(controller.IsPlaying(ThumperComponent::kAnimation));
    EXPECT_FALSE(controller.IsLooping());
    EXPECT_TRUE(world->Played(ThumperComponent::kChargingSound));
    EXPECT_TRUE(world->Played(ThumperComponent::kHitSound));
    for (const char* sound : {ThumperComponent::kChargingSound, ThumperComponent::kHitSound}) {
        const auto* channel = world->sound->GetChannel(sound, 0);
        ASSERT_NE(channel, nullptr) << sound;
        EXPECT_FLOAT_EQ(channel->volume, 0.5f) << sound;
    }
    EXPECT_EQ(thumper->GetPeriodTimer(), 0.0f);
    ASSERT_NE(thumper->GetGroundBlast(), nullptr);
    EXPECT_TRUE(thumper->GetGroundBlast()->GetName().starts_with("thumpGroundBlast"));

    PlayerDataComponent& data = Data(edge);
    EXPECT_FALSE(data.m_onGround);
    EXPECT_EQ(Motor(edge).GetSpeed(), 2.0f);
    EXPECT_EQ(Motor(edge).GetGravity(), 0.75f);
    EXPECT_EQ(data.m_knockbackDir.z, 1.0f);
    EXPECT_EQ(data.blastDist, thumper->m_thumpPower);
    EXPECT_EQ(data.m_stunTimer, thumper->m_thumpApplyTime);
    EXPECT_GE(RecordsOf(*thumper, edge), 1u);
    for (const auto& record : thumper->GetStunned()) {
        EXPECT_EQ(record.savedSpeed, baseSpeed);
        EXPECT_EQ(record.savedGravity, baseGravity);
    }
    EXPECT_EQ(RecordsOf(*thumper, away), 0u);
    EXPECT_EQ(Motor(away).GetSpeed(), baseSpeed) << "outside the box";
    EXPECT_EQ(Data(away).blastDist, 0.0f);
}

TEST_F(ThumperTest, TheKnockBackDecaysUnlessStrongerAndTheBaseValuesComeBackOnce)
{
    Entity* weak = Standing("weak", 2.0f);
    Entity* strong = Standing("strong", -2.0f);
    SettleJoins();
    ThumperComponent* thumper = Thumper(0.0f, kStandHeight, 0.0f);
    thumper->m_thumpTime = 2.0f;
    thumper->m_thumpApplyTime = 2.0f;
    thumper->m_stunTime = 1.0f;
    const float baseSpeed = Motor(weak).GetBaseSpeed();
    const float baseGravity = Motor(weak).GetBaseGravity();
    Frames(8);
    ASSERT_GE(RecordsOf(*thumper, weak), 1u) << "slammed at 2 s";
    ASSERT_EQ(Data(weak).blastDist, 100.0f);
    Data(strong).blastDist = 500.0f; // a stronger hit from elsewhere

    Frames(1);
    EXPECT_LT(Data(weak).blastDist, 100.0f) << "decaying with the power";
    EXPECT_GT(Data(weak).blastDist, 0.0f);
    EXPECT_EQ(Data(weak).blastDist, thumper->GetPower());
    EXPECT_EQ(Data(strong).blastDist, 500.0f) << "a stronger knock-back is kept";

    // The stun (1 s) ends; a lifted player's gravity waits for the lift to let go.
    Data(strong).m_isLifted = true;
    Frames(3);
    EXPECT_EQ(Motor(weak).GetSpeed(), baseSpeed);
    EXPECT_EQ(Motor(weak).GetGravity(), baseGravity);
    EXPECT_EQ(RecordsOf(*thumper, weak), 0u) << "both values back: the record is dropped";
    EXPECT_EQ(Motor(strong).GetSpeed(), baseSpeed);
    EXPECT_EQ(Motor(strong).GetGravity(), thumper->m_stunGrav) << "held by a lift";
    EXPECT_GE(RecordsOf(*thumper, strong), 1u);

    // The win camera's gravity 0 is not undone by a later update.
    Motor(weak).SetGravity(0.0f);
    Data(strong).m_isLifted = false;
    Frames(1);
    EXPECT_EQ(Motor(strong).GetGravity(), baseGravity) << "given back once the lift let go";
    Motor(strong).SetGravity(0.0f);
    Frames(2);
    EXPECT_EQ(Motor(weak).GetGravity(), 0.0f);
    EXPECT_EQ(Motor(strong).GetGravity(), 0.0f);
    EXPECT_TRUE(thumper->GetStunned().empty());
}

TEST_F(ThumperTest, AStillStunnedPlayerIsRestoredThenStunnedAgainAtTheNextSlam)
{
    Entity* player = Standing("player", 1.0f);
    SettleJoins();
    ThumperComponent* thumper = Thumper(0.0f, kStandHeight, 0.0f);
    thumper->m_thumpTime = 2.0f;
    thumper->m_stunTime = 10.0f;
    thumper->m_thumpDir = Vec4(0.0f, 0.0f, 0.0f, 0.0f); // knocked nowhere: still in the box at the next slam
    const float baseSpeed = Motor(player).GetBaseSpeed();
    Frames(8);
    const std::size_t perSlam = RecordsOf(*thumper, player);
    ASSERT_GE(perSlam, 1u) << "one record per collider in the box";
    EXPECT_EQ(Motor(player).GetSpeed(), thumper->m_stunSpeed);

    // Between the slams the player is changed; the next slam gives back the base values
    // first, so the new stun saves those and not the stun's.
    thumper->m_stunSpeed = 3.0f;
    Frames(8);
    EXPECT_EQ(RecordsOf(*thumper, player), perSlam) << "the old records went with the release";
    EXPECT_EQ(Motor(player).GetSpeed(), 3.0f);
    for (const auto& record : thumper->GetStunned())
        EXPECT_EQ(record.savedSpeed, baseSpeed);
    thumper->ReleaseStunned();
    EXPECT_EQ(Motor(player).GetSpeed(), baseSpeed);
    EXPECT_TRUE(thumper->GetStunned().empty());
}

TEST_F(ThumperTest, TheGroundBlastsParticlesSpawnWithinTheBoxAroundTheCentre)
{
    ThumperComponent* thumper = Thumper(10.0f, 3.0f, -4.0f);
    thumper->m_thumpTime = 1.0f;
    thumper->m_minHalfExtent = Vec4(1.0f, 0.5f, 2.0f, 0.0f);
    thumper->m_maxHalfExtent = Vec4(3.0f, 1.5f, 0.5f, 0.0f);
    Frames(4);
    Entity* blast = thumper->GetGroundBlast();
    ASSERT_NE(blast, nullptr);
    auto* emitter = blast->GetComponent<EmitterComponent>();
    ASSERT_NE(emitter, nullptr);
    EXPECT_EQ(emitter->GetEmitterType(), ZOR::ParticleEmitter::BOX);
    EXPECT_TRUE(emitter->GetEmitting());
    Frames(2);
    std::size_t seen = 0;
    for (unsigned pool = 0; pool < 2; ++pool)
        for (const auto& particle : emitter->GetPool(pool)) {
            if (!particle.alive)
                continue;
            ++seen;
            EXPECT_GE(particle.position.x, 9.0f - 1e-3f);
            EXPECT_LE(particle.position.x, 13.0f + 1e-3f);
            EXPECT_GE(particle.position.y, 2.5f - 1e-3f);
            EXPECT_LE(particle.position.y, 4.5f + 1e-3f);
            EXPECT_GE(particle.position.z, -6.0f - 1e-3f);
            EXPECT_LE(particle.position.z, -3.5f + 1e-3f);
        }
    EXPECT_GT(seen, 0u);
}

TEST_F(ThumperTest, AThumperGoingMidTweenIsSafeAndTheWinStopsTheTimer)
{
    Standing("player", 1.0f);
    SettleJoins();
    ThumperComponent* going = Thumper(0.0f, kStandHeight, 0.0f);
    going->m_thumpTime = 1.0f;
    going->m_thumpApplyTime = 5.0f;
    going->m_glowDuration = 5.0f;
    Frames(4);
    ASSERT_FALSE(going->GetStunned().empty());
    going->GetEntity()->Destroy();
    Frames(4); // the power and glow tweens would write into the freed thumper

    ThumperComponent* staying = Thumper(30.0f, kStandHeight, 0.0f);
    Frames(2);
    const float before = staying->GetPeriodTimer();
    EXPECT_GT(before, 0.0f);
    for (int i = 0; i < 5; ++i)
        world->logic->AddScore("red");
    Frames(1);
    EXPECT_FALSE(staying->IsRunning()) << "the end of the match stops the thumpers";
    Frames(3);
    EXPECT_EQ(staying->GetPeriodTimer(), before + kFrame) << "only the frame before the end counted";
}

TEST_F(ThumperTest, AThumperWithoutABodyOrWithValuesThatAreNoNumbersNeverSlams)
{
    Entity* bare = world->Spawn("bare", 0.0f, kStandHeight, 0.0f);
    auto* bodiless = new ThumperComponent;
    bodiless->m_thumpTime = 0.5f;
    bare->AddComponent(ThumperComponent::ID, bodiless, true);
    ThumperComponent* broken = Thumper(0.0f, kStandHeight, 0.0f);
    broken->m_thumpTime = 0.5f;
    broken->m_thumpDir = Vec4(std::numeric_limits<float>::quiet_NaN(), 1.0f, 0.0f, 0.0f);
    Entity* player = Standing("player", 1.0f);

    tarsel::test::StdoutCapture out;
    Frames(8);
    const std::string text = out.Text();
    for (const char* what : {"ThumperComponent on \"bare\" has no RigidBodyComponent3D",
                             "ThumperComponent on \"thumper\" has a value that is not a number"}) {
        EXPECT_NE(text.find(what), std::string::npos) << text;
        EXPECT_EQ(text.find(what), text.rfind(what)) << "once: " << what;
    }
    EXPECT_FALSE(world->Played(ThumperComponent::kHitSound));
    EXPECT_TRUE(bodiless->GetStunned().empty());
    EXPECT_TRUE(broken->GetStunned().empty());
    const Vec4 at = Position(player);
    EXPECT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z));
    EXPECT_EQ(Data(player).blastDist, 0.0f);
}

TEST_F(ThumperTest, LevelHazardsTakeTheirValuesAndRun)
{
    world->LoadLevel("hazards.ql", prop_levels::kHazards);
    Entity* thumperEntity = world->engine->GetEntity("thumper", "default");
    ASSERT_NE(thumperEntity, nullptr);
    auto* thumper = thumperEntity->GetComponent<ThumperComponent>();
    ASSERT_NE(thumper, nullptr);
    EXPECT_EQ(thumper->m_thumpPower, 60.0f);
    EXPECT_EQ(thumper->m_minHalfExtent.x, 2.0f);
    EXPECT_EQ(thumper->m_maxHalfExtent.x, 5.5f) << "the default stays";
    EXPECT_EQ(thumper->m_thumpDir.y, 2.0f);
    EXPECT_TRUE(thumper->IsInLogicSlot());
    auto* drift = world->engine->GetEntity("crate", "default")->GetComponent<FloatComponent>();
    ASSERT_NE(drift, nullptr);
    EXPECT_EQ(drift->m_yDuration, 2.0f);
    EXPECT_EQ(drift->m_xSpeed, 0.0f);
    Frames(3);
    EXPECT_NE(thumper->GetGroundBlast(), nullptr) << "slammed at 0.5 s";
    EXPECT_TRUE(world->Played(ThumperComponent::kHitSound));
    const Vec4 crate = world->engine->GetEntity("crate", "default")->GetComponent<RigidBodyComponent3D>()->GetPosition();
    EXPECT_LT(crate.y, 8.0f) << "the crate floats down through its body first";
    EXPECT_NE(world->engine->GetEntity("feather", "default"), nullptr) << "no player near the feather";
}

TEST_F(ThumperTest, HostileHazardsWarnOnceAndPutNoNumberIntoAPlace)
{
    Entity* player = Standing("player", 0.0f);
    SettleJoins();
    tarsel::test::StdoutCapture out;
    world->LoadLevel("hostile_hazards.ql", prop_levels::kHostileHazards);
    Frames(8);
    const std::string text = out.Text();
    for (const char* what : {"FeatherAction runs on \"placeless\" without a Transform3D",
                             "FloatComponent on \"drifter\"",
                             "ThumperComponent on \"bodilessThumper\" has no RigidBodyComponent3D"}) {
        EXPECT_NE(text.find(what), std::string::npos) << what << "\n" << text;
        EXPECT_EQ(text.find(what), text.rfind(what)) << "once: " << what;
    }
    const Vec4 drifter = world->engine->GetEntity("drifter", "default")->GetComponent<Transform3D>()->GetPosition();
    EXPECT_TRUE(std::isfinite(drifter.x) && std::isfinite(drifter.y) && std::isfinite(drifter.z));
    const Vec4 at = Position(player);
    EXPECT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z));
    EXPECT_TRUE(std::isfinite(Motor(player).GetSpeed()));
    EXPECT_FALSE(world->Played(ThumperComponent::kHitSound));
}

class ThumperLiftTest : public WeaponTest {};

TEST_F(ThumperLiftTest, ALiftedPlayerIsLetGoByItsHolderAndKeepsTheStun)
{
    Entity* holder = Armed("holder", "red", 0.0f, 0.0f);
    Entity* victim = Armed("victim", "blue", 20.0f, 0.0f);
    for (int frame = 0; frame < 30 && !Data(victim).m_isLifted; ++frame)
        BeamFrame(holder, victim);
    ASSERT_TRUE(Data(victim).m_isLifted);
    ASSERT_NE(Held(holder, victim), nullptr);

    Entity* machine = world->Spawn("thumper", 20.0f, kStandHeight, 0.0f);
    auto* body = machine->AddComponent<RigidBodyComponent3D>(true);
    body->SetType(2);
    body->SetHasGravity(false);
    auto* thumper = new ThumperComponent;
    thumper->m_thumpTime = 0.0f; // slams in its first update
    machine->AddComponent(ThumperComponent::ID, thumper, true);
    BeamFrame(holder, victim);
    ASSERT_FALSE(thumper->GetStunned().empty());
    EXPECT_EQ(Held(holder, victim), nullptr) << "the holder let go";
    EXPECT_FALSE(Data(victim).m_isLifted);
    EXPECT_EQ(Motor(victim).GetSpeed(), thumper->m_stunSpeed) << "the release came before the stun";
    EXPECT_EQ(Motor(victim).GetGravity(), thumper->m_stunGrav);
}

} // namespace
} // namespace quellor::test
