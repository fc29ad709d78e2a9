// The level boundary in a game world with real physics: the start delay and the cooldown,
// contact however deep as in bounds, one victim at a time, and the flow whose end scores and
// puts the victim back.
#include "DeathKit.h"

#include "tests/support/StdoutCapture.h"

namespace quellor::test {
namespace {

class LevelBoundaryTest : public DeathTest {
protected:
    static constexpr float kHalf = 90.0f;
    static constexpr float kOutX = 150.0f;

    LevelBoundaryComponent* AddBoundary(bool withBox = true)
    {
        return AddVolume<LevelBoundaryComponent>("boundary", 0.0f, 0.0f, 0.0f, kHalf, withBox);
    }
    // Past the start delay and the first cooldown.
    void PastStart()
    {
        Seconds(DeathFlow::kStartDelay + LevelBoundaryComponent::kStartCooldown + 0.05f);
    }
    static bool Taken(Entity* player) { return !Data(player)->canControl; }
};

TEST_F(LevelBoundaryTest, NobodyIsTakenBeforeTheStartDelayAndTheFirstCooldown)
{
    Entity* person = Person("p0", "red", 0);
    world->Step(2); // the frames after a join run no gameplay component
    LevelBoundaryComponent* boundary = AddBoundary();
    Place(person, kOutX, 0.0f, 0.0f);
    world->Step();
    EXPECT_EQ(CountNamed(DeathFlow::kRespawnName), 1);
    ASSERT_NE(boundary->GetFlow().GetRespawnEmitter(), nullptr);
    Seconds(0.5f + 2.0f - 0.1f);
    EXPECT_FALSE(Taken(person));
    int frames = 0;
    while (!Taken(person) && frames < 10) {
        world->Step();
        ++frames;
    }
    EXPECT_TRUE(Taken(person));
    EXPECT_GE(frames, 3); // 2.5 s have passed only now
    EXPECT_EQ(boundary->GetVictim(), person);
    EXPECT_FLOAT_EQ(boundary->GetCooldown(), LevelBoundaryComponent::kFlowCooldown);
    // The victim counts as dying until its flow ends.
    EXPECT_TRUE(Data(person)->m_dying);
    Seconds(2.1f);
    EXPECT_FALSE(Taken(person));
    EXPECT_FALSE(Data(person)->m_dying);
}

TEST_F(LevelBoundaryTest, AnyContactHoweverDeepIsInBounds)
{
    AddBoundary();
    Entity* centre = Person("centre", "red", 0);
    Entity* edge = Person("edge", "purple", 1);
    PastStart();
    Place(centre, 0.0f, 0.0f, 0.0f);
    Place(edge, kHalf + 0.2f, 0.0f, 0.0f); // the body box reaches 0.5 across the face
    Seconds(1.0f);
    EXPECT_FALSE(Taken(centre));
    EXPECT_FALSE(Taken(edge));
    Place(edge, kHalf + 0.6f, 0.0f, 0.0f);
    world->Step(3);
    EXPECT_TRUE(Taken(edge));
}

TEST_F(LevelBoundaryTest, TwoLeavingTogetherAreTakenOneAfterTheOther)
{
    LevelBoundaryComponent* boundary = AddBoundary();
    Entity* first = Person("first", "red", 0);
    Entity* second = Person("second", "purple", 1);
    PastStart();
    Place(first, kOutX, 0.0f, 0.0f);
    Place(second, -kOutX, 0.0f, 0.0f);
    world->Step(3);
    ASSERT_TRUE(Taken(first));
    EXPECT_FALSE(Taken(second));
    // Without a hitter the flow lasts 2 s, then 2 s of cooldown.
    Seconds(2.1f);
    EXPECT_FALSE(Taken(first));
    EXPECT_FLOAT_EQ(PositionOf(first).x, kRedSpawnX);
    EXPECT_FALSE(Taken(second));
    Seconds(1.8f);
    EXPECT_FALSE(Taken(second));
    Seconds(0.3f);
    EXPECT_TRUE(Taken(second));
    EXPECT_EQ(boundary->GetVictim(), second);
}

TEST_F(LevelBoundaryTest, TheHitterScoresAtTheFlowsEndAndStaysTheLastHitter)
{
    AddBoundary();
    Entity* victim = Person("victim", "red", 0);
    Entity* hitter = Person("hitter", "purple", 1);
    PastStart();
    Data(victim)->SetLastHitter(hitter);
    Place(victim, kOutX, 0.0f, 0.0f);
    world->Step(3);
    ASSERT_TRUE(Taken(victim));
    const ZOR::float3 eye = ScreenCamera(0).GetPosition();
    Seconds(3.0f);
    // After a 1 s watch the screen glides toward the hitter's view.
    const ZOR::float3 goal = ScreenCamera(1).GetPosition();
    EXPECT_LT((ScreenCamera(0).GetPosition() - goal).Length(), (eye - goal).Length() * 0.5f);
    EXPECT_EQ(Score("purple"), 0);
    EXPECT_EQ(world->PlayCount(LevelBoundaryComponent::kScoreSound), 0u);
    Seconds(3.2f);
    EXPECT_EQ(Score("purple"), 1);
    // One from the score itself, one from the boundary.
    EXPECT_EQ(world->PlayCount(LevelBoundaryComponent::kScoreSound), 2u);
    EXPECT_FALSE(Taken(victim));
    EXPECT_FLOAT_EQ(PositionOf(victim).x, kRedSpawnX);
    EXPECT_FLOAT_EQ(PositionOf(victim).y, Data(victim)->sphereCollRadius);
    EXPECT_TRUE(victim->GetComponent<ThirdPersonCameraComponent>()->IsEnabled());
    EXPECT_EQ(Data(victim)->GetLastHitter(), hitter);
    // Only the kill volume's points count as feathers.
    EXPECT_EQ(world->feathers->GetFeathers("purple"), 0);
}

// The kill volume lies outside the boundary here, and the fixed box around the level is left
// at x = 600: whichever takes a falling player first, the fall scores once.
TEST_F(LevelBoundaryTest, AFallThroughTheBoundaryAndTheKillVolumeScoresOnce)
{
    AddBoundary();
    DeathBoxComponent* volume = AddVolume<DeathBoxComponent>("killVolume", 0.0f, -200.0f, 0.0f, 20.0f);
    Entity* victim = Person("victim", "red", 0);
    Entity* hitter = Bot("hitter", "purple");
    // The kill volume first: it watches before the boundary's first cooldown ends.
    Seconds(DeathFlow::kStartDelay + 0.05f);
    Data(victim)->SetLastHitter(hitter);
    Place(victim, 0.0f, -200.0f, 0.0f);
    world->Step(3);
    ASSERT_TRUE(Taken(victim));
    ASSERT_TRUE(Data(victim)->m_dying);
    // Past the boundary's cooldown while the kill volume's flow (3 s and 5 s) runs.
    Seconds(7.0f);
    EXPECT_EQ(Score("purple"), 0);
    Seconds(1.5f);
    EXPECT_FALSE(Taken(victim));
    EXPECT_EQ(Score("purple"), 1);
    EXPECT_FLOAT_EQ(PositionOf(victim).x, kRedSpawnX);

    // The boundary first; the fall goes on out of the level's fixed box during its flow (1 s
    // and 5 s).
    Seconds(0.5f);
    Data(victim)->SetLastHitter(hitter);
    Place(victim, kOutX, 0.0f, 0.0f);
    world->Step(3);
    ASSERT_TRUE(Taken(victim));
    Place(victim, 600.0f, 0.0f, 0.0f);
    Seconds(4.0f);
    EXPECT_TRUE(volume->GetPending().empty());
    EXPECT_EQ(Score("purple"), 1);
    Seconds(2.5f);
    EXPECT_FALSE(Taken(victim));
    EXPECT_EQ(Score("purple"), 2);
    EXPECT_FLOAT_EQ(PositionOf(victim).x, kRedSpawnX);
}

TEST_F(LevelBoundaryTest, AComputerHitterGivesAWaitNotAFollow)
{
    AddBoundary();
    Entity* victim = Person("victim", "red", 0);
    Entity* hitter = Bot("hitter", "purple");
    PastStart();
    Data(victim)->SetLastHitter(hitter);
    Place(victim, kOutX, 0.0f, 0.0f);
    world->Step(3);
    const ZOR::float3 eye = ScreenCamera(0).GetPosition();
    Seconds(5.5f);
    EXPECT_EQ((ScreenCamera(0).GetPosition() - eye).Length(), 0.0f);
    EXPECT_TRUE(Taken(victim));
    Seconds(0.7f);
    EXPECT_FALSE(Taken(victim));
    EXPECT_EQ(Score("purple"), 1);
}

TEST_F(LevelBoundaryTest, AComputerVictimRespawnsTheNextFrame)
{
    LevelBoundaryComponent* boundary = AddBoundary();
    Entity* bot = Bot("bot", "red");
    Entity* hitter = Person("hitter", "purple", 0);
    PastStart();
    Data(bot)->SetLastHitter(hitter);
    Place(bot, kOutX, 0.0f, 0.0f);
    world->Step(2); // the touch ends in the records
    int frames = 0;
    while (!Taken(bot) && frames < 3) {
        world->Step();
        ++frames;
    }
    ASSERT_TRUE(Taken(bot));
    world->Step();
    EXPECT_FALSE(Taken(bot));
    EXPECT_FLOAT_EQ(PositionOf(bot).x, kRedSpawnX);
    EXPECT_EQ(Score("purple"), 1);
    // Set by the respawn early in the frame, then counted once.
    EXPECT_FLOAT_EQ(boundary->GetCooldown(), LevelBoundaryComponent::kStartCooldown - kDt);
    EXPECT_EQ(boundary->GetFlow().RunningCount(), 0u);
}

TEST_F(LevelBoundaryTest, ABoundaryWithoutABoxTakesNobodyAndWarnsOnce)
{
    tarsel::test::StdoutCapture out;
    AddBoundary(false);
    Entity* person = Person("p0", "red", 0);
    PastStart();
    Place(person, kOutX, 0.0f, 0.0f);
    Seconds(1.0f);
    EXPECT_FALSE(Taken(person));
    EXPECT_TRUE(WarnedOnce(out.Text(), "no BoxColliderComponent3D"));
}

TEST_F(LevelBoundaryTest, PlayersWithoutABoxOrASpawnAreLeftAlone)
{
    AddBoundary();
    Entity* boxless = world->MakePlayer("boxless", "red", -1, kOutX, 0.0f, 0.0f);
    world->logic->AddPlayer(-1, boxless, true, true);
    Entity* homeless = Person("homeless", "green", 0);
    PastStart();
    Place(homeless, kOutX, 0.0f, 0.0f);
    Seconds(0.5f);
    EXPECT_FALSE(Taken(boxless));
    EXPECT_FALSE(Taken(homeless));
}

} // namespace
} // namespace quellor::test
