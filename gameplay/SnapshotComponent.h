#pragma once
// The knock-back shot, the second secondary weapon. One shot casts up to five rays along the
// player's view: from the point of the view line nearest the player's body, then offset up,
// down, right and left by m_shotOffestMultiplier. The first ray that strikes a body pushes it
// away along the view at a fixed speed; a struck player is also stunned, loses any lift beam
// that holds it, records the shooter as its last hitter and sees a short colour-aberration
// pulse on its own screen. A SnapshotFxComponent draws the shot from the hand to where it
// ended. The game logic lists it but gives it no per-frame work.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/GameLogicMember.h"
#include "physics/Ray3D.h"

#include <string>

namespace quellor {

class Entity;

class SnapshotComponent : public Component, public InLogicSlot<LogicSlot::SnapshotComponent> {
    QUELLOR_REFLECT_KEYED(SnapshotComponent)

    inline static const std::string kShotSound{"knockback.ogg"};
    inline static const std::string kHitSound{"hit_by_snapshot.ogg"};
    static constexpr float kGrowSeconds = 0.15f;
    static constexpr float kShrinkSeconds = 0.3f;
    // The aberration pulse on the struck player's screen.
    static constexpr float kPulsePeakFactor = 5.0f;
    static constexpr float kPulsePeakIntensity = 1.2f;
    static constexpr float kPulseHalfSeconds = 0.2f;

    SnapshotComponent() = default;
    SnapshotComponent(const SnapshotComponent&) = delete;
    SnapshotComponent& operator=(const SnapshotComponent&) = delete;
    ~SnapshotComponent() override;

    void Initialize() override;
    void Uninitialize() override;

    // One shot along the view of the owner's third-person camera. Without such a camera: one
    // warning, no shot.
    void Fire();
    // Casts one ray and acts on the body it strikes; whether it struck one.
    bool TryHit(const Ray3D& ray);
    // The player-only part of a hit: release, stun, last hitter and the aberration pulse.
    void HitPlayer(Entity& player, const Vec4& hitPoint);
    // A "snapshotFx" entity drawing the shot from the hand to the end point.
    void SpawnShotEffect(const Vec4& end);

    // Reflected, in this order.
    float m_knockbackForce = 200.0f;      // speed given to a struck player
    float m_enviroKnockBackForce = 500.0f; // speed given to any other struck body
    float m_range = 1000.0f;
    float m_groundStunTime = 0.6f;
    float m_airStunTime = 0.85f;
    float m_shotOffestMultiplier = 1.0f; // distance of the outer rays from the centre ray

private:
    void Pulse(int screen);

    bool m_warnedNoCamera = false;
};

} // namespace quellor
