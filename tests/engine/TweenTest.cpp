// Tweens with their active-tween table and easing curves, waits, invokes, SetValue, and the
// sound and effect actions.
#include "EngineTestSupport.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Invoke.h"
#include "engine/SetValue.h"
#include "engine/SoundAction.h"
#include "engine/ToggleEffect.h"
#include "engine/TweenTo.h"
#include "engine/Wait.h"
#include "engine/WaitFrame.h"

#include <memory>

namespace quellor::test {
namespace {

// Runs actions in a list of its own, one frame per Step.
class Runner {
public:
    Runner() : list(false, true) {}
    Action* Add(Action* action, int lane = 0)
    {
        list.PushBack(action, lane);
        return action;
    }
    void Step(float dt = 0.1f) { list.Update(dt); }

    ActionList list;
};

// Watches whether an action is still in its list: set when it is deleted.
class Watched : public ProbeAction {
public:
    Watched(bool* gone) : ProbeAction(nullptr, "w"), m_gone(gone) {}
    ~Watched() override { *m_gone = true; }

private:
    bool* m_gone;
};

using TweenTest = EngineTest;

TEST_F(TweenTest, ATweenMovesTheValueAlongItsCurveAndEndsExactlyOnTheTarget)
{
    float value = 1.0f;
    Runner run;
    auto* tween = run.Add(new TweenTo(&value, 1.0f, 3.0f, 0, true, false));
    run.Step(0.25f);
    EXPECT_FLOAT_EQ(value, 1.5f);
    EXPECT_EQ(Tween::ActiveTweenOf(&value), tween);
    run.Step(0.5f);
    EXPECT_FLOAT_EQ(value, 2.5f);
    run.Step(0.5f);
    EXPECT_EQ(value, 3.0f);
    EXPECT_EQ(Tween::ActiveTweenOf(&value), nullptr);
    EXPECT_EQ(run.list.GetCount(), 0);
}

TEST_F(TweenTest, ASecondTweenWithoutOverrideGivesWayAtOnce)
{
    float value = 0.0f;
    Runner run;
    run.Add(new TweenTo(&value, 1.0f, 10.0f, 0, false, false));
    run.Step(0.5f);
    EXPECT_FLOAT_EQ(value, 5.0f);

    auto* second = new TweenTo(&value, 1.0f, -100.0f, 0, false, false);
    struct Recorder {
        Log* log;
        void Finished() { log->push_back("finished"); }
    } recorder{&log};
    second->m_onFinished.Connect(MakeDelegate(&recorder, &Recorder::Finished), 0);
    run.Add(second, 1);
    run.Step(0.0f);

    EXPECT_EQ(log, (Log{"finished"}));
    EXPECT_FLOAT_EQ(value, 5.0f);
    run.Step(0.25f);
    EXPECT_FLOAT_EQ(value, 7.5f);
}

TEST_F(TweenTest, ASecondTweenWithOverrideCancelsTheFirstAndStartsFromTheCurrentValue)
{
    float value = 0.0f;
    Runner run;
    auto* tween = new TweenTo(&value, 2.0f, 10.0f, 0, false, false);
    struct Recorder {
        Log* log;
        void Cancelled() { log->push_back("first:cancelled"); }
        void Ended() { log->push_back("first:ended"); }
    } recorder{&log};
    tween->m_onCancelled.Connect(MakeDelegate(&recorder, &Recorder::Cancelled), 0);
    tween->m_onEnded.Connect(MakeDelegate(&recorder, &Recorder::Ended), 0);
    run.Add(tween);
    run.Step(0.5f);
    ASSERT_FLOAT_EQ(value, 2.5f);

    // Lane 0 runs first: the first tween reaches 5 in this frame before the second starts.
    auto* second = new TweenTo(&value, 1.0f, 0.0f, 0, true, false);
    run.Add(second, 1);
    run.Step(0.5f);

    EXPECT_EQ(log, (Log{"first:cancelled", "first:ended"}));
    EXPECT_EQ(Tween::ActiveTweenOf(&value), second);
    EXPECT_FLOAT_EQ(value, 2.5f); // from 5 towards 0, half way
    run.Step(0.5f);
    EXPECT_EQ(value, 0.0f);
}

TEST_F(TweenTest, RelativeTweensAddAndAbsoluteOnesReachTheValue)
{
    float relative = 3.0f;
    float absolute = 3.0f;
    Runner run;
    run.Add(new TweenTo(&relative, 0.5f, 5.0f, 19, true, true));
    run.Add(new TweenTo(&absolute, 0.5f, 5.0f, 19, true, false), 1);
    run.Step(0.3f);
    run.Step(0.3f);
    EXPECT_EQ(relative, 8.0f);
    EXPECT_EQ(absolute, 5.0f);
}

TEST_F(TweenTest, DurationZeroWritesTheEndValueInTheStartFrame)
{
    float value = 1.0f;
    Runner run;
    bool gone = false;
    run.Add(MakeSequence(new TweenTo(&value, 0.0f, 4.0f, 5, true, false), new Watched(&gone)));
    run.Step(0.0f);
    EXPECT_EQ(value, 4.0f);
    EXPECT_FALSE(gone); // the action behind it started in the same frame and runs on
    EXPECT_EQ(Tween::ActiveTweenOf(&value), nullptr);
}

TEST_F(TweenTest, TwoDelegateTweensOnOneValueBothRun)
{
    struct Holder {
        float value = 0.0f;
        int writes = 0;
        float Get() const { return value; }
        void Set(float v)
        {
            value = v;
            ++writes;
        }
    } holder;
    Runner run;
    run.Add(new TweenTo(Delegate<float>(&holder, &Holder::Get), Delegate<void, float>(&holder, &Holder::Set), 1.0f,
                        10.0f, 0, false));
    run.Add(new TweenTo(Delegate<float>(&holder, &Holder::Get), Delegate<void, float>(&holder, &Holder::Set), 1.0f,
                        1.0f, 0, true),
            1);
    run.Step(0.5f);
    // Each starts (one write) and updates (one write): neither gave way to the other.
    EXPECT_EQ(holder.writes, 4);
    EXPECT_EQ(run.list.GetCount(), 2);
}

TEST_F(TweenTest, ADelegateTweenWithAnEmptyGetterAndAnInvokeOfAnEmptyDelegateThrowWhenTheyStart)
{
    float sink = 0.0f;
    struct Holder {
        float* sink;
        void Set(float v) { *sink = v; }
    } holder{&sink};
    Runner tween;
    tween.Add(new TweenTo(Delegate<float>(), Delegate<void, float>(&holder, &Holder::Set), 1.0f, 1.0f, 0, false));
    EXPECT_THROW(tween.Step(), DelegateError);
    Runner invoke;
    invoke.Add(new Invoke(Delegate<>()));
    EXPECT_THROW(invoke.Step(), DelegateError);
}

TEST_F(TweenTest, ACancelledOrDeletedTweenFreesItsFloat)
{
    float value = 0.0f;
    {
        Runner run;
        auto* tween = run.Add(new TweenTo(&value, 1.0f, 10.0f, 0, false, false));
        run.Step(0.1f);
        tween->Cancel();
        EXPECT_EQ(Tween::ActiveTweenOf(&value), nullptr);
    }
    {
        auto list = std::make_unique<ActionList>(false, true);
        list->PushBack(new TweenTo(&value, 1.0f, 10.0f, 0, false, false), 0);
        list->Update(0.1f);
        EXPECT_NE(Tween::ActiveTweenOf(&value), nullptr);
        list.reset();
        EXPECT_EQ(Tween::ActiveTweenOf(&value), nullptr);
    }
    {
        // A tween deleted without ever ending (held outside any list) lets go as well.
        auto tween = std::make_unique<TweenTo>(&value, 1.0f, 10.0f, 0, false, false);
        tween->m_onStarted.Emit();
        EXPECT_EQ(Tween::ActiveTweenOf(&value), tween.get());
        tween.reset();
        EXPECT_EQ(Tween::ActiveTweenOf(&value), nullptr);
    }
    // A later tween without override on the same float runs normally.
    value = 0.0f;
    Runner run;
    run.Add(new TweenTo(&value, 1.0f, 10.0f, 0, false, false));
    run.Step(0.5f);
    EXPECT_FLOAT_EQ(value, 5.0f);
}

struct CurvePoint {
    int index;
    float atHalf;    // value at t = d/2 for b = 0, c = 1
    float atQuarter; // value at t = d/4
};

TEST(EasingTest, EveryCurveStartsAtTheBeginValueEndsNearTheEndAndHasItsShape)
{
    const float b = 2.0f, c = 4.0f, d = 2.0f;
    const CurvePoint points[] = {
        {0, 0.5f, 0.25f},           {1, -0.0876975f, -0.0641365f}, {2, 1.0876975f, 0.8174097f},
        {3, 0.5f, -0.0996818f},     {4, -0.015625f, -0.0055243f},  {5, 1.015625f, 0.9116117f},
        {6, 0.5f, 0.0119694f},      {7, 0.03025f, 0.0045243f},        {8, 0.96875f, 0.8232233f},
        {9, 0.5f, 0.015625f},       {10, 0.2928932f, 0.0761205f},  {11, 0.7071068f, 0.3826834f},
        {12, 0.5f, 0.1464466f},     {13, 0.1339746f, 0.0317542f},  {14, 0.8660254f, 0.6614378f},
        {15, 0.5f, 0.0669873f},     {16, 0.125f, 0.015625f},       {17, 0.875f, 0.578125f},
        {18, 0.5f, 0.0625f},        {19, 0.25f, 0.0625f},          {20, 0.75f, 0.4375f},
        {21, 0.5f, 0.125f},
    };
    for (const CurvePoint& point : points) {
        SCOPED_TRACE(point.index);
        EasingFunction curve = Easing::Get(point.index);
        EXPECT_NEAR(curve(0.0f, b, c, d), b, 1e-4f);
        // Exponential in stops 0.001 c short by design.
        const float end = point.index == 7 ? b + c - 0.001f * c : b + c;
        EXPECT_NEAR(curve(d, b, c, d), end, 1e-3f);
        EXPECT_NEAR(curve(d / 2.0f, b, c, d), b + c * point.atHalf, 1e-4f);
        EXPECT_NEAR(curve(d / 4.0f, b, c, d), b + c * point.atQuarter, 1e-4f);
    }
}

TEST(EasingTest, ExactEndsAndUnknownIndices)
{
    EXPECT_EQ(Easing::Get(7)(0.0f, 3.0f, 5.0f, 2.0f), 3.0f);
    EXPECT_EQ(Easing::Get(4)(2.0f, 3.0f, 5.0f, 2.0f), 8.0f);
    EXPECT_EQ(Easing::Get(5)(2.0f, 3.0f, 5.0f, 2.0f), 8.0f);
    EXPECT_EQ(Easing::Get(6)(2.0f, 3.0f, 5.0f, 2.0f), 8.0f);
    EXPECT_EQ(Easing::Get(8)(2.0f, 3.0f, 5.0f, 2.0f), 8.0f);
    EXPECT_EQ(Easing::Get(9)(2.0f, 3.0f, 5.0f, 2.0f), 8.0f);
    EXPECT_EQ(Easing::Get(22), &Easing::Linear);
    EXPECT_EQ(Easing::Get(-1), &Easing::Linear);
    EXPECT_NE(Easing::Get(21), &Easing::Linear);

    // A tween with an unknown curve moves linearly.
    float value = 0.0f;
    Runner run;
    run.Add(new TweenTo(&value, 1.0f, 10.0f, 22, true, false));
    run.Step(0.25f);
    EXPECT_FLOAT_EQ(value, 2.5f);
}

// How many updates an action takes to finish, at a fixed frame time.
int UpdatesToFinish(Action* action, float dt)
{
    struct Watch {
        bool finished = false;
        void Finished() { finished = true; }
    } watch;
    action->m_onFinished.Connect(MakeDelegate(&watch, &Watch::Finished), 0);
    Runner run;
    run.Add(action);
    for (int frame = 1; frame <= 10; ++frame) {
        run.Step(dt);
        if (watch.finished)
            return frame;
    }
    return -1;
}

TEST_F(TweenTest, WaitsCountTheStartFrame)
{
    EXPECT_EQ(UpdatesToFinish(new Wait(1.0f), 0.4f), 3); // 0.6, 0.2, -0.2
    EXPECT_EQ(UpdatesToFinish(new Wait(0.0f), 0.4f), 1);
    EXPECT_EQ(UpdatesToFinish(new WaitFrame(0), 0.1f), 1);
    EXPECT_EQ(UpdatesToFinish(new WaitFrame(1), 0.1f), 2);
    EXPECT_EQ(UpdatesToFinish(new WaitFrame(2), 0.1f), 3);
}

void Bump(int* counter)
{
    ++*counter;
}

int g_calls = 0;
void CountCall()
{
    ++g_calls;
}

TEST_F(TweenTest, BothKindsOfInvokePassInTheirStartFrame)
{
    int calls = 0;
    g_calls = 0;
    Runner run;
    run.Add(MakeSequence(new Invoke([&] { Bump(&calls); }), new Invoke(Delegate<>(&CountCall)),
                         new ProbeAction(&log, "after")));
    run.Step();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(log, (Log{"after:start", "after:update"}));
    run.Step();
    EXPECT_EQ(calls, 1);
}

TEST_F(TweenTest, SetValueWritesItsCopyWhenItsLaneReachesIt)
{
    {
        float target = 0.0f;
        Runner run;
        run.Add(MakeSequence(new SetValue(&target, 1.0f), new SetValue(&target, 2.0f)));
        run.Step();
        EXPECT_EQ(target, 2.0f); // the second of two in a sequence stays
    }
    {
        float target = 0.0f;
        Runner run;
        run.Add(MakeSequence(new Wait(0.15f), new SetValue(&target, 7.0f)));
        run.Step(0.1f);
        EXPECT_EQ(target, 0.0f); // held behind the wait
        run.Step(0.1f);
        EXPECT_EQ(target, 7.0f);
    }
    {
        float target = 0.0f;
        float source = 3.0f;
        bool flag = false;
        Runner run;
        auto* set = new SetValue(&target, source);
        source = 9.0f;
        run.Add(set);
        run.Add(new SetValue(&flag, true), 1);
        run.Step();
        EXPECT_EQ(target, 3.0f); // the copy made at construction
        EXPECT_TRUE(flag);
    }
    {
        // Cancelled before it starts: never writes, and its holder is freed.
        float target = 0.0f;
        auto* set = new SetValue(&target, 5.0f);
        set->Cancel();
        Runner run;
        run.Add(set);
        run.Step();
        EXPECT_EQ(target, 0.0f);
    }
}

class SmallActionTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        actions = new ActionSystem;
        engine->AddSystem(ActionSystem::ID, actions, "default");
    }
    ActionSystem* actions = nullptr;
};

TEST_F(SmallActionTest, SoundActionPlaysTheNamedSoundInGroupZero)
{
    auto* sound = new FakeSoundSystem;
    engine->AddSystem("SoundSystem", sound, "default");
    actions->AddAction(MakeSequence(new SoundAction("menu_select.ogg"), new ProbeAction(&log, "after")), 0);
    engine->Update(0.016f);
    ASSERT_EQ(sound->played.size(), 1u);
    EXPECT_EQ(sound->played[0].first, "menu_select.ogg");
    EXPECT_EQ(sound->played[0].second, 0);
    EXPECT_EQ(log, (Log{"after:start", "after:update"}));
}

TEST_F(SmallActionTest, ToggleEffectFlipsTheEffectOnItsScreenThroughTheGraphicsSystem)
{
    auto* graphics = new FakeGraphicsSystem;
    engine->AddSystem("GraphicsSystem", graphics, "default");
    actions->AddAction(MakeSequence(new ToggleEffect(3, 2), new ToggleEffect(3, 2), new ToggleEffect(5, -1)), 0);
    engine->Update(0.016f);
    EXPECT_EQ(graphics->calls, (std::vector<std::string>{"enabled 3 2", "enable 3 2", "enabled 3 2", "disable 3 2",
                                                         "enabled 5 -1", "enable 5 -1"}));
    EXPECT_FALSE((graphics->switches[{3, 2}]));
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE((graphics->switches[{5, screen}]));
}

TEST_F(SmallActionTest, WithoutSoundOrGraphicsSystemsTheActionsJustFinish)
{
    // A system of the right name but without the interface counts as missing too.
    engine->AddSystem("SoundSystem", new RecordingSystem(nullptr, "not sound"), "default");
    actions->AddAction(MakeSequence(new SoundAction("x.ogg"), new ToggleEffect(1, 0), new ProbeAction(&log, "after")), 0);
    engine->Update(0.016f);
    EXPECT_EQ(log, (Log{"after:start", "after:update"}));
}

TEST(SoundActionAlone, WithoutAnEngineFinishesAndMakesNone)
{
    ASSERT_FALSE(Engine::HasInstance());
    ActionList list(true, true);
    list.PushBack(new SoundAction("x.ogg"), 0);
    list.Update(0.016f);
    EXPECT_TRUE(list.IsFinished());
    EXPECT_FALSE(Engine::HasInstance());
}

} // namespace
} // namespace quellor::test
