#include "ai/behavior/Parallel.h"

namespace quellor {

void Parallel::OnInitialize()
{
    for (const auto& child : children)
        child->Reset();
}

BehaviorStatus Parallel::Update(float dt)
{
    std::size_t successes = 0;
    std::size_t failures = 0;
    for (const auto& child : children) {
        if (!child->IsTerminated())
            child->Tick(dt);
        if (child->GetStatus() == BehaviorStatus::Success) {
            ++successes;
            if (successPolicy == RequireOne)
                return BehaviorStatus::Success;
        } else if (child->GetStatus() == BehaviorStatus::Failure) {
            ++failures;
            if (failurePolicy == RequireOne)
                return BehaviorStatus::Failure;
        }
    }
    if (failurePolicy == RequireAll && failures == children.size())
        return BehaviorStatus::Failure;
    if (successPolicy == RequireAll && successes == children.size())
        return BehaviorStatus::Success;
    return BehaviorStatus::Running;
}

void Parallel::OnTerminate()
{
    AbortRunningChildren();
}

} // namespace quellor
