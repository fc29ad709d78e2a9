// The animation controller on the generated character with the generated clip library: the
// library is added, started and posed as soon as the character has its model (when the
// component is made, or on its first update), and the pose is that of a controller set up by
// hand with the same clips, offsets and weights.
#include "CharacterKit.h"

#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "renderer/AnimationController.h"
#include "tests/support/ArmPose.h"
#include "tests/support/StdoutCapture.h"

#include <cmath>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;
using AnimationControllerTest = tarsel::test::GameWorldTest;

constexpr float kDt = GameWorld::kDt;

// A player wearing the character, with the controller.
AnimationControllerComponent* MakeAnimatedPlayer(GameWorld& world, const std::string& name)
{
    Entity* player = world.MakePlayer(name, "red", 0);
    Dress(player);
    return player->AddComponent<AnimationControllerComponent>(true);
}

ZOR::AnimationController& ControllerOf(AnimationControllerComponent* component)
{
    return component->GetEntity()->GetComponent<GraphicsComponent3DSkinned>()->GetAnimationController();
}

std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The character stands with its arms down, never in the model's bind pose (arms straight out).
void ExpectArmsDown(const ZOR::AnimationController& controller, const std::string& when)
{
    const float hang = std::sin(45.0f * 3.14159265f / 180.0f);
    for (int arm = 0; arm < 2; ++arm)
        EXPECT_GE(tarsel::test::UpperArmDrop(controller, arm), hang) << when << ": arm " << arm;
}

TEST_F(AnimationControllerTest, ADressedPlayerStartsTheWholeLibraryAndStandsIdleAtOnce)
{
    LoadCharacterAssets(*world);
    AnimationControllerComponent* component = MakeAnimatedPlayer(*world, "player");
    EXPECT_TRUE(component->IsInLogicSlot());
    EXPECT_EQ(world->logic->GetSlot(LogicSlot::AnimationControllerComponent).Front(), component);

    // Drawn before its first update (the frame after a join belongs to the tag set-up), it is
    // already posed.
    const ZOR::AnimationController& controller = ControllerOf(component);
    const std::vector<std::string> names = tarsel::tools::character::LibraryNames();
    EXPECT_TRUE(component->IsStarted());
    for (const std::string& name : names)
        EXPECT_TRUE(controller.HasAnimation(name)) << name;
    ExpectArmsDown(controller, "made");

    // Dressed after the controller came: the first update starts the library and poses it,
    // although the skinned models were updated before it.
    Entity* late = world->MakePlayer("late", "red", 1);
    auto* lateComponent = late->AddComponent<AnimationControllerComponent>(true);
    Dress(late);
    const ZOR::AnimationController& lateController = ControllerOf(lateComponent);
    EXPECT_FALSE(lateComponent->IsStarted());
    EXPECT_FALSE(lateController.HasAnimation("idle_base.anim"));
    world->graphics->UpdateSkinned(kDt);
    lateComponent->Update(kDt);
    EXPECT_TRUE(lateComponent->IsStarted());
    for (const std::string& name : names)
        EXPECT_TRUE(lateController.HasAnimation(name)) << name;
    ExpectArmsDown(lateController, "first update");

    // A computer player's set-up: no movement yet, aiming where it faces; it stays idle.
    component->ClearMove();
    component->SetAimX(0.0f);
    component->SetAimY(-1.0f);
    for (int frame = 0; frame < 90; ++frame) {
        world->graphics->UpdateSkinned(kDt);
        component->Update(kDt);
        if (frame % 15 == 0)
            ExpectArmsDown(controller, "standing, frame " + std::to_string(frame));
    }
}

TEST_F(AnimationControllerTest, ThePoseIsTheHandSetUpMixOfTheLibrary)
{
    LoadCharacterAssets(*world);
    AnimationControllerComponent* component = MakeAnimatedPlayer(*world, "player");
    GameWorld::DataOf(component->GetEntity())->m_onGround = true;
    // Running to the right of the aim, looking a quarter up.
    component->SetMoveX(0.0f);
    component->SetMoveY(1.0f);
    component->SetAimX(1.0f);
    component->SetAimY(0.0f);
    component->SetAimPitch(0.25f);

    ZOR::AnimationController reference;
    reference.SetSkeleton(CharacterSkeleton(*world));
    for (const std::string& name : tarsel::tools::character::LibraryNames()) {
        reference.AddAnimation(world->graphics->GetAnimation(name));
        reference.PlayAnimation(name, 0.0f, ZOR::BlendGroup::All);
        if (name.starts_with("run_"))
            reference.SetAnimTimeOffset(name, 5.0f);
    }
    reference.SetBlendFactor("run_right.anim", 0.75f);
    reference.SetBlendFactor("run_right_up.anim", 0.25f);

    for (int frame = 0; frame < 3; ++frame) {
        component->Update(kDt);
        world->graphics->UpdateSkinned(kDt);
        reference.Update(kDt);
    }
    const auto& posed = ControllerOf(component).GetMatrixList();
    ExpectPose(posed, reference.GetMatrixList(), "the component against the hand-made mix");
    float moved = 0.0f;
    for (const ZOR::float4x4& matrix : posed)
        for (int k = 0; k < 16; ++k)
            moved = std::max(moved, std::abs(matrix.m[k] - (k % 5 == 0 ? 1.0f : 0.0f)));
    EXPECT_GT(moved, 0.01f) << "the mix poses the character away from its bind pose";
}

TEST_F(AnimationControllerTest, AMissingClipIsLeftOutWithOneWarning)
{
    LoadCharacterAssets(*world, {"idle_left_up.anim", "damage_front.anim"});
    tarsel::test::StdoutCapture out;
    AnimationControllerComponent* first = MakeAnimatedPlayer(*world, "first");
    AnimationControllerComponent* second = MakeAnimatedPlayer(*world, "second");
    for (int frame = 0; frame < 2; ++frame) {
        first->Update(kDt);
        second->Update(kDt);
        world->graphics->UpdateSkinned(kDt);
    }
    const std::string& text = out.Text();
    EXPECT_EQ(Occurrences(text, "\"idle_left_up.anim\""), 1u) << text;
    EXPECT_EQ(Occurrences(text, "\"damage_front.anim\""), 1u) << text;
    for (const std::string& name : tarsel::tools::character::LibraryNames()) {
        const bool present = name != "idle_left_up.anim" && name != "damage_front.anim";
        EXPECT_EQ(ControllerOf(first).HasAnimation(name), present) << name;
        EXPECT_EQ(ControllerOf(second).HasAnimation(name), present) << name;
    }
}

TEST_F(AnimationControllerTest, WithoutASkinnedModelOrPlayerDataItWarnsOnceAndWaits)
{
    LoadCharacterAssets(*world);
    Entity* bare = world->MakePlayer("bare", "red", 0);
    auto* noModel = bare->AddComponent<AnimationControllerComponent>(true);
    Entity* prop = world->Spawn("prop", 0.0f, 0.0f, 0.0f);
    Dress(prop);
    auto* noData = prop->AddComponent<AnimationControllerComponent>(true);
    AnimationControllerComponent loose; // no entity at all

    tarsel::test::StdoutCapture out;
    for (int frame = 0; frame < 3; ++frame) {
        noModel->Update(kDt);
        noData->Update(kDt);
        loose.Update(kDt);
    }
    EXPECT_EQ(Occurrences(out.Text(), "does not animate"), 3u) << out.Text();
    EXPECT_FALSE(noModel->IsStarted());
    EXPECT_FALSE(noData->IsStarted());
    EXPECT_FALSE(ControllerOf(noData).HasAnimation("idle_base.anim"));
}

} // namespace
} // namespace quellor::test
