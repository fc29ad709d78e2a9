// The player record and spawn points: defaults, copies, the linked score text, and a spawn
// point following its transform with its marker hidden.
#include "GameplayLevels.h"
#include "GameplayTestKit.h"

#include "engine/Engine.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SpawnPointComponent.h"

namespace quellor::test {
namespace {

using PlayerComponents = tarsel::test::GameWorldTest;

TEST(PlayerData, Defaults)
{
    PlayerDataComponent data;
    EXPECT_TRUE(data.canControl);
    EXPECT_EQ(data.currentScore, 0);
    EXPECT_EQ(data.maxScore, 10);
    EXPECT_EQ(data.playerTeam, "none");
    EXPECT_EQ(data.sphereCollRadius, 1.0f);
    EXPECT_EQ(data.xDeadZone, 0.2f);
    EXPECT_EQ(data.yDeadZone, 0.2f);
    EXPECT_EQ(data.controllerID, -1);
    EXPECT_EQ(data.xAimSpeed, 2.0f);
    EXPECT_EQ(data.yAimSpeed, 3.0f);
    EXPECT_EQ(data.blastDist, 0.0f);
    EXPECT_FALSE(data.m_dying || data.m_isLifted || data.m_hasTag || data.m_charging || data.m_cameraFreeze);
    EXPECT_EQ(data.GetLastHitter(), nullptr);
    EXPECT_EQ(data.GetScoreText(), nullptr);
}

TEST(PlayerData, APadIsOnlyASlotZeroToThree)
{
    PlayerDataComponent data;
    for (int id : {-1, 4, 1000000, -7}) {
        data.SetControllerID(id);
        EXPECT_EQ(data.GetPad(), -1) << id;
    }
    data.SetControllerID(3);
    EXPECT_EQ(data.GetPad(), 3);
    data.SetControllerID(1000000);
    EXPECT_EQ(data.controllerID, 1000000) << "stored as given";
}

TEST_F(PlayerComponents, ARecordCopyCopiesEveryField)
{
    Entity* hitter = world->Spawn("hitter");
    Entity* text = world->Spawn("text");
    Entity* tag = world->Spawn("tag");
    Entity* teamTag = world->Spawn("teamTag");
    PlayerDataComponent data;
    data.canControl = false;
    data.currentScore = 3;
    data.maxScore = 7;
    data.playerTeam = "red";
    data.sphereCollRadius = 1.5f;
    data.xDeadZone = 0.3f;
    data.yDeadZone = 0.4f;
    data.controllerID = 2;
    data.xAimSpeed = 5.0f;
    data.yAimSpeed = 6.0f;
    data.blastDist = 8.0f;
    data.m_onGround = data.m_dying = data.m_isLifted = data.m_hasTag = true;
    data.m_charging = data.m_invertLook = data.m_liftInUse = data.m_cameraFreeze = true;
    data.m_stunTimer = 0.5f;
    data.m_respawnGrace = 1.5f;
    data.m_knockbackDir = Vec4(1.0f, 2.0f, 3.0f, 0.0f);
    data.m_spawnRefPoint = Vec4(4.0f, 5.0f, 6.0f, 1.0f);
    data.SetLastHitter(hitter);
    data.SetScoreText(text);
    data.SetTagMarker(tag);
    data.SetTeamTagMarker(teamTag);

    auto* copy = static_cast<PlayerDataComponent*>(PlayerDataComponent::StaticMeta()->GetOps()->Copy(&data));
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->canControl);
    EXPECT_EQ(copy->currentScore, 3);
    EXPECT_EQ(copy->maxScore, 7);
    EXPECT_EQ(copy->playerTeam, "red");
    EXPECT_EQ(copy->sphereCollRadius, 1.5f);
    EXPECT_EQ(copy->xDeadZone, 0.3f);
    EXPECT_EQ(copy->yDeadZone, 0.4f);
    EXPECT_EQ(copy->controllerID, 2);
    EXPECT_EQ(copy->xAimSpeed, 5.0f);
    EXPECT_EQ(copy->yAimSpeed, 6.0f);
    EXPECT_EQ(copy->blastDist, 8.0f);
    EXPECT_TRUE(copy->m_onGround && copy->m_dying && copy->m_isLifted && copy->m_hasTag);
    EXPECT_TRUE(copy->m_charging && copy->m_invertLook && copy->m_liftInUse && copy->m_cameraFreeze);
    EXPECT_EQ(copy->m_stunTimer, 0.5f);
    EXPECT_EQ(copy->m_respawnGrace, 1.5f);
    EXPECT_EQ(copy->m_knockbackDir.z, 3.0f);
    EXPECT_EQ(copy->m_spawnRefPoint.y, 5.0f);
    EXPECT_EQ(copy->GetLastHitter(), hitter);
    EXPECT_EQ(copy->GetScoreText(), text);
    EXPECT_EQ(copy->GetTagMarker(), tag);
    EXPECT_EQ(copy->GetTeamTagMarker(), teamTag);

    // The references do not outlive their entities.
    hitter->Destroy();
    world->Step();
    EXPECT_EQ(copy->GetLastHitter(), nullptr);
    PlayerDataComponent::StaticMeta()->GetOps()->Delete(copy);
}

TEST_F(PlayerComponents, TheScoreReachesTheLinkedTextOnly)
{
    PlayerDataComponent data;
    data.SetCurrentScore(4);
    EXPECT_EQ(data.GetCurrentScore(), 4);

    Entity* bare = world->Spawn("bare"); // no text component
    data.SetScoreText(bare);
    data.SetCurrentScore(5);
    EXPECT_EQ(data.GetCurrentScore(), 5);

    Entity* text = world->SpawnText("score");
    auto* component = text->GetComponent<TextComponent>();
    component->SetValue("0");
    data.SetScoreText(text);
    data.SetCurrentScore(12);
    EXPECT_EQ(component->GetValue(), "12");
    EXPECT_EQ(data.GetCurrentScore(), 12);

    text->Destroy();
    world->Step();
    data.SetCurrentScore(13); // the text has gone: only the field
    EXPECT_EQ(data.GetCurrentScore(), 13);
}

TEST_F(PlayerComponents, ASpawnPointFollowsItsTransformFromTheNextFrameAndHidesItsMarker)
{
    Entity* entity = world->Spawn("spawn", 1.0f, 2.0f, 3.0f);
    auto* model = entity->AddComponent<GraphicsComponent3D>(true);
    auto* point = entity->AddComponent<SpawnPointComponent>(true);
    EXPECT_EQ(point->GetPosition().y, 2.0f) << "taken when it joins";
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE(model->GetVisible(screen));

    world->Step(3);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(model->GetVisible(screen)) << screen;

    entity->GetComponent<Transform3D>()->SetPosition(7.0f, 8.0f, 9.0f);
    EXPECT_EQ(point->GetPosition().x, 1.0f);
    world->Step();
    EXPECT_EQ(point->GetPosition().x, 7.0f);
    EXPECT_EQ(point->GetPosition().z, 9.0f);
}

TEST_F(PlayerComponents, ASpawnPointBeforeItsTransformIsHarmless)
{
    Entity* entity = world->Spawn("spawn");
    auto* point = entity->AddComponent<SpawnPointComponent>(true);
    EXPECT_EQ(point->GetPosition().x, 0.0f);
    world->Step(3);
    entity->AddComponent<Transform3D>(true)->SetPosition(4.0f, 5.0f, 6.0f);
    world->Step();
    EXPECT_EQ(point->GetPosition().x, 4.0f);
}

TEST_F(PlayerComponents, ALevelsSpawnPointsAndPlayerRecordsTakeTheirValuesAsGiven)
{
    world->LoadLevel("arena.ql", gameplay_levels::kArena);
    const GameLogicSystem& logic = *world->logic;
    ASSERT_EQ(logic.GetSlot(LogicSlot::SpawnPointComponent).Count(), 2u);
    EXPECT_EQ(logic.GetSlot(LogicSlot::CharacterController).Count(), 1u);
    auto* red = world->engine->GetEntity("redSpawn", "default")->GetComponent<SpawnPointComponent>();
    auto* blue = world->engine->GetEntity("blueSpawn", "default")->GetComponent<SpawnPointComponent>();
    EXPECT_EQ(red->m_popularity, 2);
    EXPECT_EQ(blue->GetPosition().x, -10.0f) << "the transform listed first gives the position";
    world->Step(3);
    EXPECT_EQ(red->GetPosition().x, 10.0f) << "the transform listed after is followed from the next frame";

    Entity* huge = world->engine->GetEntity("player0", "default");
    Entity* noTeam = world->engine->GetEntity("player1", "default");
    PlayerDataComponent* data = tarsel::test::GameWorld::DataOf(huge);
    EXPECT_EQ(data->controllerID, 2147483647);
    EXPECT_EQ(data->GetPad(), -1);
    EXPECT_FALSE(data->GetControlable());
    EXPECT_EQ(data->GetCurrentScore(), 3);
    EXPECT_EQ(tarsel::test::GameWorld::DataOf(noTeam)->playerTeam, "");

    world->logic->AddPlayer(data->controllerID, huge, false, true);
    world->logic->AddPlayer(-1, noTeam, true, true);
    EXPECT_EQ(world->logic->ChooseSpawnPoint("red"), red);
    EXPECT_EQ(world->logic->ChooseSpawnPoint(""), nullptr) << "an empty team is never a spawn point's";
    world->Step(3);
    EXPECT_EQ(logic.GetPlayerCount(), 2u);
}

} // namespace
} // namespace quellor::test
