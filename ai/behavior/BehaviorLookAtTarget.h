#pragma once
// Points the bot's attention and upper-body aim at its target across the ground; the body is
// not turned here, the legs follow the movement. Runs while there is a target, else fails.
#include "ai/behavior/BotLeaf.h"

namespace quellor {

class BehaviorLookAtTarget : public BotLeaf {
public:
    BehaviorLookAtTarget() : BotLeaf("BehaviorLookAtTarget") {}
    BehaviorStatus Update(float dt) override;
};

} // namespace quellor
