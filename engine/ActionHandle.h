#pragma once
// A reference to one running action that turns null at the action's ended event, so that
// code holding it (a skip and its target, a screen and the list it watches, a fade-in) never
// reaches a deleted action. It does not own the action: letting the handle go disconnects it
// and leaves the action running (a FlowTracker cancels on removal instead).
namespace quellor {

class Action;

class ActionHandle {
public:
    ActionHandle() = default;
    explicit ActionHandle(Action* action) { Reset(action); }
    ~ActionHandle() { Reset(); }
    // Its address is the target of the ended connection: neither copied nor moved.
    ActionHandle(const ActionHandle&) = delete;
    ActionHandle& operator=(const ActionHandle&) = delete;

    // Holds another action (null, or a finished one, leaves the handle null).
    void Reset(Action* action = nullptr);
    // Cancels the held action, if any; the handle is null afterwards.
    void Cancel();

    Action* Get() const { return m_action; }
    Action* operator->() const { return m_action; }
    explicit operator bool() const { return m_action != nullptr; }

private:
    void OnEnded();

    Action* m_action = nullptr;
};

} // namespace quellor
