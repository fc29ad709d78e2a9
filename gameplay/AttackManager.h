#pragma once
// Holds a player's secondary weapon and the knock-back shot's cooldown. The player's input
// code asks it whether it may fire, tells it to start an attack and to end one; it drives the
// lift beam (weapon 1) or the knock-back shot (weapon 2) on the same entity.
#include "engine/Component.h"
#include "gameplay/GameLogicMember.h"

namespace quellor {

class LiftComponent;
class SnapshotComponent;

class AttackManager : public Component, public InLogicSlot<LogicSlot::AttackManager> {
    QUELLOR_REFLECT_KEYED(AttackManager)

    static constexpr int kLiftBeam = 1;
    static constexpr int kKnockBackShot = 2;

    AttackManager() = default;
    AttackManager(const AttackManager&) = delete;
    AttackManager& operator=(const AttackManager&) = delete;
    ~AttackManager() override;

    void Initialize() override;
    void Uninitialize() override;

    // False only while the knock-back shot is selected and cooling down.
    bool CanFire() const;
    // The lift beam fires from the camera; the knock-back shot fires and restarts the cooldown.
    // Another weapon value does nothing.
    void StartAttack();
    // The lift beam ends; the knock-back shot restarts the cooldown.
    void EndAttack();
    // While the cooldown setting is above 0 the timer falls by dt, below 0 too.
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    LiftComponent* GetLiftComponent() const;
    SnapshotComponent* GetSnapshotComponent() const;

    int GetWeapon() const { return m_weapon; }
    // Test hook: the player set-up keeps the lift beam.
    void SetWeapon(int weapon) { m_weapon = weapon; }
    float GetCooldownTimer() const { return m_cooldownTimer; }

    // Reflected.
    float m_snapshotCooldown = 0.75f;

private:
    int m_weapon = kLiftBeam;
    float m_cooldownTimer = 0.0f;
};

} // namespace quellor
