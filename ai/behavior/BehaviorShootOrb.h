#pragma once
// The orb weapon of a computer player: once the target has been visible longer than the bot's
// reaction time, charge for a random time between 0.2 s and the orb's charge time (walking at
// 70 % meanwhile), then shoot at the target with the bot's aim error, at most once a second.
// Fails, back at full speed, while there is no target to shoot at. Its priority grows with how
// far the target is tagged: the orb knocks tagged players away.
#include "ai/behavior/BotLeaf.h"

namespace quellor {

class BehaviorShootOrb : public BotLeaf {
public:
    static constexpr float kMinChargeTime = 0.2f;
    static constexpr float kChargingSpeedFactor = 0.7f;
    static constexpr float kCooldownSeconds = 1.0f;

    BehaviorShootOrb() : BotLeaf("BehaviorShootOrb") {}
    // Also run after every shot: a new charge time, and the charging walk.
    void OnInitialize() override;
    BehaviorStatus Update(float dt) override;
    // k × orbBias, k = 0.01 for an untagged target (t ≤ 0), else 0.5 log10(t) + 1; t is the
    // target's tag fraction, 0 without a live target.
    float GetPriority() const override;
    static float Priority(float tagFraction, float orbBias);

    void Fire(Entity* target);

    float GetChargeTime() const { return chargeTime; }
    float GetChargeElapsed() const { return chargeElapsed; }
    float GetCooldown() const { return cooldown; }

private:
    float chargeTime = 0.0f;
    float chargeElapsed = 0.0f;
    float cooldown = 0.0f;
};

} // namespace quellor
