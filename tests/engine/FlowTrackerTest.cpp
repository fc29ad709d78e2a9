// The flow tracker and the action handle: flows leave at their ended event, cancelling reaches
// each running flow once, and nothing stays connected to a tracker or handle that is gone.
#include "EngineTestSupport.h"

#include "engine/ActionHandle.h"
#include "engine/ActionList.h"
#include "engine/FlowTracker.h"

#include <algorithm>
#include <memory>

namespace quellor::test {
namespace {

long CountOf(const Log& log, const std::string& entry)
{
    return std::count(log.begin(), log.end(), entry);
}

TEST(FlowTrackerTest, AnEndedFlowIsDroppedAndCancelAllLeavesFinishedOnesAlone)
{
    Log log;
    ActionList root(false, true);
    auto* quick = new ProbeAction(&log, "quick", 1);
    auto* slow = new ProbeAction(&log, "slow");
    root.PushBack(quick, 0);
    root.PushBack(slow, 1);
    FlowTracker tracker;
    tracker.Track(quick);
    tracker.Track(slow);
    EXPECT_EQ(tracker.Count(), 2u);

    root.Update(0.1f); // quick finishes in its first update; the list deletes it
    EXPECT_EQ(tracker.Count(), 1u);
    EXPECT_FALSE(tracker.IsTracking(quick));
    EXPECT_TRUE(tracker.IsTracking(slow));

    tracker.CancelAll();
    EXPECT_EQ(tracker.Count(), 0u);
    EXPECT_EQ(CountOf(log, "slow:cancel"), 1);
    EXPECT_EQ(CountOf(log, "slow:end"), 1);
    EXPECT_EQ(CountOf(log, "quick:cancel"), 0);
    EXPECT_EQ(CountOf(log, "quick:end"), 1);

    // Null and finished actions are not kept.
    tracker.Track(nullptr);
    auto* done = new ProbeAction(&log, "done");
    done->Finish();
    tracker.Track(done);
    EXPECT_EQ(tracker.Count(), 0u);
    delete done;
}

TEST(FlowTrackerTest, FlowsEndingInsideCancelAllAreCancelledOnce)
{
    Log log;
    ActionList root(false, true);
    // A sequence and one of its own children: cancelling the sequence ends the child first.
    auto* child = new ProbeAction(&log, "child");
    ActionList* sequence = MakeSequence(child, new ProbeAction(&log, "after"));
    root.PushBack(sequence, 0);
    // A flow whose cancel handler finishes another tracked flow.
    auto* first = new ProbeAction(&log, "first");
    auto* second = new ProbeAction(&log, "second");
    root.PushBack(first, 1);
    root.PushBack(second, 2);
    struct Finisher {
        Action* target;
        void Run() { target->Finish(); }
    } finisher{second};
    first->m_onCancelled.ConnectSlot(MakeDelegate(&finisher, &Finisher::Run), 0, false);
    root.Update(0.1f);

    FlowTracker tracker;
    tracker.Track(sequence);
    tracker.Track(child);
    tracker.Track(first);
    tracker.Track(second);
    tracker.CancelAll();

    EXPECT_EQ(tracker.Count(), 0u);
    EXPECT_EQ(CountOf(log, "child:cancel"), 1);
    EXPECT_EQ(CountOf(log, "child:end"), 1);
    EXPECT_EQ(CountOf(log, "first:cancel"), 1);
    // Finished by the handler before its turn: not cancelled afterwards.
    EXPECT_EQ(CountOf(log, "second:finish"), 1);
    EXPECT_EQ(CountOf(log, "second:cancel"), 0);
    EXPECT_EQ(CountOf(log, "second:end"), 1);
}

TEST(FlowTrackerTest, DestroyingTheTrackerCancelsAndLeavesNoConnection)
{
    Log log;
    ActionList root(false, true);
    auto* running = new ProbeAction(&log, "running");
    auto* later = new ProbeAction(&log, "later");
    root.PushBack(running, 0);
    root.PushBack(later, 1);
    root.Update(0.1f);
    {
        FlowTracker tracker;
        tracker.Track(running);
        // Gone while one of its flows is ending: its own connection on that flow must go.
        struct Killer {
            std::unique_ptr<FlowTracker>* tracker;
            void Run() { tracker->reset(); }
        };
        auto ending = std::make_unique<FlowTracker>();
        ending->Track(later);
        Killer killer{&ending};
        // Runs before the tracker's one-shot connection (higher priority).
        later->m_onEnded.ConnectSlot(MakeDelegate(&killer, &Killer::Run), 10, false);
        later->Finish();
        EXPECT_EQ(ending, nullptr);
    }
    EXPECT_EQ(CountOf(log, "running:cancel"), 1);
    // The list deletes both; under ASan any handler left on a dead tracker would show here.
    root.Update(0.1f);
    EXPECT_EQ(root.GetCount(), 0);
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST(FlowTrackerTest, AHandleGoesNullWhenItsListIsCancelled)
{
    Log log;
    ActionList root(false, true);
    ActionList* list = MakeSequence(new ProbeAction(&log, "a"));
    root.PushBack(list, 0);
    root.Update(0.1f);
    ActionHandle handle(list);
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle.Get(), list);
    list->Cancel();
    EXPECT_FALSE(handle);
    EXPECT_EQ(CountOf(log, "a:cancel"), 1);

    // A handle let go leaves its action running and unhooked.
    auto* kept = new ProbeAction(&log, "kept");
    root.PushBack(kept, 1);
    {
        ActionHandle watching(kept);
        ActionHandle cancelling(kept);
        cancelling.Cancel();
        EXPECT_FALSE(cancelling);
        EXPECT_FALSE(watching);
    }
    EXPECT_EQ(CountOf(log, "kept:cancel"), 1);
    auto* other = new ProbeAction(&log, "other");
    root.PushBack(other, 2);
    {
        ActionHandle watching(other);
    }
    root.Update(0.1f);
    other->Finish(); // no handle left to reach
    EXPECT_EQ(CountOf(log, "other:cancel"), 0);
}

} // namespace
} // namespace quellor::test
