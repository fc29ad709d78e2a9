#include "ai/behavior/UntilFail.h"

namespace quellor {

BehaviorStatus UntilFail::Decorate(float dt)
{
    const BehaviorStatus result = child->Tick(dt);
    return result == BehaviorStatus::Success ? BehaviorStatus::Running : result;
}

} // namespace quellor
