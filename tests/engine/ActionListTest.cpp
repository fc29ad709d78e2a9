// Action lists: lanes, blocking, pausing, finishing, cancelling (also from inside the walk),
// ownership of the actions, and the action system with its components.
#include "EngineTestSupport.h"

#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Entity.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace quellor::test {
namespace {

class ActionListTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ProbeAction::s_live = 0;
    }
};

// Records the list's own finish into the log.
void WatchFinish(ActionList& list, Log& log)
{
    struct Watcher {
        Log* log;
        void Finished() { log->push_back("list:finished"); }
    };
    static std::vector<std::unique_ptr<Watcher>> watchers;
    watchers.push_back(std::make_unique<Watcher>(Watcher{&log}));
    list.m_onFinished.ConnectSlot(MakeDelegate(watchers.back().get(), &Watcher::Finished), 0, false);
}

// Each case returns a copy of its log, taken before the case's own list is destroyed (and
// cancels what is still running).
struct ListCase {
    const char* name;
    std::function<Log()> run;
    Log expected;
};

TEST_F(ActionListTest, EdgeCases)
{
    const std::vector<ListCase> cases = {
        {"a sequence passes through actions that finish in their start frame",
         [] {
             Log log;
             std::unique_ptr<ActionList> list(MakeSequence(new ProbeAction(&log, "a", 0), new ProbeAction(&log, "b", 0),
                                                           new ProbeAction(&log, "c")));
             list->Update(0.1f);
             return Log(log);
         },
         {"a:start", "a:finish", "a:end", "b:start", "b:finish", "b:end", "c:start", "c:update"}},

        {"a parallel list starts both at once and finishes when both are gone",
         [] {
             Log log;
             std::unique_ptr<ActionList> list(MakeParallel(new ProbeAction(&log, "a", 2), new ProbeAction(&log, "b", 1)));
             WatchFinish(*list, log);
             list->Update(0.1f);
             log.push_back("|");
             list->Update(0.1f);
             log.push_back(list->IsFinished() ? "finished" : "running");
             return Log(log);
         },
         {"a:start", "a:update", "b:start", "b:update", "b:finish", "b:end", "|", "a:update", "a:finish", "a:end",
          "list:finished", "finished"}},

        {"an empty list that finishes when empty finishes on its first update",
         [] {
             Log log;
             ActionList list(true, true);
             WatchFinish(list, log);
             log.push_back(list.IsFinished() ? "finished" : "running");
             list.Update(0.1f);
             log.push_back(list.IsFinished() ? "finished" : "running");
             return Log(log);
         },
         {"running", "list:finished", "finished"}},

        {"PushBack revives a finished list, PushFront does not",
         [] {
             Log log;
             ActionList list(true, true);
             list.Update(0.1f);
             list.PushFront(new ProbeAction(&log, "front"), 0);
             list.Update(0.1f);
             log.push_back(list.IsFinished() ? "finished" : "running");
             list.PushBack(new ProbeAction(&log, "back"), 0);
             log.push_back(list.IsFinished() ? "finished" : "running");
             list.Update(0.1f);
             return Log(log);
         },
         {"finished", "running", "front:start", "front:update", "back:start", "back:update"}},

        {"an action without update-on-start is first updated in the next frame",
         [] {
             Log log;
             ActionList list(false, true);
             list.PushBack(new ProbeAction(&log, "a", -1, false), 0);
             list.Update(0.1f);
             log.push_back("|");
             list.Update(0.1f);
             return Log(log);
         },
         {"a:start", "|", "a:update"}},

        {"a paused blocking action at a lane's head holds the lane",
         [] {
             Log log;
             ActionList list(false, true);
             auto* head = new ProbeAction(&log, "head", 1);
             head->Block();
             head->SetPaused(true);
             list.PushBack(head, 0);
             list.PushBack(new ProbeAction(&log, "next"), 0);
             list.Update(0.1f);
             log.push_back("|");
             head->SetPaused(false);
             list.Update(0.1f);
             return Log(log);
         },
         {"|", "head:start", "head:update", "head:finish", "head:end", "next:start", "next:update"}},

        {"a paused action that does not block lets the lane go on",
         [] {
             Log log;
             ActionList list(false, true);
             auto* head = new ProbeAction(&log, "head");
             head->SetPaused(true);
             list.PushBack(head, 0);
             list.PushBack(new ProbeAction(&log, "next"), 0);
             list.Update(0.1f);
             return Log(log);
         },
         {"next:start", "next:update"}},

        {"a blocking action holds the actions behind it until it finishes",
         [] {
             Log log;
             ActionList list(false, true);
             auto* head = new ProbeAction(&log, "head", 2);
             head->Block();
             list.PushBack(head, 0);
             list.PushBack(new ProbeAction(&log, "next"), 0);
             list.Update(0.1f);
             log.push_back("|");
             list.Update(0.1f);
             return Log(log);
         },
         {"head:start", "head:update", "|", "head:update", "head:finish", "head:end", "next:start", "next:update"}},

        {"lane -1 is walked before lane 5",
         [] {
             Log log;
             ActionList list(false, true);
             list.PushBack(new ProbeAction(&log, "five"), 5);
             list.PushBack(new ProbeAction(&log, "minus"), -1);
             list.Update(0.1f);
             log.push_back("|");
             list.Update(0.1f);
             return Log(log);
         },
         {"minus:start", "minus:update", "five:start", "five:update", "|", "minus:update", "five:update"}},

        {"cancelling an action that already finished fires nothing",
         [] {
             Log log;
             ProbeAction action(&log, "a");
             action.Finish();
             action.Cancel();
             action.Finish();
             return Log(log);
         },
         {"a:finish", "a:end"}},

        {"a list that is paused or finished does not walk",
         [] {
             Log log;
             ActionList list(false, true);
             list.PushBack(new ProbeAction(&log, "a"), 0);
             list.SetPaused(true);
             list.Update(0.1f);
             list.SetPaused(false);
             list.Finish();
             list.Update(0.1f);
             return Log(log);
         },
         {}},
    };

    for (const ListCase& each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(each.run(), each.expected);
    }
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionListTest, PushingWritesTheLaneAndCountsTheActions)
{
    ActionList list(false, true);
    auto* a = new ProbeAction(nullptr, "a");
    auto* b = new ProbeAction(nullptr, "b");
    list.PushBack(a, 3);
    list.PushFront(b, -2);
    EXPECT_EQ(a->GetLane(), 3);
    EXPECT_EQ(b->GetLane(), -2);
    EXPECT_EQ(list.GetCount(), 2);
    list.PushBack(a, 0); // already held: ignored
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetLane(3)->m_actions.size(), 1u);

    list.Update(0.1f);
    EXPECT_EQ(a->GetOwnerList(), &list);
    a->Finish();
    list.Update(0.1f);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(ProbeAction::s_live, 1);
}

TEST_F(ActionListTest, ACancelledListCancelsEachUnfinishedChildOnceAndDeletesThemAll)
{
    auto list = std::make_unique<ActionList>(false, true);
    auto* running = new ProbeAction(&log, "running");
    auto* waiting = new ProbeAction(&log, "waiting");
    auto* done = new ProbeAction(&log, "done");
    running->Block();
    list->PushBack(running, 0);
    list->PushBack(waiting, 0);
    list->PushBack(done, 1);
    list->Update(0.1f);
    done->Finish(); // finished from outside, still in its lane
    log.clear();

    list->Cancel();
    list->Cancel();

    EXPECT_EQ(log, (Log{"running:cancel", "running:end", "waiting:cancel", "waiting:end"}));
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionListTest, ADeletedListCancelsItsUnfinishedChildrenAndFreesThemAll)
{
    auto* list = new ActionList(false, true);
    auto* inner = MakeSequence(new ProbeAction(&log, "inner"));
    list->PushBack(inner, 0);
    list->PushBack(new ProbeAction(&log, "outer"), 1);
    auto* finished = new ProbeAction(&log, "finished");
    list->PushBack(finished, 2);
    list->Update(0.1f);
    finished->Finish();
    log.clear();

    delete list;

    EXPECT_EQ(log, (Log{"inner:cancel", "inner:end", "outer:cancel", "outer:end"}));
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionListTest, AChildCancellingItsOwnListMidWalkStopsTheWalkAndFreesLater)
{
    auto list = std::make_unique<ActionList>(false, true);
    auto* first = new ProbeAction(&log, "first");
    auto* canceller = new ProbeAction(&log, "canceller");
    auto* later = new ProbeAction(&log, "later");
    list->PushBack(first, 0);
    list->PushBack(canceller, 1);
    list->PushBack(later, 2);
    canceller->onUpdate = [&] { list->Cancel(); };

    list->Update(0.1f);

    EXPECT_EQ(log, (Log{"first:start", "first:update", "canceller:start", "canceller:update", "first:cancel",
                        "first:end", "canceller:cancel", "canceller:end", "later:cancel", "later:end"}));
    // Nothing was freed under the walk; all is freed once it returned.
    EXPECT_EQ(ProbeAction::s_live, 0);
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(ActionListTest, AChildCancellingAnOuterListFromANestedListIsSafe)
{
    auto outer = std::make_unique<ActionList>(false, true);
    auto* inner = new ActionList(true, true);
    auto* canceller = new ProbeAction(&log, "canceller");
    auto* sibling = new ProbeAction(&log, "sibling");
    inner->PushBack(canceller, 0);
    inner->PushBack(sibling, 0);
    outer->PushBack(inner, 0);
    outer->PushBack(new ProbeAction(&log, "other"), 1);
    canceller->onUpdate = [&] { outer->Cancel(); };

    outer->Update(0.1f);

    EXPECT_TRUE(outer->IsFinished());
    EXPECT_EQ(std::count(log.begin(), log.end(), "canceller:cancel"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "sibling:cancel"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "other:cancel"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "sibling:update"), 0);
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionListTest, AFinishHandlerThatCancelsTheOwnerListOutsideTheWalkIsSafe)
{
    auto list = std::make_unique<ActionList>(false, true);
    auto* action = new ProbeAction(&log, "a");
    list->PushBack(action, 0);
    list->Update(0.1f);
    struct Canceller {
        ActionList* list;
        void Cancel() { list->Cancel(); }
    } canceller{list.get()};
    action->m_onFinished.Connect(MakeDelegate(&canceller, &Canceller::Cancel), 1);
    log.clear();

    action->Finish(); // its list lets go of it inside its own finish: freed once the finish returns

    EXPECT_EQ(log, (Log{"a:finish", "a:end"}));
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionListTest, HandlersThatPushDuringACancellationHaveTheirActionsCancelledAndFreed)
{
    auto list = std::make_unique<ActionList>(false, true);
    auto* action = new ProbeAction(&log, "a");
    list->PushBack(action, 0);
    list->Update(0.1f);
    struct Pusher {
        ActionList* list;
        Log* log;
        void Push() { list->PushBack(new ProbeAction(log, "pushed"), 3); }
    } pusher{list.get(), &log};
    action->m_onEnded.Connect(MakeDelegate(&pusher, &Pusher::Push), 1);
    log.clear();

    list->Cancel();

    EXPECT_EQ(log, (Log{"a:cancel", "a:end", "pushed:cancel", "pushed:end"}));
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionListTest, AStartHandlerMayPushToTheFrontOfItsOwnLane)
{
    // A skip-like action puts its target ahead of itself in its own lane; the target runs from
    // the next frame on, ahead of it.
    ActionList list(false, true);
    auto* target = new ProbeAction(&log, "target");
    auto* skip = new ProbeAction(&log, "skip");
    struct Front {
        ActionList* list;
        Action* target;
        void Push() { list->PushFront(target, 0); }
    } front{&list, target};
    skip->m_onStarted.Connect(MakeDelegate(&front, &Front::Push), 1);
    list.PushBack(skip, 0);

    list.Update(0.1f);
    log.push_back("|");
    list.Update(0.1f);

    EXPECT_EQ(log, (Log{"skip:start", "skip:update", "|", "target:start", "target:update", "skip:update"}));
}

class ActionSystemTest : public ActionListTest {
protected:
    void SetUp() override
    {
        ActionListTest::SetUp();
        system = new ActionSystem;
        engine->AddSystem(ActionSystem::ID, system, "default");
    }

    ActionComponent* AddFlow(const std::string& entityName, Action* first)
    {
        Entity* entity = engine->CreateEntity(entityName, "default");
        return static_cast<ActionComponent*>(entity->AddComponent(ActionComponent::ID, new ActionComponent(first), true));
    }

    ActionSystem* system = nullptr;
};

TEST_F(ActionSystemTest, TheRootListRunsBeforeComponentsAndComponentsInRegistrationOrder)
{
    AddFlow("second", new ProbeAction(&log, "second"));
    ActionComponent* third = AddFlow("third", nullptr);
    third->AddAction(new ProbeAction(&log, "third"), 0);
    system->AddAction(new ProbeAction(&log, "root"), 0);
    system->AddActionFront(new ProbeAction(&log, "rootFront"), 0);
    EXPECT_EQ(system->GetComponentCount(), 2u);

    engine->Update(0.1f);

    EXPECT_EQ(log, (Log{"rootFront:start", "rootFront:update", "root:start", "root:update", "second:start",
                        "second:update", "third:start", "third:update"}));
}

TEST_F(ActionSystemTest, TheRootListHasTheSystemsInjectorAndNeverFinishesWhenEmpty)
{
    engine->Update(0.1f);
    EXPECT_FALSE(system->GetRootList().IsFinished());
    EXPECT_EQ(system->GetRootList().GetInjector(), engine->GetInjector());
    auto* action = new ProbeAction(nullptr, "a", 1);
    system->AddAction(action, 0);
    bool sawEngine = false;
    action->onUpdate = [&] { sawEngine = action->GetEngine() == engine; };
    engine->Update(0.1f);
    EXPECT_TRUE(sawEngine);
    EXPECT_FALSE(system->GetRootList().IsFinished());
}

TEST_F(ActionSystemTest, AComponentsFlowIsCancelledWithItsEntity)
{
    ActionComponent* flow = AddFlow("actor", new ProbeAction(&log, "flow"));
    EXPECT_EQ(flow->GetActionList().GetInjector(), flow->GetInjector());
    engine->Update(0.1f);
    log.clear();

    engine->GetEntity("actor", "default")->Destroy();
    engine->Update(0.1f);

    // Updated once more in the frame it was queued, then cancelled as the entity goes.
    EXPECT_EQ(log, (Log{"flow:update", "flow:cancel", "flow:end"}));
    EXPECT_EQ(system->GetComponentCount(), 0u);
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionSystemTest, ShuttingTheSystemDownCancelsTheRootList)
{
    system->AddAction(new ProbeAction(&log, "root"), 0);
    AddFlow("actor", new ProbeAction(&log, "flow"));
    engine->Update(0.1f);
    log.clear();

    Engine::DestroyInstance();

    EXPECT_EQ(log, (Log{"flow:cancel", "flow:end", "root:cancel", "root:end"}));
    EXPECT_EQ(ProbeAction::s_live, 0);
}

TEST_F(ActionSystemTest, AFirstActionGivenToTheSystemRunsInLaneZero)
{
    auto* own = new ActionSystem(new ProbeAction(&log, "first"));
    engine->CreateSpace("menu");
    engine->AddSystem(ActionSystem::ID, own, "menu");
    engine->Update(0.1f);
    EXPECT_EQ(log, (Log{"first:start", "first:update"}));
}

TEST_F(ActionSystemTest, AComponentWhoseSystemWentFirstLeavesSafely)
{
    AddFlow("actor", new ProbeAction(&log, "flow"));
    engine->DestroyAllSystems("default");
    engine->Update(0.1f);
    EXPECT_EQ(engine->GetSystem(ActionSystem::ID, "default"), nullptr);

    engine->DestroyAllEntities("default");
    engine->Update(0.1f);
    EXPECT_EQ(ProbeAction::s_live, 0);
    system = nullptr;
}

TEST_F(ActionSystemTest, ActionComponentsCannotBeClonedAndCopiesStartEmpty)
{
    ActionComponent* flow = AddFlow("actor", new ProbeAction(nullptr, "flow"));
    EXPECT_EQ(flow->Clone(), nullptr);
    ActionComponent copy(*flow);
    EXPECT_EQ(copy.GetActionList().GetCount(), 0);
    EXPECT_EQ(flow->GetActionList().GetCount(), 1);
}

} // namespace
} // namespace quellor::test

namespace quellor::test {
namespace {

TEST(ActionListVisitTest, VisitsLanesInOrderAndDescendsIntoHeldLists)
{
    Log log;
    ActionList root(false, true);
    auto* inner = new ProbeAction(&log, "inner");
    ActionList* sequence = MakeSequence(inner);
    auto* late = new ProbeAction(&log, "late");
    auto* early = new ProbeAction(&log, "early");
    root.PushBack(late, 5);
    root.PushBack(sequence, 1);
    root.PushBack(early, 1);
    std::vector<const Action*> seen;
    root.VisitActions([&](const Action& action) { seen.push_back(&action); });
    EXPECT_EQ(seen, (std::vector<const Action*>{sequence, inner, early, late}));
    // Visiting an empty list sees nothing and makes nothing to see later.
    ActionList empty(false, true);
    empty.VisitActions([&](const Action&) { ADD_FAILURE(); });
    EXPECT_EQ(empty.GetCount(), 0);
}

} // namespace
} // namespace quellor::test
