#pragma once
// One 1.0 s burst of walking toward the target along the steering output (a motor seek of the
// target entity). Fails without a target; ending it stops the bot and drops the seek.
#include "ai/behavior/BotLeaf.h"

namespace quellor {

class BehaviorSeekTarget : public BotLeaf {
public:
    static constexpr float kBurstSeconds = 1.0f;

    BehaviorSeekTarget() : BotLeaf("BehaviorSeekTarget") {}
    void OnInitialize() override;
    BehaviorStatus Update(float dt) override;
    void OnTerminate() override;

    float GetTimeLeft() const { return timeLeft; }

private:
    CharacterMotor3D* motor = nullptr;
    float timeLeft = 0.0f;
};

} // namespace quellor
