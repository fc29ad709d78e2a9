#pragma once
// Strafes across the bot's facing in bursts of 0 to 5 s to a randomly rolled side, switching
// to the other side when the rolled one has a wall within 15 units or no floor beside the bot.
// Fails when both sides are blocked, which hands over to seeking in the bot's tree. While the
// bot is knocked back or out of control it keeps running and changes nothing.
#include "ai/behavior/BotLeaf.h"

#include <cstdint>

namespace quellor {

class BehaviorStrafeLeftRight : public BotLeaf {
public:
    static constexpr float kMaxBurstSeconds = 5.0f;
    static constexpr float kClearanceAboveRadius = 1.6f;

    BehaviorStrafeLeftRight() : BotLeaf("BehaviorStrafeLeftRight") {}
    void OnInitialize() override;
    BehaviorStatus Update(float dt) override;
    void OnTerminate() override;

    // Side 1 tries facing × up first, side 0 up × facing; a side that works is kept.
    bool ChooseSide();
    // Whether the bot can strafe along the direction; on success the move input points there.
    bool TrySide(Vec4 direction);

    std::uint32_t GetSide() const { return side; }
    float GetTimeLeft() const { return timeLeft; }

private:
    CharacterMotor3D* motor = nullptr;
    float timeLeft = 0.0f;
    float checkDistance = 15.0f;
    float clearance = 0.0f;
    std::uint32_t side = 0;
};

} // namespace quellor
