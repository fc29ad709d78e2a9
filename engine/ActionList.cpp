#include "engine/ActionList.h"

#include <cstdio>
#include <initializer_list>

namespace quellor {

ActionList::ActionList(bool finishWhenEmpty, bool updateOnStart)
    : Action(updateOnStart), m_finishWhenEmpty(finishWhenEmpty)
{
    m_onCancelled.Connect(MakeDelegate(this, &ActionList::CancelChildren), 0);
}

ActionList::~ActionList()
{
    DiscardAll();
    for (Lane* lane : m_pool)
        delete lane;
}

bool ActionList::Accept(Action* action)
{
    if (!action)
        return false;
    if (action->m_inList) {
        std::printf("Warning: an action already held by a list was pushed again; ignored\n");
        return false;
    }
    action->m_inList = true;
    return true;
}

void ActionList::PushBack(Action* action, int lane)
{
    if (!Accept(action))
        return;
    GetLane(lane)->m_actions.push_back(action);
    action->m_lane = lane;
    ++m_count;
    m_finished = false;
}

void ActionList::PushFront(Action* action, int lane)
{
    if (!Accept(action))
        return;
    GetLane(lane)->m_actions.push_front(action);
    action->m_lane = lane;
    ++m_count;
}

void ActionList::VisitActions(const std::function<void(const Action&)>& visitor) const
{
    for (const auto& [number, lane] : m_lanes) {
        for (const Action* action : lane->m_actions) {
            visitor(*action);
            if (const auto* list = dynamic_cast<const ActionList*>(action))
                list->VisitActions(visitor);
        }
    }
}

ActionList::Lane* ActionList::GetLane(int number)
{
    auto found = m_lanes.find(number);
    if (found != m_lanes.end())
        return found->second;
    Lane* lane;
    if (!m_pool.empty()) {
        lane = m_pool.back();
        m_pool.pop_back();
    } else {
        lane = new Lane;
    }
    lane->m_number = number;
    m_lanes.emplace(number, lane);
    return lane;
}

void ActionList::Update(float dt)
{
    if (IsPaused() || IsFinished() || m_walking)
        return;
    m_walking = true;
    // Handlers may push actions or make lanes during the walk: list and map insertions keep
    // the walk's iterators valid, and only the walk itself erases.
    for (auto laneIt = m_lanes.begin(); laneIt != m_lanes.end() && !m_discardPending; ++laneIt) {
        std::list<Action*>& actions = laneIt->second->m_actions;
        auto it = actions.begin();
        while (it != actions.end() && !m_discardPending) {
            Action* action = *it;
            if (!action->m_finished && !action->m_paused) {
                if (!action->m_started) {
                    action->m_owner = this;
                    action->SetInjector(GetInjector());
                    action->m_onStarted.Emit();
                    action->m_started = true;
                    if (!action->m_finished && action->m_updateOnStart)
                        action->Update(dt);
                } else {
                    action->Update(dt);
                }
            }
            if (action->m_finished) {
                it = actions.erase(it);
                --m_count;
                Dispose(action);
                continue;
            }
            if (action->m_blocking)
                break;
            ++it;
        }
    }
    m_walking = false;

    if (m_discardPending) {
        m_discardPending = false;
        DiscardAll();
    } else {
        for (auto laneIt = m_lanes.begin(); laneIt != m_lanes.end();) {
            if (laneIt->second->m_actions.empty()) {
                m_pool.push_back(laneIt->second);
                laneIt = m_lanes.erase(laneIt);
            } else {
                ++laneIt;
            }
        }
    }
    if (m_count == 0 && m_finishWhenEmpty)
        Finish();
}

void ActionList::CancelChildren()
{
    if (m_discarding)
        return; // the running discard takes whatever is left
    if (m_walking) {
        CancelUnfinished();
        m_discardPending = true;
        return;
    }
    DiscardAll();
}

void ActionList::CancelUnfinished()
{
    // Lane and action order; actions pushed by the handlers meanwhile are reached too.
    for (auto laneIt = m_lanes.begin(); laneIt != m_lanes.end(); ++laneIt) {
        for (Action* action : laneIt->second->m_actions) {
            if (!action->m_finished)
                action->Cancel();
        }
    }
}

void ActionList::DiscardAll()
{
    // Handlers of the cancelled actions may push new ones into this list: those are cancelled
    // and deleted as well, until the lanes stay empty.
    if (m_discarding)
        return;
    m_discarding = true;
    for (;;) {
        CancelUnfinished();
        std::vector<Action*> taken;
        for (auto& [number, lane] : m_lanes) {
            taken.insert(taken.end(), lane->m_actions.begin(), lane->m_actions.end());
            lane->m_actions.clear();
            m_pool.push_back(lane);
        }
        m_lanes.clear();
        m_count = 0;
        if (taken.empty())
            break;
        for (Action* action : taken) {
            if (!action->m_finished)
                action->Cancel();
            Dispose(action);
        }
    }
    m_discarding = false;
}

namespace {

ActionList* MakeList(std::initializer_list<Action*> actions, bool blocking)
{
    ActionList* list = new ActionList(true, true);
    for (Action* action : actions) {
        if (!action)
            continue;
        if (blocking)
            action->Block();
        else
            action->Unblock();
        list->PushBack(action, 0);
    }
    return list;
}

} // namespace

ActionList* MakeSequence(Action* a1, Action* a2, Action* a3, Action* a4, Action* a5, Action* a6, Action* a7,
                         Action* a8, Action* a9, Action* a10)
{
    return MakeList({a1, a2, a3, a4, a5, a6, a7, a8, a9, a10}, true);
}

ActionList* MakeParallel(Action* a1, Action* a2, Action* a3, Action* a4, Action* a5, Action* a6, Action* a7,
                         Action* a8, Action* a9, Action* a10)
{
    return MakeList({a1, a2, a3, a4, a5, a6, a7, a8, a9, a10}, false);
}

} // namespace quellor
