// The animation player: files that set playing and the name in either order both play, at the
// file's speed; setters before and after the component is initialised; bad names.
#include "CharacterKit.h"
#include "PropLevels.h"

#include "engine/Engine.h"
#include "gameplay/AnimationPlayerComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "renderer/AnimationController.h"
#include "tests/support/StdoutCapture.h"

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;
using AnimationPlayerTest = tarsel::test::GameWorldTest;

constexpr float kDt = GameWorld::kDt;

ZOR::AnimationController& ControllerOf(Entity* entity)
{
    return entity->GetComponent<GraphicsComponent3DSkinned>()->GetAnimationController();
}

// The pose of one clip played alone at a speed for some frames, on a bare controller.
std::vector<ZOR::float4x4> ReferencePose(GameWorld& world, const std::string& clip, float speed, int frames)
{
    ZOR::AnimationController reference;
    reference.SetSkeleton(CharacterSkeleton(world));
    reference.AddAnimation(world.graphics->GetAnimation(clip));
    reference.PlayAnimation(clip, 1.0f, ZOR::BlendGroup::All);
    reference.SetAnimationSpeed(speed);
    for (int frame = 0; frame < frames; ++frame)
        reference.Update(kDt);
    return reference.GetMatrixList();
}

TEST_F(AnimationPlayerTest, PlaysFromAFileInEitherOrderAtTheFilesSpeed)
{
    LoadCharacterAssets(*world);
    world->LoadLevel("props.ql", prop_levels::kAnimationPlayers);
    Entity* playingFirst = world->engine->GetEntity("playingFirst", "default");
    Entity* nameFirst = world->engine->GetEntity("nameFirst", "default");
    ASSERT_NE(playingFirst, nullptr);
    ASSERT_NE(nameFirst, nullptr);
    EXPECT_EQ(world->logic->GetSlot(LogicSlot::AnimationPlayerComponent).Count(), 2u);
    for (int frame = 0; frame < 4; ++frame)
        world->graphics->UpdateSkinned(kDt);
    const auto expected = ReferencePose(*world, "run_base.anim", 2.0f, 4);
    ExpectPose(ControllerOf(playingFirst).GetMatrixList(), expected, "playing first");
    ExpectPose(ControllerOf(nameFirst).GetMatrixList(), expected, "name first");
}

TEST_F(AnimationPlayerTest, ASpeedSetWhileStoppedIsOnlyStored)
{
    LoadCharacterAssets(*world);
    Entity* prop = world->Spawn("prop", 0.0f, 0.0f, 0.0f);
    Dress(prop);
    auto* player = prop->AddComponent<AnimationPlayerComponent>(true);
    player->SetAnimName("idle_base.anim"); // not playing: nothing starts
    player->SetSpeed(3.0f);
    EXPECT_EQ(player->m_speed, 3.0f);
    EXPECT_FALSE(ControllerOf(prop).HasAnimation("idle_base.anim"));

    player->SetPlaying(true);
    EXPECT_TRUE(player->m_playing);
    for (int frame = 0; frame < 3; ++frame)
        world->graphics->UpdateSkinned(kDt);
    ExpectPose(ControllerOf(prop).GetMatrixList(), ReferencePose(*world, "idle_base.anim", 1.0f, 3),
               "started at the controller's own speed");

    // While playing, a speed reaches the controller; stopping returns the bind pose.
    player->SetSpeed(0.0f);
    const auto held = ControllerOf(prop).GetMatrixList();
    world->graphics->UpdateSkinned(kDt);
    ExpectPose(ControllerOf(prop).GetMatrixList(), held, "speed 0 holds the pose");
    player->SetPlaying(false);
    EXPECT_FALSE(player->m_playing);
    world->graphics->UpdateSkinned(kDt);
    for (const ZOR::float4x4& matrix : ControllerOf(prop).GetMatrixList())
        for (int k = 0; k < 16; ++k)
            ASSERT_NEAR(matrix.m[k], k % 5 == 0 ? 1.0f : 0.0f, 1e-6f);
}

TEST_F(AnimationPlayerTest, UnknownClipsAndMissingModelsPlayNothingWithALogLine)
{
    LoadCharacterAssets(*world);
    Entity* prop = world->Spawn("prop", 0.0f, 0.0f, 0.0f);
    Dress(prop);
    auto* player = prop->AddComponent<AnimationPlayerComponent>(true);
    tarsel::test::StdoutCapture out;
    player->SetPlaying(true);
    player->SetAnimName("no_such_clip.anim");
    EXPECT_EQ(player->m_animName, "no_such_clip.anim");
    EXPECT_FALSE(ControllerOf(prop).HasAnimation("no_such_clip.anim"));

    Entity* bare = world->Spawn("bare", 0.0f, 0.0f, 0.0f);
    auto* unseen = bare->AddComponent<AnimationPlayerComponent>(true);
    unseen->SetAnimName("idle_base.anim");
    unseen->SetPlaying(true);
    unseen->SetSpeed(2.0f);
    unseen->SetPlaying(false);
    const std::string& text = out.Text();
    EXPECT_NE(text.find("no animation \"no_such_clip.anim\""), std::string::npos) << text;
    EXPECT_NE(text.find("on \"bare\" finds no GraphicsComponent3DSkinned"), std::string::npos) << text;
}

} // namespace
} // namespace quellor::test
