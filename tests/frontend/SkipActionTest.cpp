// The splash skip on scripted input, without a window: the codes in order with the keyboard
// before the pads, disconnected pads never read, the first press finishing the skip and
// cancelling the target once, the time limit, and a target that ended before the skip.
#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Input.h"
#include "frontend/screens/SkipAction.h"
#include "platform/ScriptedInputSource.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quellor;

namespace {

constexpr float kDt = 1.0f / 60.0f;
constexpr int kSpace = 32;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kPadA = 10;
constexpr int kPadY = 13;
constexpr int kPadStart = 4;

// What happened to the fake target.
struct Journal {
    int updates = 0;
    int cancelled = 0;
    int ended = 0;
    int destroyed = 0;
    void Cancelled() { ++cancelled; }
    void Ended() { ++ended; }
};

// A target that runs until it is cancelled, or finishes itself after `lifetime` seconds.
class FakeTarget : public Action {
public:
    FakeTarget(Journal& journal, float lifetime) : m_journal(journal), m_lifetime(lifetime)
    {
        m_onCancelled.Connect(MakeDelegate(&m_journal, &Journal::Cancelled), 0);
        m_onEnded.Connect(MakeDelegate(&m_journal, &Journal::Ended), 0);
    }
    ~FakeTarget() override { ++m_journal.destroyed; }
    void Update(float dt) override
    {
        ++m_journal.updates;
        m_time += dt;
        if (m_time >= m_lifetime)
            Finish();
    }

private:
    Journal& m_journal;
    float m_lifetime;
    float m_time = 0.0f;
};

class SkipActionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = Engine::Instance();
        source = std::make_shared<platform::ScriptedInputSource>();
        input = static_cast<Input*>(engine->AddSystem("Input", new Input(source), "default"));
    }
    void TearDown() override
    {
        list.reset();
        Engine::DestroyInstance();
    }

    // A list that stays (as the start-up sequence would) holding a skip of a fake target.
    void Start(float limit, float targetLifetime = 1000.0f)
    {
        list = std::make_unique<ActionList>(false, true);
        skip = new SkipAction(new FakeTarget(journal, targetLifetime), limit);
        skip->Block();
        skip->m_onEnded.Connect(MakeDelegate(this, &SkipActionTest::SkipEnded), 0);
        list->PushBack(skip, 0);
    }
    void SkipEnded() { skipEnded = true; }

    // Polls input, then runs the list.
    void Frame()
    {
        engine->Update(kDt);
        list->Update(kDt);
    }
    void Poll() { engine->Update(kDt); }

    Engine* engine = nullptr;
    std::shared_ptr<platform::ScriptedInputSource> source;
    Input* input = nullptr;
    std::unique_ptr<ActionList> list;
    SkipAction* skip = nullptr;
    bool skipEnded = false;
    Journal journal;
};

TEST_F(SkipActionTest, PressesAreFoundCodeByCodeWithTheKeyboardFirstAndOnlyOnConnectedPads)
{
    // Space goes before Enter, whatever the controller.
    source->SetPadButton(0, kPadY, true);
    source->SetKey(kEnter, true);
    source->SetKey(kSpace, true);
    Poll();
    auto press = SkipAction::FindPress(*input);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->code, kSpace);
    EXPECT_EQ(press->controller, -1);
    source->SetKey(kSpace, false);
    source->SetKey(kEnter, false);
    source->SetPadButton(0, kPadY, false);
    Poll();
    EXPECT_FALSE(SkipAction::FindPress(*input));

    // One code: the keyboard before pad 0.
    source->SetPadButton(0, kPadY, true);
    source->SetKey(kEnter, true);
    Poll();
    press = SkipAction::FindPress(*input);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->code, kEnter);
    EXPECT_EQ(press->controller, -1);
    source->SetKey(kEnter, false);
    source->SetPadButton(0, kPadY, false);
    Poll();

    // An earlier code on a later pad goes before a later code on the keyboard.
    source->SetKey(kEscape, true);
    source->SetPadButton(3, kPadY, true);
    Poll();
    press = SkipAction::FindPress(*input);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->code, kPadY);
    EXPECT_EQ(press->controller, 3);
    source->SetKey(kEscape, false);
    source->SetPadButton(3, kPadY, false);
    Poll();

    // A pad held while unplugged is never read; plugged in, its next press is.
    source->SetPadButton(2, kPadA, true);
    source->SetPadConnected(2, false);
    Poll();
    EXPECT_FALSE(SkipAction::FindPress(*input));
    source->SetPadButton(2, kPadA, false);
    source->SetPadConnected(2, true);
    Poll();
    source->SetPadButton(2, kPadStart, true);
    Poll();
    press = SkipAction::FindPress(*input);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->code, kPadStart);
    EXPECT_EQ(press->controller, 2);
}

TEST_F(SkipActionTest, TheFirstPressFinishesTheSkipAndCancelsTheTargetOnce)
{
    Start(9.0f);
    Frame();
    // The target goes to the head of the skip's lane and runs from the next frame on, so the
    // skip's clock is one frame ahead of it.
    ASSERT_NE(skip->GetTarget(), nullptr);
    EXPECT_EQ(journal.updates, 0);
    Frame();
    EXPECT_EQ(journal.updates, 1);
    source->SetKey(kSpace, true);
    source->SetPadButton(1, kPadA, true);
    Frame();
    EXPECT_TRUE(skipEnded);
    EXPECT_EQ(journal.cancelled, 1);
    EXPECT_EQ(journal.ended, 1);
    source->SetKey(kSpace, false);
    Frame();
    source->SetKey(kSpace, true);
    Frame();
    EXPECT_EQ(journal.cancelled, 1);
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(SkipActionTest, PastTheLimitTheSkipOnlyFinishesAndTheTargetGoesOn)
{
    Start(0.5f);
    for (int frame = 0; frame < 30 && !skipEnded; ++frame)
        Frame();
    ASSERT_TRUE(skipEnded);
    EXPECT_EQ(journal.cancelled, 0);
    EXPECT_EQ(journal.ended, 0);
    const int updates = journal.updates;
    source->SetKey(kSpace, true);
    Frame();
    EXPECT_EQ(journal.cancelled, 0);
    EXPECT_EQ(journal.updates, updates + 1);
}

TEST_F(SkipActionTest, ATargetThatEndedFirstIsNeverTouched)
{
    // The target ends (and its list deletes it) well before the limit; a later press only
    // finishes the skip. Under ASan a touch of the deleted target fails here.
    Start(9.0f, 0.05f);
    for (int frame = 0; frame < 6; ++frame)
        Frame();
    EXPECT_EQ(journal.ended, 1);
    EXPECT_EQ(skip->GetTarget(), nullptr);
    source->SetKey(kSpace, true);
    Frame();
    EXPECT_TRUE(skipEnded);
    EXPECT_EQ(journal.cancelled, 0);
}

TEST_F(SkipActionTest, ASkipThatNeverStartedDeletesItsTarget)
{
    {
        ActionList unused(true, true);
        unused.PushBack(new SkipAction(new FakeTarget(journal, 1.0f), 9.0f), 0);
    }
    EXPECT_EQ(journal.updates, 0);
    EXPECT_EQ(journal.destroyed, 1);
}

} // namespace
