#pragma once
// Runs its child over and over until it fails: a child's Success becomes Running (the child
// starts afresh on the next tick); every other result passes through.
#include "ai/behavior/Decorator.h"

namespace quellor {

class UntilFail : public Decorator {
protected:
    BehaviorStatus Decorate(float dt) override;
};

} // namespace quellor
