#include "ai/behavior/Selector.h"

namespace quellor {

void Selector::OnInitialize()
{
    current = 0;
}

BehaviorStatus Selector::Update(float dt)
{
    return RunInOrder(current, dt, BehaviorStatus::Failure);
}

void Selector::OnTerminate()
{
    AbortRunningChildren();
}

} // namespace quellor
