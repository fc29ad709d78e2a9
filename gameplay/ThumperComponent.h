#pragma once
// A level hazard that slams the ground every m_thumpTime seconds: it plays its animation and
// sounds, bursts a ground-blast emitter over a box around its rigid body's centre of mass, and
// knocks up and stuns every player in that box. A stunned player's motor is slowed and given
// weaker gravity for m_stunTime; its knock-back speed (blastDist) decays along a tween.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/FlowTracker.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/GameLogicMember.h"

#include <string>
#include <vector>

namespace quellor {

class EmitterComponent;

class ThumperComponent : public Component, public InLogicSlot<LogicSlot::ThumperComponent> {
    QUELLOR_REFLECT_KEYED(ThumperComponent)

    // A player stunned by the last slam and the motor values it gets back.
    struct StunRecord {
        EntityRef player;
        float remaining = 0.0f;
        float savedSpeed = 0.0f;
        float savedGravity = 0.0f;
        bool speedRestored = false;
        bool gravityRestored = false;
    };

    static constexpr const char* kAnimation = "Thumper_anim2.anim";
    static constexpr const char* kChargingSound = "thumper_charging.ogg";
    static constexpr const char* kHitSound = "thumper_hit.ogg";

    ThumperComponent() = default;
    ThumperComponent(const ThumperComponent&) = delete;
    ThumperComponent& operator=(const ThumperComponent&) = delete;
    ~ThumperComponent() override;

    void Initialize() override;
    // Leaves the game logic and cancels the power and glow tweens, which write into this.
    void Uninitialize() override;

    // A thumper without a rigid body, or with values that are not numbers, never slams (one
    // warning).
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }
    void Thump();
    // Gives every player still stunned its motor values back and forgets them all.
    void ReleaseStunned();

    // The period timer runs only while running; the match's end stops it.
    void SetRunning(bool running) { m_running = running; }
    bool IsRunning() const { return m_running; }

    float GetPower() const { return m_power; }
    float GetGlowFactor() const { return m_glowFactor; }
    float GetPeriodTimer() const { return m_periodTimer; }
    const std::vector<StunRecord>& GetStunned() const { return m_stunned; }
    Entity* GetGroundBlast() const { return m_groundBlast.Get(); }

    // Reflected, in this order.
    float m_thumpPower = 100.0f;
    float m_enviroThumpPower = 50.0f; // accepted from levels; nothing but players is thumped
    float m_thumpApplyTime = 1.0f;
    float m_thumpTime = 30.0f;
    float m_stunTime = 1.0f;
    float m_stunGrav = 0.5f;
    float m_stunSpeed = 1.0f;
    Vec4 m_minHalfExtent{5.5f, 2.5f, 5.5f, 0.0f};
    Vec4 m_maxHalfExtent{5.5f, 2.5f, 5.5f, 0.0f};
    Vec4 m_thumpDir{0.0f, 1.0f, 0.0f, 0.0f};
    float m_minGlowFactor = 0.0f;
    float m_maxGlowFactor = 3.0f;
    float m_glowDuration = 0.0f;
    std::string m_groundBlastFile = "thumperGround.pe";

private:
    // Whether a slam can be made; warns once when it cannot.
    bool CanThump();
    void StartCharge();
    EmitterComponent* GroundBlastEmitter() const;
    void BuildGroundBlast(const Vec4& centre);
    void Stun(Entity& player);
    // Gives back what the player's flags allow and has not been given back yet.
    static void Restore(StunRecord& record);

    bool m_running = true;
    bool m_armed = true;
    bool m_warned = false;
    float m_periodTimer = 0.0f;
    float m_power = 0.0f;
    float m_glowFactor = 0.0f;
    EntityRef m_groundBlast;
    std::vector<StunRecord> m_stunned;
    FlowTracker m_flows;
};

} // namespace quellor
