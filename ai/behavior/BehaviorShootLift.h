#pragma once
// The lift beam of a computer player: once the target has been visible longer than the bot's
// reaction time, hold the beam on it every tick. The aim starts at the target plus the bot's
// aim error and is re-aimed with a fresh error at random intervals (0.3 s to liftAimInterval);
// between re-aims it sweeps toward the moving target by at most liftBeamAimSpeed per tick.
// A target too high above the bot ends the beam, though the leaf keeps running. Its priority
// falls as the target's tag fills: the beam tags, the orb knocks tagged players away.
#include "ai/behavior/BotLeaf.h"

namespace quellor {

struct Ray3D;

class BehaviorShootLift : public BotLeaf {
public:
    static constexpr float kMinReaimTime = 0.3f;
    static constexpr float kBlastLength = 0.15f;

    BehaviorShootLift() : BotLeaf("BehaviorShootLift") {}
    void OnInitialize() override;
    BehaviorStatus Update(float dt) override;
    // Ends the beam and resets the aim.
    void OnTerminate() override;
    // 0.2^(10 t) × liftBias for the target's tag fraction t (0 without a live target).
    float GetPriority() const override;
    static float Priority(float tagFraction, float liftBias);

    void Fire(Entity* target);
    // The ray from the own centre S toward the target's centre P, re-aimed or tracked.
    Ray3D ComputeAim(const Vec4& own, const Vec4& target);
    void Reaim(const Vec4& own, const Vec4& target);
    void TrackAim(const Vec4& own, const Vec4& target);

    const Vec4& GetAimOffset() const { return aimOffset; }
    const Vec4& GetAimDirection() const { return aimDirection; }
    float GetReaimTime() const { return reaimTime; }
    bool IsFirstAim() const { return firstAim; }

private:
    Vec4 aimOffset;
    Vec4 aimDirection;
    float reaimTime = 0.0f;
    bool firstAim = true;
};

} // namespace quellor
