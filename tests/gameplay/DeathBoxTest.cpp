// The kill volume in a game world with real physics: the start delay and its burst entity, the
// fixed box around the level, the touch of the sensor box with its grace and the dying flag,
// the death flows of people and computer players, and what the flow's end gives back.
#include "DeathKit.h"
#include "DeathLevels.h"

#include "engine/ActionSystem.h"
#include "gameplay/SkipDeathAction.h"
#include "tests/support/StdoutCapture.h"

namespace quellor::test {
namespace {

class DeathBoxTest : public DeathTest {
protected:
    // The volume's sensor box lies below the spawns; a player put at y = -50 is inside it.
    static constexpr float kInsideY = -50.0f;

    DeathBoxComponent* AddKillVolume(bool withBox = true)
    {
        return AddVolume<DeathBoxComponent>("killVolume", 0.0f, -50.0f, 0.0f, 20.0f, withBox);
    }
    // Runs the volume past its start delay.
    void PastStart() { Seconds(DeathFlow::kStartDelay + 0.05f); }

    static bool Dying(Entity* player) { return Data(player)->m_dying; }

    // Past the start, the victim (red, pad 0) leaves the level after a hit by the hitter
    // (purple), a person on pad 1 or else a computer player.
    void KnockOut(bool personHitter)
    {
        victim = Person("victim", "red", 0);
        hitter = personHitter ? Person("hitter", "purple", 1) : Bot("hitter", "purple");
        PastStart();
        Data(victim)->SetLastHitter(hitter);
        Place(victim, 600.0f, 0.0f, 0.0f);
    }

    Entity* victim = nullptr;
    Entity* hitter = nullptr;
};

TEST_F(DeathBoxTest, FirstUpdateBuildsOneBurstEntityAndNobodyDiesDuringTheStartDelay)
{
    Entity* bot = Person("p0", "red", 0);
    world->Step(2); // the frames after a join run no gameplay component
    DeathBoxComponent* volume = AddKillVolume();
    Place(bot, 600.0f, 0.0f, 0.0f);
    world->Step();
    EXPECT_EQ(CountNamed("respawn"), 1);
    ASSERT_NE(volume->GetFlow().GetRespawnEmitter(), nullptr);
    EXPECT_FALSE(volume->GetFlow().GetRespawnEmitter()->GetEmitting());

    Seconds(0.45f);
    EXPECT_FALSE(Dying(bot));
    Seconds(0.1f);
    EXPECT_TRUE(Dying(bot));
    EXPECT_FALSE(Data(bot)->canControl);
    EXPECT_EQ(CountNamed("respawn"), 1);
}

TEST_F(DeathBoxTest, TheFixedBoxEndsAtItsBoundsExactly)
{
    AddKillVolume();
    Entity* edge = Bot("edge", "red");
    Entity* past = Bot("past", "red");
    Entity* low = Bot("low", "purple");
    Entity* far = Bot("far", "purple");
    PastStart();
    Place(edge, 560.0f, 0.0f, 0.0f);
    Place(past, 560.01f, 0.0f, 0.0f);
    Place(low, 0.0f, -401.0f, 0.0f);
    Place(far, 0.0f, 0.0f, -335.5f);
    world->Step();
    EXPECT_FALSE(Dying(edge));
    EXPECT_TRUE(Dying(past));
    EXPECT_TRUE(Dying(low));
    EXPECT_TRUE(Dying(far));
    EXPECT_TRUE(DeathBoxComponent::IsOutside(Vec4(-468.01f, 0.0f, 0.0f, 1.0f)));
    EXPECT_FALSE(DeathBoxComponent::IsOutside(Vec4(-468.0f, 333.0f, 580.0f, 1.0f)));
    EXPECT_TRUE(DeathBoxComponent::IsOutside(Vec4(0.0f, 333.01f, 0.0f, 1.0f)));
    EXPECT_TRUE(DeathBoxComponent::IsOutside(Vec4(0.0f, 0.0f, 580.01f, 1.0f)));
}

TEST_F(DeathBoxTest, TouchKillsButNeitherDuringTheGraceNorWhileDying)
{
    DeathBoxComponent* volume = AddKillVolume();
    // People: their flows outlast the test.
    Entity* toucher = Person("toucher", "red", 0);
    Entity* graced = Person("graced", "red", 1);
    Entity* dying = Bot("dying", "purple");
    PastStart();
    Data(graced)->m_respawnGrace = 0.2f;
    Data(dying)->m_dying = true;
    for (Entity* player : {toucher, graced, dying})
        Place(player, 0.0f, kInsideY, 0.0f);
    // The touch reaches the records one or two updates after the placement.
    world->Step(3);
    EXPECT_TRUE(Dying(toucher));
    EXPECT_FALSE(Dying(graced));
    ASSERT_EQ(volume->GetPending().size(), 1u);
    EXPECT_EQ(volume->GetPending().front().victim.Get(), toucher);
    // The motor counts the grace away; then the touch kills.
    Seconds(0.2f);
    EXPECT_TRUE(Dying(graced));
    EXPECT_EQ(volume->GetPending().size(), 2u);
}

TEST_F(DeathBoxTest, TwoKillsInOneFrameAreBothQueuedInJoinOrder)
{
    DeathBoxComponent* volume = AddKillVolume();
    Entity* first = Bot("first", "red");
    Entity* second = Bot("second", "purple");
    PastStart();
    Place(first, 0.0f, 0.0f, 700.0f);
    Place(second, 0.0f, 0.0f, 700.0f);
    world->Step();
    ASSERT_EQ(volume->GetPending().size(), 2u);
    EXPECT_EQ(volume->GetPending().front().victim.Get(), first);
    EXPECT_EQ(volume->GetPending().back().victim.Get(), second);
    EXPECT_FLOAT_EQ(volume->GetPending().back().respawnPosition.x, kPurpleSpawnX);
    EXPECT_FLOAT_EQ(volume->GetPending().front().timer, DeathBoxComponent::kPendingTimer);
    EXPECT_EQ(world->PlayCount(DeathBoxComponent::kDeathSound), 2u);
}

// A person knocked out by a person: the screen watches the body 3 s, then glides to the
// hitter's camera for 5 s; only the flow's end scores and puts the victim back.
TEST_F(DeathBoxTest, PersonKilledByAPersonWatchesThenFollowsAndRespawnsAtTheEnd)
{
    DeathBoxComponent* volume = AddKillVolume();
    KnockOut(true);
    world->Step(); // the kill
    ASSERT_TRUE(Dying(victim));
    auto* camera = victim->GetComponent<ThirdPersonCameraComponent>();
    EXPECT_FALSE(camera->IsEnabled());
    const int screen = camera->GetScreenID();
    world->Step(); // the flow starts
    const ZOR::float3 eye = ScreenCamera(screen).GetPosition();

    Place(victim, 600.0f, -30.0f, 0.0f);
    Seconds(2.5f);
    // Watching: the eye stays, the view turns to the body.
    EXPECT_FLOAT_EQ(ScreenCamera(screen).GetPosition().x, eye.x);
    EXPECT_FLOAT_EQ(ScreenCamera(screen).GetPosition().y, eye.y);
    EXPECT_EQ(Score("purple"), 0);

    Seconds(2.0f);
    // Following: the eye has moved toward the hitter's camera.
    const ZOR::float3 goal = ScreenCamera(hitter->GetComponent<ThirdPersonCameraComponent>()->GetScreenID()).GetPosition();
    const ZOR::float3 now = ScreenCamera(screen).GetPosition();
    EXPECT_LT((now - goal).Length(), (eye - goal).Length() * 0.5f);
    EXPECT_EQ(Score("purple"), 0);
    EXPECT_FALSE(Data(victim)->canControl);

    EXPECT_EQ(world->feathers->GetFeathers("purple"), 0);
    Seconds(3.6f);
    EXPECT_EQ(Score("purple"), 1);
    EXPECT_EQ(Score("red"), 0);
    EXPECT_EQ(world->feathers->GetFeathers("purple"), 1);
    EXPECT_EQ(world->feathers->GetFeathers("red"), 0);
    const Vec4 at = PositionOf(victim);
    EXPECT_FLOAT_EQ(at.x, kRedSpawnX);
    EXPECT_FLOAT_EQ(at.y, Data(victim)->sphereCollRadius);
    EXPECT_TRUE(Data(victim)->canControl);
    EXPECT_TRUE(camera->IsEnabled());
    EXPECT_EQ(Data(victim)->GetLastHitter(), nullptr);
    EXPECT_TRUE(volume->GetPending().empty());
    ASSERT_EQ(volume->GetRecentRespawns().count("victim"), 1u);
    // Still dying for 0.2 s after the respawn, then cleared by an update.
    EXPECT_TRUE(Dying(victim));
    EmitterComponent* burst = volume->GetFlow().GetRespawnEmitter();
    ASSERT_NE(burst, nullptr);
    EXPECT_TRUE(burst->GetEmitting());
    const Vec4 burstAt = volume->GetFlow().GetRespawnEntity()->GetComponent<Transform3D>()->GetPosition();
    EXPECT_FLOAT_EQ(burstAt.x, kRedSpawnX);
    EXPECT_FLOAT_EQ(burstAt.y, 0.0f);
    Seconds(0.3f);
    EXPECT_FALSE(Dying(victim));
    EXPECT_TRUE(volume->GetRecentRespawns().empty());
    Seconds(0.5f);
    EXPECT_FALSE(burst->GetEmitting());
}

TEST_F(DeathBoxTest, PersonKilledByAComputerPlayerWatchesThenWaits)
{
    AddKillVolume();
    KnockOut(false);
    world->Step(2);
    const ZOR::float3 eye = ScreenCamera(0).GetPosition();
    Seconds(7.5f);
    // No glide: the eye has not moved, and the flow is still running.
    EXPECT_EQ((ScreenCamera(0).GetPosition() - eye).Length(), 0.0f);
    EXPECT_EQ(Score("purple"), 0);
    Seconds(0.6f);
    EXPECT_EQ(Score("purple"), 1);
    EXPECT_TRUE(Data(victim)->canControl);
}

TEST_F(DeathBoxTest, WithoutAHitterNobodyScores)
{
    DeathBoxComponent* volume = AddKillVolume();
    victim = Person("victim", "red", 0);
    Bot("other", "purple");
    PastStart();
    Place(victim, 600.0f, 0.0f, 0.0f);
    // The watch ends after 3 s, the skip prompt after 6 s: the flow waits for it.
    Seconds(5.5f);
    EXPECT_FALSE(Data(victim)->canControl);
    Seconds(1.0f);
    EXPECT_TRUE(Data(victim)->canControl);
    EXPECT_TRUE(volume->GetPending().empty());
    EXPECT_EQ(Score("red"), 0);
    EXPECT_EQ(Score("purple"), 0);
    EXPECT_EQ(world->feathers->GetTeamCount(), 0u);
}

// Flows differ in length: each respawns its own victim.
TEST_F(DeathBoxTest, AComputerPlayerDyingLaterRespawnsBeforeThePersonWhoDiedFirst)
{
    DeathBoxComponent* volume = AddKillVolume();
    Entity* person = Person("person", "red", 0);
    Entity* bot = Bot("bot", "purple");
    PastStart();
    Place(person, 600.0f, 0.0f, 0.0f);
    world->Step();
    Seconds(1.0f);
    Place(bot, 600.0f, 0.0f, 0.0f);
    world->Step(); // the bot's kill
    ASSERT_TRUE(Dying(bot));
    ASSERT_EQ(volume->GetPending().size(), 2u);
    world->Step(); // its flow starts and its skip action ends it at once
    EXPECT_FLOAT_EQ(PositionOf(bot).x, kPurpleSpawnX);
    EXPECT_TRUE(Data(bot)->canControl);
    // The grace starts at 0.2 s; the motor has counted this frame off it.
    EXPECT_FLOAT_EQ(Data(bot)->m_respawnGrace, DeathBoxComponent::kRecentTimer - kDt);
    EXPECT_FALSE(Data(person)->canControl);
    EXPECT_FLOAT_EQ(PositionOf(person).x, 600.0f);
    ASSERT_EQ(volume->GetPending().size(), 1u);
    EXPECT_EQ(volume->GetPending().front().victim.Get(), person);
    Seconds(5.0f);
    EXPECT_TRUE(Data(person)->canControl);
    EXPECT_FLOAT_EQ(PositionOf(person).x, kRedSpawnX);
}

// The pause menu's quit empties "default" while a flow runs; the volume may go before the
// flow's players do. No respawn step may call into it afterwards.
TEST_F(DeathBoxTest, AVolumeThatGoesMidFlowCancelsItsFlowsAndCallsNoRespawn)
{
    DeathBoxComponent* volume = AddKillVolume();
    KnockOut(true);
    world->Step(3);
    ASSERT_EQ(volume->GetFlow().RunningCount(), 1u);
    ASSERT_EQ(CountNamed(SkipDeathAction::kTextName), 1);
    volume->GetEntity()->Destroy();
    world->Step(2);
    EXPECT_EQ(world->actions->GetRootList().GetCount(), 0);
    // The prompt and the effect go with the flow.
    EXPECT_EQ(CountNamed(SkipDeathAction::kTextName) + CountNamed(SkipDeathAction::kEffectName), 0);
    Seconds(9.0f);
    EXPECT_EQ(Score("purple"), 0);
    EXPECT_FALSE(Data(victim)->canControl);
    EXPECT_FLOAT_EQ(PositionOf(victim).x, 600.0f);
}

TEST_F(DeathBoxTest, EmptyingTheSpaceMidFlowLeavesNothingRunning)
{
    AddKillVolume();
    KnockOut(true);
    world->Step(3);
    world->engine->DestroyDefaultEntities();
    world->Step(2);
    EXPECT_EQ(world->actions->GetRootList().GetCount(), 0);
    EXPECT_EQ(CountNamed(SkipDeathAction::kTextName) + CountNamed(SkipDeathAction::kEffectName), 0);
    Seconds(9.0f);
    EXPECT_EQ(Score("purple"), 0);
}

TEST_F(DeathBoxTest, AVolumeWithoutABoxKillsOnlyOutsideTheFixedBoxAndWarnsOnce)
{
    tarsel::test::StdoutCapture out;
    AddKillVolume(false);
    Entity* inside = Bot("inside", "red");
    Entity* outside = Bot("outside", "purple");
    PastStart();
    Place(inside, 0.0f, kInsideY, 0.0f);
    Place(outside, 600.0f, 0.0f, 0.0f);
    world->Step(4);
    EXPECT_FALSE(Dying(inside));
    EXPECT_TRUE(Dying(outside));
    EXPECT_TRUE(WarnedOnce(out.Text(), "no BoxColliderComponent3D"));
}

TEST_F(DeathBoxTest, PlayersWithoutASpawnOrAnEntityAreSkippedAndOneWithoutABoxDiesOnlyByLeaving)
{
    DeathBoxComponent* volume = AddKillVolume();
    // Without a box of its own a player cannot touch the volume, but it can leave the level.
    Entity* boxlessOut = world->MakePlayer("boxlessOut", "red", -1, 600.0f, 0.0f, 0.0f);
    world->logic->AddPlayer(-1, boxlessOut, true, true);
    Entity* boxlessIn = world->MakePlayer("boxlessIn", "red", -1, 0.0f, kInsideY, 0.0f);
    world->logic->AddPlayer(-1, boxlessIn, true, true);
    Entity* homeless = Bot("homeless", "green");
    Entity* gone = Bot("gone", "red");
    PastStart();
    Place(homeless, 600.0f, 0.0f, 0.0f);
    Place(gone, 600.0f, 0.0f, 0.0f);
    gone->Destroy();
    world->Step(3);
    EXPECT_TRUE(Data(boxlessOut)->m_dying);
    EXPECT_FALSE(Data(boxlessIn)->m_dying);
    EXPECT_FALSE(Dying(homeless));
    EXPECT_EQ(volume->GetVictim(), boxlessOut);
}

TEST_F(DeathBoxTest, ALevelLoadsBothComponentsByName)
{
    victim = Person("victim", "red", 0);
    world->LoadLevel("volumes.ql", death_levels::kVolumes);
    Entity* volume = world->engine->GetSpace("default")->FindEntity("killVolume");
    Entity* boundary = world->engine->GetSpace("default")->FindEntity("boundary");
    ASSERT_NE(volume, nullptr);
    ASSERT_NE(boundary, nullptr);
    ASSERT_NE(volume->GetComponent<DeathBoxComponent>(), nullptr);
    ASSERT_NE(boundary->GetComponent<LevelBoundaryComponent>(), nullptr);
    EXPECT_TRUE(volume->GetComponent<DeathBoxComponent>()->IsInLogicSlot());
    EXPECT_TRUE(boundary->GetComponent<LevelBoundaryComponent>()->IsInLogicSlot());
    // The player at its spawn is inside the boundary; put into the volume, it dies.
    Seconds(1.0f);
    EXPECT_TRUE(Data(victim)->canControl);
    Place(victim, 0.0f, -60.0f, 0.0f);
    world->Step(3);
    EXPECT_TRUE(Dying(victim));
}

TEST_F(DeathBoxTest, ComponentsWithoutTheirCollidersLoadAndStayHarmless)
{
    victim = Person("victim", "red", 0);
    world->LoadLevel("bare.ql", death_levels::kBareVolumes);
    Seconds(3.0f);
    EXPECT_TRUE(Data(victim)->canControl);
    EXPECT_FALSE(Dying(victim));
}

} // namespace
} // namespace quellor::test
