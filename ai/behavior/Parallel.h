#pragma once
// Ticks every unfinished child each tick and decides by its two policies. A child that has
// succeeded or failed is not ticked again until the parallel restarts, but its result keeps
// counting.
#include "ai/behavior/Composite.h"

#include <cstdint>

namespace quellor {

class Parallel : public Composite {
public:
    enum Policy : std::uint32_t {
        RequireOne = 0,
        RequireAll = 1,
    };

    Parallel(Policy success, Policy failure) : successPolicy(success), failurePolicy(failure) {}

    Policy GetSuccessPolicy() const { return successPolicy; }
    Policy GetFailurePolicy() const { return failurePolicy; }
    // Resets every child.
    void OnInitialize() override;
    // In child order: a success with RequireOne succeeds at once, a failure with RequireOne
    // fails at once; then all failed (RequireAll) fails, all succeeded (RequireAll) succeeds,
    // else Running. An empty parallel therefore fails, succeeds or runs by its policies.
    BehaviorStatus Update(float dt) override;
    // Aborts every child still Running.
    void OnTerminate() override;

private:
    Policy successPolicy;
    Policy failurePolicy;
};

} // namespace quellor
