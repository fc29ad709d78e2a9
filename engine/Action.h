#pragma once
// One step of a flow. An action list starts it (started event), updates it once a frame while
// it is not paused, and deletes it once it has finished, by Finish (finished, then ended) or by
// Cancel (cancelled, then ended). The ended event fires exactly once either way.
#include "engine/QLObject.h"
#include "engine/Signal.h"

namespace quellor {

class ActionList;

class Action : public QLObject {
    QUELLOR_REFLECT(Action)

    // Actions made by name through their records start with updateOnStart set.
    explicit Action(bool updateOnStart = true);
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;
    ~Action() override;

    virtual void Update(float dt);

    // Nothing once finished.
    void Finish();
    void Cancel();

    void Block() { m_blocking = true; }
    void Unblock() { m_blocking = false; }
    // A paused action neither starts nor updates; a paused blocking one holds its lane.
    void SetPaused(bool paused) { m_paused = paused; }

    bool IsBlocking() const { return m_blocking; }
    bool IsFinished() const { return m_finished; }
    bool IsPaused() const { return m_paused; }
    bool IsStarted() const { return m_started; }
    bool UpdatesOnStart() const { return m_updateOnStart; }

    // The list running the action (null until a list starts it) and its lane there.
    ActionList* GetOwnerList() const { return m_owner; }
    int GetLane() const { return m_lane; }

    Signal<> m_onStarted;
    Signal<> m_onFinished;
    Signal<> m_onCancelled;
    Signal<> m_onEnded;
    // Two further events that the engine never emits.
    Signal<> m_onSpare1;
    Signal<> m_onSpare2;

private:
    friend class ActionList;

    // Deletes an action a list is done with. An action still inside its own Finish or Cancel
    // (a handler made its list let go of it) is deleted when that call returns.
    static void Dispose(Action* action);
    void LeaveEvents();

    int m_emitting = 0;
    bool m_releasePending = false;
    bool m_inList = false;
    ActionList* m_owner = nullptr;
    int m_lane = 0;
    bool m_updateOnStart;
    bool m_started = false;
    bool m_blocking = false;
    bool m_finished = false;
    bool m_paused = false;
};

} // namespace quellor
