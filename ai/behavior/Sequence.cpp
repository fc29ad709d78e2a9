#include "ai/behavior/Sequence.h"

namespace quellor {

void Sequence::OnInitialize()
{
    current = 0;
}

BehaviorStatus Sequence::Update(float dt)
{
    return RunInOrder(current, dt, BehaviorStatus::Success);
}

} // namespace quellor
