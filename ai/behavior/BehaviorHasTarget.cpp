#include "ai/behavior/BehaviorHasTarget.h"

namespace quellor {

BehaviorStatus BehaviorHasTarget::Update(float)
{
    return Target() ? BehaviorStatus::Success : BehaviorStatus::Failure;
}

} // namespace quellor
