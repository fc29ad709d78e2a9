#include "ai/behavior/Invert.h"

namespace quellor {

BehaviorStatus Invert::Decorate(float dt)
{
    const BehaviorStatus result = child->Tick(dt);
    if (result == BehaviorStatus::Success)
        return BehaviorStatus::Failure;
    if (result == BehaviorStatus::Failure)
        return BehaviorStatus::Success;
    return result;
}

} // namespace quellor
