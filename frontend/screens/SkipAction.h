#pragma once
// Runs a target flow (the start-up pictures) and ends it early when the player presses a skip
// input within a time limit. When the skip starts it puts the target at the head of its own
// lane, so the target runs beside it while the skip, blocking, holds back what follows.
//
// The skip holds the target through an ActionHandle, so a target that has ended (and been
// deleted by its list) is never touched: with a fixed frame time the target's own end and the
// time limit can fall in one frame.
#include "engine/Action.h"
#include "engine/ActionHandle.h"

#include <optional>

namespace quellor {

class Input;

class SkipAction : public Action {
public:
    // A press that skips: its code and controller (-1 the keyboard, 0 to 3 the pads).
    struct Press {
        int code;
        int controller;
    };
    // In the order they are tested. On the keyboard: Space, Enter, Escape, the left mouse
    // button, (none), X1 and the middle mouse button; on a pad: (none), Y, right stick right,
    // d-pad down, A, Back, Start.
    static constexpr int kSkipCodes[] = {32, 13, 27, 1, 10, 5, 4};

    // Owns the target until it starts.
    SkipAction(Action* target, float timeLimit);
    ~SkipAction() override;

    // Past the time limit it finishes and leaves the target alone; before it, the first skip
    // press finishes the skip and cancels the target.
    void Update(float dt) override;

    // The first skip press of this frame: code by code, the keyboard, then each connected pad.
    static std::optional<Press> FindPress(const Input& input);

    // The running target; null before the skip started and once the target has ended.
    Action* GetTarget() const { return m_target.Get(); }
    float GetElapsed() const { return m_elapsed; }
    float GetTimeLimit() const { return m_timeLimit; }

private:
    void Begin();

    Action* m_pending;
    ActionHandle m_target;
    float m_elapsed = 0.0f;
    float m_timeLimit;
};

} // namespace quellor
