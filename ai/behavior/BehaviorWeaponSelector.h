#pragma once
// Runs the child of highest priority, chosen afresh on every tick, so it switches mid-action as
// the priorities change. A child switched away from while Running is only terminated: it keeps
// its Running status and, when chosen again, resumes without being initialised.
#include "ai/behavior/Composite.h"

namespace quellor {

class BehaviorWeaponSelector : public Composite {
public:
    // The first child of the highest priority above 0; null when none scores above 0.
    Behavior* ChooseChild() const;

    void OnInitialize() override;
    // Failure while nothing is chosen, else the chosen child's Tick.
    BehaviorStatus Update(float dt) override;
    // Aborts the chosen child if it is Running.
    void OnTerminate() override;

    Behavior* GetCurrent() const { return current; }

private:
    Behavior* current = nullptr;
};

} // namespace quellor
