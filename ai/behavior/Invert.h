#pragma once
// Swaps its child's Success and Failure; Running and Aborted pass through.
#include "ai/behavior/Decorator.h"

namespace quellor {

class Invert : public Decorator {
protected:
    BehaviorStatus Decorate(float dt) override;
};

} // namespace quellor
