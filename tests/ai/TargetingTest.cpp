// Target choice and the aiming operations in a game world: the last qualifying player in the
// memory's order, dead and team-mates skipped, a forgotten or destroyed target, the shot test,
// the random aim offset with scripted draws, and turning the body toward a direction.
#include "tests/ai/AIWorldKit.h"

#include "ai/steering/Steering.h"
#include "renderer/DebugDrawer.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/StdoutCapture.h"

#include <gmock/gmock.h>

#include <cmath>

namespace quellor::test {
namespace {

class TargetingTest : public AIWorldTest {
protected:
    void SetUp() override
    {
        AIWorldTest::SetUp();
        bot = Agent("bot", "red");
        targeting = TargetingOf(bot);
    }

    // The way the bot's body faces (its negated forward axis).
    Vec4 Facing() const { return steering::Scale(BodyOf(bot)->GetForward(), -1.0f); }

    Entity* bot = nullptr;
    AITargetingComponent* targeting = nullptr;
};

TEST_F(TargetingTest, TheLastQualifyingPlayerInCreationOrderIsChosenWhateverTheDistance)
{
    // Created first, so earlier in the memory's order, though nearer and first by name.
    Player("a-near", "green", 0.0f, 0.0f, 4.0f);
    Entity* far = Player("b-far", "purple", 3.0f, 0.0f, 20.0f);
    At(kSecond, 2);
    EXPECT_EQ(targeting->GetTarget(), far);
    EXPECT_TRUE(targeting->HasTarget());

    // Debug drawing marks the target with one red cube.
    ZOR::DebugDrawer reference(256);
    reference.Cube();
    ZOR::DebugDrawer drawer(256);
    targeting->DebugDraw(&drawer);
    EXPECT_EQ(drawer.GetSize(), reference.GetSize());
    EXPECT_EQ(drawer.GetVertices()[0].color.r, 1.0f);
    EXPECT_EQ(drawer.GetVertices()[0].color.g, 0.0f);
}

TEST_F(TargetingTest, DeadPlayersAndTeamMatesAreSkipped)
{
    Entity* enemy = Player("enemy", "green", -2.0f, 0.0f, 6.0f);
    Entity* mate = Player("mate", "red", 0.0f, 0.0f, 6.0f);
    Entity* dead = Player("dead", "orange", 2.0f, 0.0f, 6.0f);
    tarsel::test::GameWorld::DataOf(dead)->m_dying = true;
    At(kSecond, 2);
    EXPECT_THAT(MemoryOf(bot)->GetRecentlySensed(), ::testing::ElementsAre(enemy, mate, dead)) << "all are sensed";
    EXPECT_EQ(targeting->GetTarget(), enemy);

    tarsel::test::GameWorld::DataOf(enemy)->playerTeam = "red"; // joins the bot's team
    At(kSecond);
    EXPECT_FALSE(targeting->HasTarget());
}

TEST_F(TargetingTest, TargetingWorksOnThePreviousFramesMemoryAndForgetsAfterTheSpan)
{
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 6.0f);
    At(kSecond, 1);
    ASSERT_NE(MemoryOf(bot)->FindRecord(enemy), nullptr);
    EXPECT_FALSE(targeting->HasTarget()) << "the memory is refreshed after targeting";
    At(kSecond, 1);
    EXPECT_EQ(targeting->GetTarget(), enemy);
    EXPECT_TRUE(targeting->IsTargetVisible());
    EXPECT_EQ(targeting->GetTimeVisible(), 0.0f);
    clock.Set(kSecond + kSecond / 20);
    EXPECT_EQ(targeting->GetTimeVisible(), TimeAt(kSecond + kSecond / 20) - TimeAt(kSecond));

    // Out of sight: still chosen within the span, none once it has passed.
    DataOf(bot)->facing = Vec4(0.0f, 0.0f, -1.0f, 0.0f);
    At(kSecond + kSecond / 20, 2);
    EXPECT_TRUE(targeting->HasTarget());
    EXPECT_FALSE(targeting->IsTargetVisible());
    At(kSecond + kSecond / 5);
    EXPECT_FALSE(targeting->HasTarget());
    EXPECT_FALSE(targeting->IsTargetVisible());
    EXPECT_EQ(targeting->GetTimeVisible(), 0.0f);
}

TEST_F(TargetingTest, ADestroyedTargetIsNoTargetBeforeTargetingRunsAgain)
{
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 6.0f);
    At(kSecond, 3);
    ASSERT_EQ(targeting->GetTarget(), enemy);
    enemy->Destroy();
    world->Step(); // chosen once more, then deleted at the end of the frame
    EXPECT_FALSE(targeting->HasTarget());
    EXPECT_EQ(targeting->GetTarget(), nullptr);
    EXPECT_FALSE(targeting->IsTargetVisible());
    EXPECT_FALSE(targeting->IsWithinVerticalAimAngle());
    EXPECT_EQ(targeting->GetTimeVisible(), 0.0f);
    ZOR::DebugDrawer drawer(256);
    targeting->DebugDraw(&drawer);
    EXPECT_EQ(drawer.GetSize(), 0u);
    world->Step();
    EXPECT_FALSE(targeting->HasTarget());
}

TEST_F(TargetingTest, TheShotTestPassesLevelAndBelowAndFailsStraightAbove)
{
    EXPECT_FALSE(targeting->IsWithinVerticalAimAngle()) << "no target";
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 6.0f);
    At(kSecond, 2);
    ASSERT_TRUE(targeting->HasTarget());
    EXPECT_TRUE(targeting->IsWithinVerticalAimAngle()) << "level";

    // Looking up at a target straight above: asin(1) is above the default 0.9424779.
    DataOf(bot)->facing = Vec4(0.0f, 1.0f, 0.0f, 0.0f);
    BodyOf(enemy)->SetPosition(Vec4(0.0f, 10.0f, 0.0f, 1.0f));
    At(kSecond, 3);
    ASSERT_EQ(targeting->GetTarget(), enemy);
    EXPECT_FALSE(targeting->IsWithinVerticalAimAngle());
    DataOf(bot)->maxVerticalAimAngle = 1.6f;
    EXPECT_TRUE(targeting->IsWithinVerticalAimAngle());

    DataOf(bot)->maxVerticalAimAngle = 0.9424779f;
    DataOf(bot)->facing = Vec4(0.0f, -1.0f, 0.0f, 0.0f);
    BodyOf(enemy)->SetPosition(Vec4(0.5f, -200.0f, 0.0f, 1.0f));
    At(kSecond, 3);
    ASSERT_EQ(targeting->GetTarget(), enemy);
    EXPECT_TRUE(targeting->IsWithinVerticalAimAngle()) << "far below";
}

TEST_F(TargetingTest, AimOffsetsLieAcrossTheAimAxisWithinTheirBound)
{
    world->Step();
    const Vec4 point(0.0f, 0.0f, 10.0f, 1.0f);
    DataOf(bot)->accuracy = 1.0f;
    const Vec4 exact = targeting->GetAimOffset(point);
    EXPECT_EQ(steering::Length(exact), 0.0f);

    DataOf(bot)->accuracy = 0.5f;
    const float bound = 10.0f * std::atan(0.5f * DataOf(bot)->GetAimErrorAngle());
    // Three draws at the top make the largest spread; an angle draw of 0 leaves it along the
    // right axis, one of 5000 turns it a quarter about the aim axis.
    tarsel::test::ScriptedRandom draws({9999, 9999, 9999, 0});
    const Vec4 right = targeting->GetAimOffset(point);
    EXPECT_NEAR(right.x, 0.9998f * bound, 1e-4f);
    EXPECT_NEAR(right.y, 0.0f, 1e-5f);
    EXPECT_NEAR(right.z, 0.0f, 1e-5f);
    draws.Script({9999, 9999, 9999, 5000});
    const Vec4 turned = targeting->GetAimOffset(point);
    EXPECT_NEAR(turned.x, 0.0f, 1e-4f);
    EXPECT_NEAR(std::fabs(turned.y), 0.9998f * bound, 1e-4f);
    EXPECT_NEAR(turned.z, 0.0f, 1e-5f);

    const Vec4 axis = Facing();
    draws.Script({1234, 8765, 42, 3333, 9999, 0, 5000, 7777, 2500, 6000, 100, 8000});
    for (int i = 0; i < 12; ++i) {
        const Vec4 offset = targeting->GetAimOffset(point);
        EXPECT_NEAR(steering::Dot(offset, axis), 0.0f, 1e-5f);
        EXPECT_LE(steering::Length(offset), bound * 1.0001f);
        EXPECT_EQ(offset.w, 0.0f);
    }
}

TEST_F(TargetingTest, TurningTowardADirectionStopsWithinItsToleranceAndIsLimitedPerCall)
{
    world->Step();
    tarsel::test::GameWorld::DataOf(bot)->xAimSpeed = 2.0f;
    // 0.03 rad off the facing: already facing it.
    const Vec4 near(std::sin(0.03f), 0.0f, std::cos(0.03f), 0.0f);
    EXPECT_TRUE(targeting->TurnTowards(near, 0.1f));
    EXPECT_EQ(Facing().z, 1.0f);
    EXPECT_EQ(Facing().x, 0.0f);

    // Straight behind: one call turns by xAimSpeed × k = 0.2 rad.
    EXPECT_FALSE(targeting->TurnTowards(Vec4(0.0f, 0.0f, -1.0f, 0.0f), 0.1f));
    EXPECT_NEAR(std::acos(Facing().z), 0.2f, 1e-4f);
    EXPECT_NEAR(Facing().y, 0.0f, 1e-6f);
}

TEST_F(TargetingTest, TheTurnGoesTowardTheDirectionOnBothSides)
{
    world->Step();
    EXPECT_FALSE(targeting->TurnTowards(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 0.1f));
    EXPECT_NEAR(Facing().x, std::sin(0.2f), 1e-5f);
    EXPECT_NEAR(Facing().z, std::cos(0.2f), 1e-5f);
    for (int i = 0; i < 20 && !targeting->TurnTowards(Vec4(-1.0f, 0.0f, 0.0f, 0.0f), 0.1f); ++i) {
    }
    EXPECT_NEAR(Facing().x, -1.0f, 1e-3f) << "turned the other way until facing -x";
    // A large factor turns the whole way in one call.
    EXPECT_FALSE(targeting->TurnTowards(Vec4(0.0f, 0.0f, -1.0f, 0.0f), 10.0f));
    EXPECT_NEAR(Facing().z, -1.0f, 1e-5f);
}

TEST_F(TargetingTest, AnAgentMissingWhatTargetingReadsChoosesNothingAndAimsNowhere)
{
    Entity* loner = world->JoinPlayer("loner", "blue", -1, 5.0f, 0.0f, 0.0f);
    auto* lonely = loner->AddComponent<AITargetingComponent>(true); // no body, memory or tuning
    Player("enemy", "green", 5.0f, 0.0f, 6.0f);
    tarsel::test::StdoutCapture capture;
    At(kSecond, 3);
    EXPECT_FALSE(lonely->HasTarget());
    EXPECT_EQ(steering::Length(lonely->GetAimOffset(Vec4(0.0f, 0.0f, 9.0f, 1.0f))), 0.0f);
    EXPECT_FALSE(lonely->TurnTowards(Vec4(1.0f, 0.0f, 0.0f, 0.0f), 1.0f));
    const std::string& text = capture.Text();
    const std::string warning = "\"loner\" has no usable SensoryMemoryComponent";
    EXPECT_NE(text.find(warning), std::string::npos) << text;
    EXPECT_EQ(text.find(warning), text.rfind(warning));
    EXPECT_NE(text.find("\"loner\" has no usable RigidBodyComponent3D"), std::string::npos) << text;
}

TEST_F(TargetingTest, TheAgentsTargetingAndMemoryLeaveTheAISystemWithIt)
{
    Agent("other", "green", 4.0f, 0.0f, 0.0f);
    EXPECT_EQ(ai->GetTargetingComponents().Count(), 2u);
    EXPECT_EQ(ai->GetSensoryMemories().Count(), 2u);
    bot->Destroy();
    world->Step();
    EXPECT_EQ(ai->GetTargetingComponents().Count(), 1u);
    EXPECT_EQ(ai->GetSensoryMemories().Count(), 1u);
    world->Step();
}

} // namespace
} // namespace quellor::test
