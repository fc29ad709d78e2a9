// The behaviour-tree node library, run by hand on scripted leaves: the Tick and Abort rules, the
// composites and decorators with their edge cases, and the points where this library differs
// from the usual behaviour-tree libraries (a Selector does not re-check earlier children, a
// Sequence leaves its running child alone when stopped, the weapon selector only terminates the
// child it switches away from, a Parallel does not re-tick a finished child).
#include "tests/ai/BehaviorTestKit.h"

#include "ai/behavior/BehaviorWeaponSelector.h"
#include "ai/behavior/Invert.h"
#include "ai/behavior/Parallel.h"
#include "ai/behavior/Selector.h"
#include "ai/behavior/Sequence.h"
#include "ai/behavior/UntilFail.h"
#include "tests/support/StdoutCapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace quellor::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr BehaviorStatus kInvalid = BehaviorStatus::Invalid;
constexpr BehaviorStatus kSuccess = BehaviorStatus::Success;
constexpr BehaviorStatus kFailure = BehaviorStatus::Failure;
constexpr BehaviorStatus kRunning = BehaviorStatus::Running;
constexpr BehaviorStatus kAborted = BehaviorStatus::Aborted;

class BehaviorNodeTest : public ::testing::Test {
protected:
    ScriptedLeaf* Leaf(const std::string& name, BehaviorStatus result = kRunning)
    {
        return new ScriptedLeaf(name, log, result);
    }
    // Takes ownership of a node built for the test.
    template<typename T>
    T* Own(T* node)
    {
        owned.emplace_back(node);
        return node;
    }
    // The log since the last call.
    Log Take()
    {
        Log taken;
        taken.swap(log);
        return taken;
    }

    Log log;
    std::vector<std::unique_ptr<Behavior>> owned;
};

TEST_F(BehaviorNodeTest, TickInitialisesUnlessRunningAndTerminatesUnlessRunning)
{
    ScriptedLeaf* leaf = Own(Leaf("a"));
    EXPECT_EQ(leaf->GetStatus(), kInvalid);
    EXPECT_EQ(leaf->Tick(0.5f), kRunning);
    EXPECT_EQ(leaf->lastDt, 0.5f);
    EXPECT_TRUE(leaf->IsRunning());
    EXPECT_FALSE(leaf->IsTerminated());
    EXPECT_EQ(leaf->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("init a", "update a", "update a"));

    leaf->result = kSuccess;
    EXPECT_EQ(leaf->Tick(0.1f), kSuccess);
    EXPECT_TRUE(leaf->IsTerminated());
    // A finished node starts afresh.
    leaf->result = kFailure;
    EXPECT_EQ(leaf->Tick(0.1f), kFailure);
    EXPECT_TRUE(leaf->IsTerminated());
    EXPECT_THAT(Take(), ElementsAre("update a", "term a", "init a", "update a", "term a"));

    leaf->Reset();
    EXPECT_EQ(leaf->GetStatus(), kInvalid);
    EXPECT_FALSE(leaf->IsTerminated());
}

TEST_F(BehaviorNodeTest, AbortMarksTheNodeAbortedTerminatesItAndItStartsAfreshNextTick)
{
    ScriptedLeaf* leaf = Own(Leaf("a"));
    leaf->Tick(0.1f);
    Take();
    leaf->Abort();
    EXPECT_EQ(leaf->GetStatus(), kAborted);
    EXPECT_FALSE(leaf->IsTerminated());
    EXPECT_FALSE(leaf->IsRunning());
    leaf->Tick(0.1f);
    EXPECT_THAT(Take(), ElementsAre("term a", "init a", "update a"));
}

TEST_F(BehaviorNodeTest, EmptyCompositesGiveTheirFixedResults)
{
    EXPECT_EQ(Own(new Selector)->Tick(0.1f), kFailure);
    EXPECT_EQ(Own(new Sequence)->Tick(0.1f), kSuccess);
    using P = Parallel;
    EXPECT_EQ(Own(new P(P::RequireAll, P::RequireAll))->Tick(0.1f), kFailure);
    EXPECT_EQ(Own(new P(P::RequireOne, P::RequireAll))->Tick(0.1f), kFailure);
    EXPECT_EQ(Own(new P(P::RequireAll, P::RequireOne))->Tick(0.1f), kSuccess);
    EXPECT_EQ(Own(new P(P::RequireOne, P::RequireOne))->Tick(0.1f), kRunning);
    EXPECT_EQ(Own(new BehaviorWeaponSelector)->Tick(0.1f), kFailure);
}

TEST_F(BehaviorNodeTest, SelectorResumesAtItsRunningChildWithoutRecheckingEarlierOnesAndRestartsWhenDone)
{
    ScriptedLeaf* first = Leaf("first", kFailure);
    ScriptedLeaf* second = Leaf("second", kRunning);
    auto* selector = Own(Holding<Selector>({first, second}));
    EXPECT_EQ(selector->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("init first", "update first", "term first", "init second", "update second"));

    // The first child would now succeed, but it is not looked at while the second runs.
    first->result = kSuccess;
    EXPECT_EQ(selector->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("update second"));

    second->result = kSuccess;
    EXPECT_EQ(selector->Tick(0.1f), kSuccess);
    EXPECT_THAT(Take(), ElementsAre("update second", "term second"));
    // Finished: the next tick starts at the first child again.
    EXPECT_EQ(selector->Tick(0.1f), kSuccess);
    EXPECT_THAT(Take(), ElementsAre("init first", "update first", "term first"));

    // All children failing fails the selector.
    first->result = kFailure;
    second->result = kFailure;
    EXPECT_EQ(selector->Tick(0.1f), kFailure);
}

TEST_F(BehaviorNodeTest, ASelectorStoppedByItsParentAbortsItsRunningChildButASequenceDoesNot)
{
    ScriptedLeaf* underSelector = Leaf("s");
    auto* selector = Own(Holding<Selector>({underSelector}));
    selector->Tick(0.1f);
    selector->Abort();
    EXPECT_EQ(underSelector->GetStatus(), kAborted);

    ScriptedLeaf* underSequence = Leaf("q");
    auto* sequence = Own(Holding<Sequence>({underSequence}));
    sequence->Tick(0.1f);
    Take();
    sequence->Abort();
    EXPECT_EQ(sequence->GetStatus(), kAborted);
    EXPECT_EQ(underSequence->GetStatus(), kRunning);
    EXPECT_THAT(Take(), IsEmpty());
    // Restarted, the sequence resumes the child that kept running, without initialising it.
    sequence->Tick(0.1f);
    EXPECT_THAT(Take(), ElementsAre("update q"));
}

TEST_F(BehaviorNodeTest, SequenceRunsChildrenWhileTheySucceedAndResumesARunningOne)
{
    ScriptedLeaf* first = Leaf("first", kSuccess);
    ScriptedLeaf* second = Leaf("second", kRunning);
    ScriptedLeaf* third = Leaf("third", kSuccess);
    auto* sequence = Own(Holding<Sequence>({first, second, third}));
    EXPECT_EQ(sequence->Tick(0.1f), kRunning);
    EXPECT_EQ(sequence->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("init first", "update first", "term first", "init second", "update second",
                                    "update second"));
    second->result = kSuccess;
    EXPECT_EQ(sequence->Tick(0.1f), kSuccess);
    EXPECT_THAT(Take(), ElementsAre("update second", "term second", "init third", "update third", "term third"));
    first->result = kFailure;
    EXPECT_EQ(sequence->Tick(0.1f), kFailure);
    EXPECT_EQ(second->GetStatus(), kSuccess) << "children after the failing one are not ticked";
}

TEST_F(BehaviorNodeTest, ParallelRequireAllRequireOneKeepsAFinishedChildsResultAndFailsWithTheLastRunningOne)
{
    ScriptedLeaf* quick = Leaf("quick", kSuccess);
    ScriptedLeaf* slow = Leaf("slow", kRunning);
    ScriptedLeaf* last = Leaf("last", kRunning);
    auto* parallel = Own(Holding<Parallel>({quick, slow, last}, Parallel::RequireAll, Parallel::RequireOne));
    EXPECT_EQ(parallel->Tick(0.1f), kRunning);
    Take();
    EXPECT_EQ(parallel->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("update slow", "update last")) << "the finished child is not ticked again";

    last->result = kFailure;
    EXPECT_EQ(parallel->Tick(0.1f), kFailure);
    // Terminating, the parallel aborts the child still running.
    EXPECT_THAT(Take(), ElementsAre("update slow", "update last", "term last", "term slow"));
    EXPECT_EQ(slow->GetStatus(), kAborted);

    // Restarting resets every child, so the quick one runs again.
    last->result = kRunning;
    EXPECT_EQ(parallel->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("init quick", "update quick", "term quick", "init slow", "update slow",
                                    "init last", "update last"));
}

TEST_F(BehaviorNodeTest, ParallelPoliciesDecideOnTheFirstQualifyingChildOrOnAllOfThem)
{
    ScriptedLeaf* a = Leaf("a", kSuccess);
    ScriptedLeaf* b = Leaf("b", kRunning);
    auto* anySuccess = Own(Holding<Parallel>({a, b}, Parallel::RequireOne, Parallel::RequireAll));
    EXPECT_EQ(anySuccess->Tick(0.1f), kSuccess);
    EXPECT_EQ(b->GetStatus(), kInvalid) << "later children are not visited once the policy is met";

    ScriptedLeaf* c = Leaf("c", kFailure);
    ScriptedLeaf* d = Leaf("d", kSuccess);
    auto* allFail = Own(Holding<Parallel>({c, d}, Parallel::RequireAll, Parallel::RequireAll));
    EXPECT_EQ(allFail->Tick(0.1f), kRunning) << "one failure and one success meet neither policy";
    d->result = kFailure;
    EXPECT_EQ(allFail->Tick(0.1f), kRunning) << "d is finished and keeps its success";

    ScriptedLeaf* e = Leaf("e", kSuccess);
    ScriptedLeaf* f = Leaf("f", kSuccess);
    EXPECT_EQ(Own(Holding<Parallel>({e, f}, Parallel::RequireAll, Parallel::RequireAll))->Tick(0.1f), kSuccess);
}

TEST_F(BehaviorNodeTest, InvertSwapsSuccessAndFailureAndPassesRunningAndAbortedThrough)
{
    ScriptedLeaf* leaf = Leaf("a");
    auto* invert = Own(Over<Invert>(leaf));
    const std::pair<BehaviorStatus, BehaviorStatus> cases[] = {
        {kSuccess, kFailure}, {kFailure, kSuccess}, {kRunning, kRunning}, {kAborted, kAborted}};
    for (const auto& [from, to] : cases) {
        leaf->result = from;
        EXPECT_EQ(invert->Tick(0.1f), to);
    }
}

TEST_F(BehaviorNodeTest, UntilFailNeverFinishesOverSuccessAndRestartsItsChildEveryTick)
{
    ScriptedLeaf* leaf = Leaf("a", kSuccess);
    auto* untilFail = Own(Over<UntilFail>(leaf));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(untilFail->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("init a", "update a", "term a", "init a", "update a", "term a", "init a",
                                    "update a", "term a"));
    leaf->result = kRunning;
    EXPECT_EQ(untilFail->Tick(0.1f), kRunning);
    leaf->result = kFailure;
    EXPECT_EQ(untilFail->Tick(0.1f), kFailure);
}

TEST_F(BehaviorNodeTest, ADecoratorAbortsItsRunningChildWhenItTerminatesAndFailsWithoutAChild)
{
    ScriptedLeaf* leaf = Leaf("a");
    auto* invert = Own(Over<Invert>(leaf));
    invert->Tick(0.1f);
    invert->Abort();
    EXPECT_EQ(leaf->GetStatus(), kAborted);

    tarsel::test::StdoutCapture capture;
    auto* empty = Own(new UntilFail);
    EXPECT_EQ(empty->Tick(0.1f), kFailure);
    EXPECT_EQ(empty->Tick(0.1f), kFailure);
    EXPECT_EQ(empty->GetPriority(), 0.0f);
    const std::string& text = capture.Text();
    EXPECT_NE(text.find("has no child; it fails"), std::string::npos) << text;
    EXPECT_EQ(text.find("has no child"), text.rfind("has no child")) << "warned once";
}

TEST_F(BehaviorNodeTest, PrioritiesComeFromTheChildrenAndNeverFallBelowZeroForAComposite)
{
    ScriptedLeaf* low = Leaf("low");
    ScriptedLeaf* high = Leaf("high");
    low->priority = -2.0f;
    high->priority = -0.5f;
    auto* sequence = Own(Holding<Sequence>({low, high}));
    EXPECT_EQ(sequence->GetPriority(), 0.0f);
    high->priority = 0.75f;
    EXPECT_EQ(sequence->GetPriority(), 0.75f);
    ScriptedLeaf* alone = Leaf("alone");
    alone->priority = -3.0f;
    EXPECT_EQ(Own(Over<Invert>(alone))->GetPriority(), -3.0f);
}

TEST_F(BehaviorNodeTest, WeaponSelectorRunsTheFirstChildOfHighestPositivePriority)
{
    ScriptedLeaf* lift = Leaf("lift");
    ScriptedLeaf* orb = Leaf("orb");
    ScriptedLeaf* spare = Leaf("spare");
    lift->priority = 0.5f;
    orb->priority = 0.5f;
    spare->priority = 0.25f;
    auto* weapons = Own(Holding<BehaviorWeaponSelector>({lift, orb, spare}));
    EXPECT_EQ(weapons->ChooseChild(), lift);
    EXPECT_EQ(weapons->Tick(0.1f), kRunning);
    EXPECT_EQ(weapons->GetCurrent(), lift);
    EXPECT_THAT(Take(), ElementsAre("init lift", "update lift"));

    // Every child at 0 or below: nothing is chosen, and every tick fails.
    ScriptedLeaf* zero = Leaf("zero", kSuccess);
    ScriptedLeaf* negative = Leaf("negative", kSuccess);
    negative->priority = -1.0f;
    auto* none = Own(Holding<BehaviorWeaponSelector>({zero, negative}));
    EXPECT_EQ(none->Tick(0.1f), kFailure);
    EXPECT_EQ(none->Tick(0.1f), kFailure);
    EXPECT_EQ(none->ChooseChild(), nullptr);
    EXPECT_EQ(zero->GetStatus(), kInvalid);
}

TEST_F(BehaviorNodeTest, WeaponSelectorSwitchingAwayOnlyTerminatesTheOldChildWhichResumesWithoutInitialising)
{
    ScriptedLeaf* lift = Leaf("lift");
    ScriptedLeaf* orb = Leaf("orb");
    lift->priority = 0.6f;
    orb->priority = 0.4f;
    auto* weapons = Own(Holding<BehaviorWeaponSelector>({lift, orb}));
    weapons->Tick(0.1f);
    Take();

    orb->priority = 0.9f;
    EXPECT_EQ(weapons->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("term lift", "init orb", "update orb"));
    EXPECT_EQ(lift->GetStatus(), kRunning) << "switched away from, it keeps its status";

    orb->priority = 0.1f;
    EXPECT_EQ(weapons->Tick(0.1f), kRunning);
    EXPECT_THAT(Take(), ElementsAre("term orb", "update lift")) << "resumed without OnInitialize";

    // The choice coming back empty while a child runs terminates it and fails the selector.
    lift->priority = 0.0f;
    orb->priority = 0.0f;
    EXPECT_EQ(weapons->Tick(0.1f), kFailure);
    EXPECT_THAT(Take(), ElementsAre("term lift"));
    EXPECT_EQ(weapons->GetCurrent(), nullptr);
}

TEST_F(BehaviorNodeTest, ANullChildIsRefusedAndAReplacedChildIsDeleted)
{
    bool firstGone = false;
    ScriptedLeaf* first = Leaf("first");
    first->destroyed = &firstGone;
    auto* invert = Own(Over<Invert>(first));
    invert->SetChild(invert->GetChild()); // the same child again stays
    EXPECT_FALSE(firstGone);
    invert->SetChild(Leaf("second"));
    EXPECT_TRUE(firstGone);

    tarsel::test::StdoutCapture capture;
    auto* selector = Own(new Selector);
    selector->AddChild(nullptr);
    EXPECT_EQ(selector->GetChildCount(), 0u);
    EXPECT_NE(capture.Text().find("given no child"), std::string::npos);
}

} // namespace
} // namespace quellor::test
