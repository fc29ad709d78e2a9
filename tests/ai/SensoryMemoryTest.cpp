// The sensory memory in a game world with real physics: the forward half-space and the line of
// sight, the visible stretches and the span of recent sensing on a hand-driven clock, records
// keyed by entity creation and dropped with their entity, debug drawing, and agents or players
// missing what sensing reads.
#include "tests/ai/AIWorldKit.h"

#include "renderer/DebugDrawer.h"
#include "tests/support/StdoutCapture.h"

#include <gmock/gmock.h>

#include <cmath>
#include <limits>

namespace quellor::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SensoryMemoryTest : public AIWorldTest {
protected:
    void SetUp() override
    {
        AIWorldTest::SetUp();
        bot = Agent("bot", "red");
        memory = MemoryOf(bot);
    }

    Entity* bot = nullptr;
    SensoryMemoryComponent* memory = nullptr;
};

TEST_F(SensoryMemoryTest, APlayerAheadIsInFrontAndVisibleOneExactlyBesideIsNeitherAndTheAgentSkipsItself)
{
    Entity* ahead = Player("ahead", "green", 0.0f, 0.0f, 6.0f);
    Entity* beside = Player("beside", "green", 4.0f, 0.0f, 0.0f);
    At(kSecond, 2);

    const MemoryRecord* seen = memory->FindRecord(ahead);
    ASSERT_NE(seen, nullptr);
    EXPECT_TRUE(seen->inFront);
    EXPECT_TRUE(seen->visible);
    EXPECT_EQ(seen->lastSensed, TimeAt(kSecond));
    EXPECT_EQ(seen->becameVisible, TimeAt(kSecond));
    EXPECT_FLOAT_EQ(seen->lastPosition.z, 6.0f);
    EXPECT_EQ(seen->lastPosition.w, 1.0f);

    const MemoryRecord* side = memory->FindRecord(beside);
    ASSERT_NE(side, nullptr) << "a player looked at gets a record even when not sensed";
    EXPECT_FALSE(side->inFront);
    EXPECT_FALSE(side->visible);
    EXPECT_EQ(side->lastSensed, -10.0f);
    EXPECT_EQ(side->becameVisible, -10.0f);

    EXPECT_EQ(memory->FindRecord(bot), nullptr);
    EXPECT_EQ(memory->GetRecordCount(), 2u);
    EXPECT_THAT(memory->GetRecentlySensed(), ElementsAre(ahead));
}

TEST_F(SensoryMemoryTest, APlayerBehindAWallIsInFrontButNotVisibleAndKeepsItsLastSensing)
{
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 8.0f);
    Wall("glass", 0.0f, 0.0f, 2.0f, Vec4(2.0f, 2.0f, 0.25f, 0.0f))
        ->GetComponent<BoxColliderComponent3D>()
        ->SetSensor(true);
    At(kSecond, 2);
    EXPECT_TRUE(memory->IsVisible(enemy)) << "sight rays pass through sensors";

    Wall("wall", 0.0f, 0.0f, 4.0f, Vec4(2.0f, 2.0f, 0.25f, 0.0f));
    At(2 * kSecond, 2); // the wall joins the ray queries during these frames
    const float lastSensed = memory->FindRecord(enemy)->lastSensed;
    At(3 * kSecond);
    const MemoryRecord* record = memory->FindRecord(enemy);
    EXPECT_TRUE(record->inFront);
    EXPECT_FALSE(record->visible);
    EXPECT_FALSE(memory->IsVisible(enemy));
    EXPECT_EQ(record->lastSensed, lastSensed);
    EXPECT_NE(record->lastSensed, TimeAt(3 * kSecond));
    EXPECT_FALSE(memory->HasLineOfSight(enemy, BodyOf(enemy)->GetCenterOfMass()));
}

TEST_F(SensoryMemoryTest, AVisibleStretchKeepsItsStartAndAGapRestartsIt)
{
    Entity* enemy = Player("enemy", "green", 1.0f, 0.0f, 6.0f);
    At(kSecond, 2);
    At(2 * kSecond);
    EXPECT_EQ(memory->FindRecord(enemy)->becameVisible, TimeAt(kSecond));
    float seconds = -1.0f;
    ASSERT_TRUE(memory->GetTimeVisible(enemy, seconds));
    EXPECT_EQ(seconds, TimeAt(2 * kSecond) - TimeAt(kSecond));

    // Looking away: not visible, and the time visible is the age of the stretch's start.
    DataOf(bot)->facing = Vec4(0.0f, 0.0f, -1.0f, 0.0f);
    At(3 * kSecond);
    EXPECT_FALSE(memory->IsVisible(enemy));
    EXPECT_FALSE(memory->FindRecord(enemy)->inFront);
    ASSERT_TRUE(memory->GetTimeVisible(enemy, seconds));
    EXPECT_EQ(seconds, TimeAt(3 * kSecond) - TimeAt(kSecond));

    DataOf(bot)->facing = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
    At(4 * kSecond);
    EXPECT_TRUE(memory->IsVisible(enemy));
    EXPECT_EQ(memory->FindRecord(enemy)->becameVisible, TimeAt(4 * kSecond));
}

TEST_F(SensoryMemoryTest, WhatWasNeverLookedAtIsNeitherVisibleNorTimed)
{
    Entity* stranger = world->MakePlayer("stranger", "green", -1, 0.0f, 0.0f, 5.0f); // not in the match
    Entity* prop = world->Spawn("prop", 0.0f, 0.0f, 3.0f);
    At(kSecond, 2);
    float seconds = 7.0f;
    for (Entity* entity : {stranger, prop, static_cast<Entity*>(nullptr)}) {
        EXPECT_FALSE(memory->GetTimeVisible(entity, seconds));
        EXPECT_FALSE(memory->IsVisible(entity));
    }
    EXPECT_EQ(seconds, 7.0f);
    EXPECT_EQ(memory->GetRecordCount(), 0u);
}

TEST_F(SensoryMemoryTest, TheSpanBoundIsStrictAndASpanThatIsNotAPositiveNumberMakesNothingRecent)
{
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 6.0f);
    At(kSecond, 2);
    DataOf(bot)->facing = Vec4(0.0f, 0.0f, -1.0f, 0.0f); // no further sensing
    At(kSecond);

    memory->m_memorySpan = TimeAt(kSecond + kSecond / 2) - TimeAt(kSecond);
    clock.Set(kSecond + kSecond / 2);
    EXPECT_THAT(memory->GetRecentlySensed(), IsEmpty()) << "sensed exactly the span ago";
    clock.Set(kSecond + kSecond / 4);
    EXPECT_THAT(memory->GetRecentlySensed(), ElementsAre(enemy));

    // The default span of 0.1 s.
    memory->m_memorySpan = 0.1f;
    clock.Set(kSecond + kSecond / 20);
    EXPECT_THAT(memory->GetRecentlySensed(), ElementsAre(enemy));
    clock.Set(kSecond + kSecond / 5);
    EXPECT_THAT(memory->GetRecentlySensed(), IsEmpty());

    clock.Set(kSecond);
    for (float span : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        memory->m_memorySpan = span;
        EXPECT_THAT(memory->GetRecentlySensed(), IsEmpty()) << span;
    }
}

TEST_F(SensoryMemoryTest, ADestroyedPlayerIsGoneFromTheMemoryAndANewEntityInheritsNoRecord)
{
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 6.0f);
    Entity* other = Player("other", "green", 2.0f, 0.0f, 6.0f);
    At(kSecond, 2);
    ASSERT_THAT(memory->GetRecentlySensed(), ElementsAre(enemy, other));

    enemy->Destroy();
    world->Step(); // sensed once more, then deleted at the end of the frame
    EXPECT_THAT(memory->GetRecentlySensed(), ElementsAre(other)) << "within the span, but gone";
    EXPECT_EQ(memory->GetRecordCount(), 2u);
    world->Step();
    EXPECT_EQ(memory->GetRecordCount(), 1u) << "the update drops the record";

    Entity* late = Player("late", "green", 3.0f, 0.0f, 0.0f);
    world->Step(2);
    const MemoryRecord* record = memory->FindRecord(late);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->lastSensed, -10.0f);
    EXPECT_FALSE(record->visible);
}

TEST_F(SensoryMemoryTest, DebugDrawDrawsOneCubePerRecentlySensedPlayer)
{
    Player("one", "green", -2.0f, 0.0f, 6.0f);
    Player("two", "green", 2.0f, 0.0f, 6.0f);
    Player("beside", "green", 5.0f, 0.0f, 0.0f);
    At(kSecond, 2);

    ZOR::DebugDrawer reference(1024);
    reference.Cube();
    ZOR::DebugDrawer drawer(1024);
    memory->DebugDraw(&drawer);
    ASSERT_GT(reference.GetSize(), 0u);
    EXPECT_EQ(drawer.GetSize(), 2 * reference.GetSize());
    EXPECT_EQ(drawer.GetVertices()[0].color.g, 1.0f);
    EXPECT_EQ(drawer.GetVertices()[0].color.b, 0.0f);
    memory->DebugDraw(nullptr);
}

TEST_F(SensoryMemoryTest, AgentsAndPlayersMissingWhatSensingReadsAreLeftOutWithOneWarningEach)
{
    Entity* bodiless = world->JoinPlayer("bodiless", "green", -1, 0.0f, 0.0f, 6.0f);
    Entity* blind = Player("blind", "blue", 3.0f, 0.0f, -6.0f);
    blind->AddComponent<SensoryMemoryComponent>(true); // no AIDataComponent
    Entity* enemy = Player("enemy", "green", 0.0f, 0.0f, 9.0f);

    tarsel::test::StdoutCapture capture;
    At(kSecond, 3);
    const std::string& text = capture.Text();
    const std::string bodyWarning = "\"bodiless\" has no usable RigidBodyComponent3D";
    const std::string dataWarning = "\"blind\" has no usable AIDataComponent";
    EXPECT_NE(text.find(bodyWarning), std::string::npos) << text;
    EXPECT_EQ(text.find(bodyWarning), text.rfind(bodyWarning)) << "warned once";
    EXPECT_NE(text.find(dataWarning), std::string::npos) << text;
    EXPECT_EQ(text.find(dataWarning), text.rfind(dataWarning)) << "warned once";

    EXPECT_EQ(memory->FindRecord(bodiless), nullptr);
    EXPECT_THAT(memory->GetRecentlySensed(), ElementsAre(enemy));
    EXPECT_EQ(MemoryOf(blind)->GetRecordCount(), 0u);
}

} // namespace
} // namespace quellor::test
