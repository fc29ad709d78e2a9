#pragma once
// Runs its children in order while they succeed, resuming a Running child on the next tick.
// It does not abort a running child when it is itself terminated: that child keeps its
// Running status until it is next ticked.
#include "ai/behavior/Composite.h"

namespace quellor {

class Sequence : public Composite {
public:
    void OnInitialize() override;
    // Success when empty or when every child succeeded, else the first other result.
    BehaviorStatus Update(float dt) override;

private:
    std::size_t current = 0;
};

} // namespace quellor
