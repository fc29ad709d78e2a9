#pragma once
// An action that runs other actions in numbered lanes, walked in ascending lane number. In a
// lane, a blocking action holds back the actions behind it; lanes run side by side. The list
// owns its actions and deletes each once it has finished; a cancelled or deleted list cancels
// its unfinished actions and deletes them all.
#include "engine/Action.h"

#include <functional>
#include <list>
#include <map>
#include <vector>

namespace quellor {

class ActionList : public Action {
public:
    struct Lane {
        int m_number = 0;
        std::list<Action*> m_actions;
    };

    ActionList(bool finishWhenEmpty, bool updateOnStart);
    ~ActionList() override;

    // Appends to the lane and clears the list's own finished flag, so that a finished list runs again.
    void PushBack(Action* action, int lane);
    // Puts the action at the head of the lane; the list's finished flag is left alone.
    void PushFront(Action* action, int lane);
    // The lane of that number, made (or taken from the pool of emptied lanes) when there is none.
    Lane* GetLane(int lane);

    void Update(float dt) override;

    // Calls the visitor on every action held, lane by lane in ascending number and front to
    // back in a lane, descending into held lists (each list before its own actions). Read-only:
    // it makes no lane, unlike GetLane. The visitor must not change the tree.
    void VisitActions(const std::function<void(const Action&)>& visitor) const;

    int GetCount() const { return m_count; }
    bool FinishesWhenEmpty() const { return m_finishWhenEmpty; }

private:
    bool Accept(Action* action);
    void CancelChildren();
    void CancelUnfinished();
    void DiscardAll();

    bool m_finishWhenEmpty;
    int m_count = 0;
    std::map<int, Lane*> m_lanes;
    std::vector<Lane*> m_pool;
    // While the list walks its lanes, a cancellation only cancels; the actions are deleted when
    // the walk returns, so that nothing is freed under it.
    bool m_walking = false;
    bool m_discardPending = false;
    bool m_discarding = false;
};

// A new list (finishes when empty, updates on the start frame) with the non-null actions in
// lane 0 in argument order. MakeSequence makes each blocking, so they run one after another;
// MakeParallel makes each non-blocking, so they run at once.
ActionList* MakeSequence(Action* a1, Action* a2 = nullptr, Action* a3 = nullptr, Action* a4 = nullptr,
                         Action* a5 = nullptr, Action* a6 = nullptr, Action* a7 = nullptr, Action* a8 = nullptr,
                         Action* a9 = nullptr, Action* a10 = nullptr);
ActionList* MakeParallel(Action* a1, Action* a2 = nullptr, Action* a3 = nullptr, Action* a4 = nullptr,
                         Action* a5 = nullptr, Action* a6 = nullptr, Action* a7 = nullptr, Action* a8 = nullptr,
                         Action* a9 = nullptr, Action* a10 = nullptr);

} // namespace quellor
