#pragma once
// Succeeds while the bot's targeting holds a target, else fails.
#include "ai/behavior/BotLeaf.h"

namespace quellor {

class BehaviorHasTarget : public BotLeaf {
public:
    BehaviorHasTarget() : BotLeaf("BehaviorHasTarget") {}
    BehaviorStatus Update(float dt) override;
};

} // namespace quellor
