// The bot tuning component: its defaults and aim error angle, an archetype setting every value
// by its unprefixed name, and levels with hostile values for the computer player's parts, which
// load and run safely.
#include "tests/ai/AIWorldKit.h"

#include "ai/behavior/BehaviorTree.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "tests/ai/AILevelDocuments.h"
#include "tests/support/StdoutCapture.h"

#include <gmock/gmock.h>

namespace quellor::test {
namespace {

TEST(BotTuning, DefaultsAndTheAimErrorAngleWhichUsesAccuracyUnchanged)
{
    AIDataComponent data;
    EXPECT_EQ(data.reactionTime, 0.6f);
    EXPECT_EQ(data.maxVerticalAimAngle, 0.9424779f);
    EXPECT_EQ(data.accuracy, 0.8f);
    EXPECT_EQ(data.liftBeamAimSpeed, 0.25f);
    EXPECT_EQ(data.liftAimInterval, 1.0f);
    EXPECT_EQ(data.liftBias, 0.5f);
    EXPECT_EQ(data.orbBias, 0.5f);
    EXPECT_EQ(data.facing.x, 0.0f);
    EXPECT_EQ(data.facing.y, 0.0f);
    EXPECT_EQ(data.facing.z, 1.0f);
    EXPECT_EQ(data.facing.w, 0.0f);

    const std::pair<float, float> angles[] = {{1.0f, 0.0f}, {0.0f, 3.1241395f}, {-1.0f, 6.248279f}};
    for (const auto& [accuracy, angle] : angles) {
        data.accuracy = accuracy;
        EXPECT_FLOAT_EQ(data.GetAimErrorAngle(), angle) << accuracy;
    }
}

class BotPartsFromDataTest : public AIWorldTest {};

TEST_F(BotPartsFromDataTest, AnArchetypeSetsEveryTuningValueByItsNameAndTheMemorysSpan)
{
    world->WriteFile("archetypes/bot.arch", ai_documents::kBotArchetype);
    world->resources->ScanDirectory("");
    Entity* bot = world->objects->Clone("bot.arch", "bot", "default");
    ASSERT_NE(bot, nullptr);
    const AIDataComponent* data = DataOf(bot);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->reactionTime, 0.25f);
    EXPECT_EQ(data->maxVerticalAimAngle, 0.5f);
    EXPECT_EQ(data->accuracy, 0.125f);
    EXPECT_EQ(data->liftBeamAimSpeed, 0.75f);
    EXPECT_EQ(data->liftAimInterval, 2.5f);
    EXPECT_EQ(data->liftBias, 0.0625f);
    EXPECT_EQ(data->orbBias, 4.0f);
    ASSERT_NE(MemoryOf(bot), nullptr);
    EXPECT_EQ(MemoryOf(bot)->m_fov, 1.5f);
    EXPECT_EQ(MemoryOf(bot)->m_memorySpan, 0.5f);
    EXPECT_EQ(ai->GetSensoryMemories().Count(), 1u);
    EXPECT_EQ(ai->GetTargetingComponents().Count(), 1u);
    EXPECT_EQ(ai->GetBehaviorTrees().Count(), 1u);
    world->Step(2); // parts without a body, a match entry or a root run idle
}

TEST_F(BotPartsFromDataTest, HostileValuesLoadSafelyAndAMemoryWithANegativeSpanRemembersNothing)
{
    tarsel::test::StdoutCapture capture;
    world->LoadLevel("hostile.ql", ai_documents::kHostileBotParts);
    Entity* hostile = world->engine->GetEntity("hostile", "default");
    ASSERT_NE(hostile, nullptr);
    const AIDataComponent* data = DataOf(hostile);
    EXPECT_EQ(data->accuracy, -3.0f);
    EXPECT_FLOAT_EQ(data->GetAimErrorAngle(), 4.0f * 3.1241395f);
    EXPECT_EQ(data->reactionTime, 0.6f) << "not a number: refused";
    EXPECT_EQ(data->maxVerticalAimAngle, 0.9424779f) << "infinite: refused";
    EXPECT_EQ(data->facing.x, 0.0f) << "not reflected";
    EXPECT_EQ(MemoryOf(hostile)->m_memorySpan, -1.0f);
    EXPECT_EQ(MemoryOf(world->engine->GetEntity("forgetful", "default"))->m_memorySpan, 0.1f) << "out of range";

    // The hostile entity senses as a bot of the match, with players ahead.
    auto* body = new RigidBodyComponent3D;
    body->SetType(kBodyFixed);
    hostile->AddComponent(RigidBodyComponent3D::ID, body, true);
    Player("enemy", "green", 0.0f, 0.0f, 6.0f);
    At(kSecond, 3);
    EXPECT_EQ(MemoryOf(hostile)->GetRecordCount(), 1u);
    EXPECT_TRUE(MemoryOf(hostile)->GetRecentlySensed().empty());
    EXPECT_FALSE(TargetingOf(hostile)->HasTarget());
    EXPECT_NE(capture.Text().find("has no usable PlayerDataComponent"), std::string::npos) << capture.Text();
}

} // namespace
} // namespace quellor::test
