// The death-camera actions on their own, run on lane 2 of the action system beside a stand-in
// camera sequence: the skip prompt's text, keys and pads, its pause and match-end behaviour and
// its effect; the watch that turns a screen's camera to the body; the follow that glides it to
// another player's view.
#include "DeathKit.h"

#include "engine/ActionHandle.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Wait.h"
#include "engine/graphics/TextComponent.h"
#include "gameplay/FollowEntityAction.h"
#include "gameplay/SkipDeathAction.h"
#include "gameplay/WatchPlayerDeathAction.h"
#include "platform/ScriptedInputSource.h"

namespace quellor::test {
namespace {

class DeathActionsTest : public DeathTest {
protected:
    void SetUp() override
    {
        DeathTest::SetUp();
        world->SpawnText("fontLoader"); // loads the prompt's font, as the game has it loaded
        victim = Person("victim", "red", 0);
        world->Step(2);
    }

    // MakeParallel(skip, sequence) on lane 2; the sequence is a wait of the given length.
    SkipDeathAction* StartSkip(Entity* body, int controller, float skipSeconds = 6.0f, float sequenceSeconds = 10.0f)
    {
        Action* sequence = new Wait(sequenceSeconds);
        sequence->m_onCancelled.Connect(MakeDelegate(this, &DeathActionsTest::CountCancel), 0);
        other.Reset(sequence);
        auto* skip = new SkipDeathAction(skipSeconds, controller, sequence, body);
        this->skip.Reset(skip);
        world->actions->AddAction(MakeParallel(skip, sequence), DeathFlow::kLane);
        world->Step();
        return skip;
    }

    TextComponent* Prompt() const
    {
        auto* action = static_cast<SkipDeathAction*>(skip.Get());
        Entity* text = action ? action->GetText() : nullptr;
        return text ? text->GetComponent<TextComponent>() : nullptr;
    }

    // Presses a key or a pad's X and runs the frame that reads it.
    void Tap(int key)
    {
        world->keys->TapKey(key);
        world->Step();
    }
    void TapPad(int pad)
    {
        world->keys->SetPadButton(pad, SkipDeathAction::kPadX, true);
        world->Step();
        world->keys->SetPadButton(pad, SkipDeathAction::kPadX, false);
    }

public:
    void CountCancel() { ++cancels; }

protected:
    Entity* victim = nullptr;
    ActionHandle skip;
    ActionHandle other;
    int cancels = 0;
};

TEST_F(DeathActionsTest, ControllerZeroWithoutAPadSkipsWithBackspaceOrX)
{
    for (int key : {SkipDeathAction::kBackspaceKey, SkipDeathAction::kXKey}) {
        cancels = 0;
        SkipDeathAction* action = StartSkip(victim, 0);
        ASSERT_NE(Prompt(), nullptr);
        EXPECT_EQ(Prompt()->GetValue(), SkipDeathAction::kKeyboardPrompt);
        EXPECT_EQ(Prompt()->GetScreenID(), 0);
        EXPECT_FLOAT_EQ(Prompt()->m_color.x + Prompt()->m_color.y + Prompt()->m_color.z, 0.0f);
        EXPECT_FLOAT_EQ(Prompt()->m_color.w, 1.0f);
        const ZOR::float2 size = world->graphics->GetOrthographicProjectionSize(0);
        auto* place = action->GetText()->GetComponent<Transform2D>();
        EXPECT_FLOAT_EQ(place->m_x, size.x * 0.33333334f);
        EXPECT_FLOAT_EQ(place->m_y, size.y * 0.8f);
        ASSERT_NE(action->GetEffect(), nullptr);
        EXPECT_TRUE(action->GetEffect()->GetComponent<EmitterComponent>()->GetEmitting());

        TapPad(1); // another pad's X does nothing
        EXPECT_TRUE(skip);
        Tap(key);
        EXPECT_FALSE(skip);
        EXPECT_EQ(cancels, 1);
        EXPECT_EQ(CountNamed(SkipDeathAction::kTextName) + CountNamed(SkipDeathAction::kEffectName), 0);
    }
}

TEST_F(DeathActionsTest, ControllerZeroWithPadZeroReadsThePadPromptAndSkipsWithItsX)
{
    world->keys->SetPadConnected(0, true);
    world->Step();
    StartSkip(victim, 0);
    ASSERT_NE(Prompt(), nullptr);
    EXPECT_EQ(Prompt()->GetValue(), SkipDeathAction::kPadPrompt);
    TapPad(0);
    EXPECT_FALSE(skip);
    EXPECT_EQ(cancels, 1);
}

TEST_F(DeathActionsTest, ControllerTwoReactsOnlyToPadTwo)
{
    Entity* third = Person("third", "purple", 2);
    world->Step(2);
    StartSkip(third, 2);
    ASSERT_NE(Prompt(), nullptr);
    EXPECT_EQ(Prompt()->GetValue(), SkipDeathAction::kPadPrompt);
    EXPECT_EQ(Prompt()->GetScreenID(), ScreenOf(third));
    Tap(SkipDeathAction::kBackspaceKey);
    Tap(SkipDeathAction::kXKey);
    TapPad(0);
    EXPECT_TRUE(skip);
    TapPad(2);
    EXPECT_FALSE(skip);
    EXPECT_EQ(cancels, 1);
}

TEST_F(DeathActionsTest, AComputerPlayersSkipEndsTheSequenceInItsStartFrame)
{
    Entity* bot = Bot("bot", "purple");
    world->Step(2);
    StartSkip(bot, -1);
    EXPECT_FALSE(skip);
    EXPECT_FALSE(other);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(CountNamed(SkipDeathAction::kTextName) + CountNamed(SkipDeathAction::kEffectName), 0);
}

TEST_F(DeathActionsTest, ThePromptIsASpaceWhilePausedAndTheEffectFollowsTheBody)
{
    SkipDeathAction* action = StartSkip(victim, 0);
    world->logic->m_paused = true;
    world->Step();
    ASSERT_NE(Prompt(), nullptr);
    EXPECT_EQ(Prompt()->GetValue(), SkipDeathAction::kPausedPrompt);
    world->logic->m_paused = false;
    Place(victim, 5.0f, -7.0f, 3.0f);
    world->Step(2);
    EXPECT_EQ(Prompt()->GetValue(), SkipDeathAction::kKeyboardPrompt);
    const Vec4 centre = victim->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass();
    const Vec4 at = action->GetEffect()->GetComponent<Transform3D>()->GetPosition();
    EXPECT_FLOAT_EQ(at.x, centre.x);
    EXPECT_FLOAT_EQ(at.y, centre.y);
    EXPECT_FLOAT_EQ(at.z, centre.z);
}

TEST_F(DeathActionsTest, TheMatchsEndRemovesPromptAndEffectAndLeavesTheSequence)
{
    StartSkip(victim, 0);
    world->logic->m_winEnabled = false;
    world->Step();
    EXPECT_FALSE(skip);
    EXPECT_EQ(CountNamed(SkipDeathAction::kTextName) + CountNamed(SkipDeathAction::kEffectName), 0);
    EXPECT_TRUE(other);
    EXPECT_EQ(cancels, 0);
}

TEST_F(DeathActionsTest, TimeUpLeavesTheSequenceRunningAndALateSkipIsSafe)
{
    StartSkip(victim, 0, 0.5f, 2.0f);
    Seconds(0.6f);
    EXPECT_FALSE(skip);
    EXPECT_TRUE(other);
    EXPECT_EQ(CountNamed(SkipDeathAction::kTextName) + CountNamed(SkipDeathAction::kEffectName), 0);
    Seconds(1.5f);
    EXPECT_FALSE(other);
    EXPECT_EQ(cancels, 0);

    // The sequence ends first; a skip afterwards must not reach it.
    StartSkip(victim, 0, 6.0f, 0.2f);
    Seconds(0.3f);
    ASSERT_FALSE(other);
    ASSERT_TRUE(skip);
    Tap(SkipDeathAction::kBackspaceKey);
    EXPECT_FALSE(skip);
    EXPECT_EQ(cancels, 0);
}

TEST_F(DeathActionsTest, TheWatchTurnsTheCameraToTheBodyUntilItGoes)
{
    Entity* bot = Bot("bot", "purple");
    world->Step(2);
    Place(bot, 0.0f, -40.0f, 30.0f);
    world->Step();
    ZOR::Camera& camera = ScreenCamera(0);
    victim->GetComponent<ThirdPersonCameraComponent>()->SetEnabled(false);
    camera.SetPosition(0.0f, 10.0f, 0.0f);
    ActionHandle watch(new WatchPlayerDeathAction(bot, 1.0f, -1));
    world->actions->AddAction(watch.Get(), DeathFlow::kLane);
    world->Step();
    const Vec4 centre = bot->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass();
    ZOR::float3 toBody = ZOR::float3(centre.x, centre.y, centre.z) - ZOR::float3(0.0f, 10.0f, 0.0f);
    toBody = toBody / toBody.Length();
    const Vec4 forward = victim->GetComponent<ThirdPersonCameraComponent>()->GetForward();
    EXPECT_NEAR(forward.x, toBody.x, 1e-4f);
    EXPECT_NEAR(forward.y, toBody.y, 1e-4f);
    EXPECT_NEAR(forward.z, toBody.z, 1e-4f);
    EXPECT_FLOAT_EQ(camera.GetPosition().y, 10.0f);
    bot->Destroy();
    world->Step();
    EXPECT_FALSE(watch);
}

TEST_F(DeathActionsTest, TheFollowGlidesToTheTargetsViewAndCancelsWithoutOne)
{
    Entity* hitter = Person("hitter", "purple", 1);
    world->Step(2);
    victim->GetComponent<ThirdPersonCameraComponent>()->SetEnabled(false);
    ZOR::Camera& own = ScreenCamera(0);
    own.SetPosition(0.0f, 0.0f, 0.0f);
    ActionHandle follow(new FollowEntityAction(hitter, 0, 5.0f, DeathFlow::kFollowArgument));
    world->actions->AddAction(follow.Get(), DeathFlow::kLane);
    world->Step();
    // One frame: a fifth of a second's share of the way, at the fixed rate of 5 per second.
    const ZOR::float3 goal = ScreenCamera(1).GetPosition();
    const float share = FollowEntityAction::kFollowRate * kDt;
    EXPECT_NEAR(own.GetPosition().x, goal.x * share, 1e-4f);
    EXPECT_NEAR(own.GetPosition().y, goal.y * share, 1e-4f);
    EXPECT_NEAR(own.GetPosition().z, goal.z * share, 1e-4f);
    EXPECT_FLOAT_EQ(static_cast<FollowEntityAction*>(follow.Get())->GetRate(), DeathFlow::kFollowArgument);
    Seconds(5.1f);
    EXPECT_FALSE(follow);

    Entity* bot = Bot("bot", "purple");
    ActionHandle none(new FollowEntityAction(bot, 0, 5.0f, DeathFlow::kFollowArgument));
    none->m_onCancelled.Connect(MakeDelegate(this, &DeathActionsTest::CountCancel), 0);
    world->actions->AddAction(none.Get(), DeathFlow::kLane);
    world->Step();
    EXPECT_FALSE(none);
    EXPECT_EQ(cancels, 1);
}

} // namespace
} // namespace quellor::test
