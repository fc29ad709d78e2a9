#pragma once
// Turns the bot's body toward the way it is moving, a step of five times its aim speed per
// second; a move input of length 0.01 or less leaves it as it is. Always succeeds.
#include "ai/behavior/BotLeaf.h"

namespace quellor {

class BehaviorAlignWithMovement : public BotLeaf {
public:
    BehaviorAlignWithMovement() : BotLeaf("BehaviorAlignWithMovement") {}
    BehaviorStatus Update(float dt) override;
};

} // namespace quellor
