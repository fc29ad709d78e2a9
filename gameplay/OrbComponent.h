#pragma once
// A player's orb weapon. A shot turns a charge time into a knock-back force and, 0.3 s later,
// an "orb" entity that flies from the hand along the aim. Each frame the game logic flies the
// live orbs: an orb may lock on a player ahead of it or on a player its team has tagged, homes
// on its target after a short delay, and explodes on a contact, on reaching its target, when
// its target or its shooter dies, or at the end of its lifetime. An opponent it hits is knocked
// back and marked with the shooter as its last hitter.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/GameLogicMember.h"
#include "physics/PhysicsSystem3D.h"

#include <memory>
#include <string>
#include <vector>

namespace ZOR {
class ParticleEmitter;
}

namespace quellor {

class Entity;
class GameLogicSystem;
class PlayerDataComponent;
class SoundSystem;

// One live orb. The entities are referred to, not owned: an orb whose entity or target has
// gone is ended by the next update.
struct OrbRecord {
    EntityRef orb;
    EntityRef target; // none: the orb flies free
    Vec4 velocity;
    Vec4 lastPosition; // the centre of mass at the last update (or the hand at the spawn)
    float speed = 0.0f;
    float lifetime = 0.0f;  // seconds left
    float seekDelay = 0.0f; // seconds a locked orb still flies straight
    float force = 0.0f;
    float homingCap = 0.0f; // the speed homing accelerates to
    float turn = 0.0f;      // 0..1: how much of the way to the target the velocity turns per frame
    bool skipContacts = true;    // the first frame with contacts is ignored
    bool blastStopped = false;   // the launch blast has finished and left the renderer
};

class OrbComponent : public Component, public InLogicSlot<LogicSlot::OrbComponent> {
    QUELLOR_REFLECT_KEYED(OrbComponent)

    static constexpr float kSpawnDelay = 0.3f;
    static constexpr float kAimReach = 10000.0f;
    static constexpr float kLockTurn = 0.2f;
    static constexpr float kTagLockTurn = 0.5f;
    static constexpr float kCloseBrake = 0.65f;
    inline static const std::string kOrbName{"orb"};
    inline static const std::string kShootSound{"orb_shoot.ogg"};
    inline static const std::string kTrailSound{"orb_trailing_loop.ogg"};
    inline static const std::string kChargeSound{"orb_charging.ogg"};
    inline static const std::string kWallSound{"orb_hit_wall.ogg"};
    inline static const std::string kHitPlayerSound{"orb_hit_player.ogg"};

    OrbComponent();
    OrbComponent(const OrbComponent&) = delete;
    OrbComponent& operator=(const OrbComponent&) = delete;
    ~OrbComponent() override;

    // Live orbs cannot be carried over: not clonable.
    Component* Clone() const override;
    // Joins the game logic's orb slot, finds its systems and the player data, and makes sure
    // the shared orb emitters exist.
    void Initialize() override;
    // Frees the running explosions and leaves the game logic; live orbs stay as they are.
    void Uninitialize() override;

    // A person's shot along the third-person camera's view line.
    void Fire(float charge);
    // A computer player's shot in a direction, without a target.
    void ShootAt(const Vec4& direction, float charge);
    // Queues the orb's spawn 0.3 s ahead on lane 0 of the owner's ActionComponent.
    void Launch(const Vec4& aim, float charge, Entity* target);
    // Creates the orb entity at the hand point and appends its record.
    void SpawnOrb(const Vec4& aim, float charge, Entity* target);
    // Flies, locks, homes and ends the live orbs, then advances the explosions.
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }
    // Knock-back for an opponent of the shooter's team; a team mate gets nothing.
    void HitPlayer(Entity* victim, const Vec4& direction, float force);

    float GetChargeTime() const { return m_chargeTime; }
    // The charge shown by the camera's ring: current charge / charge time, at most 1. With a
    // charge time that is not above 0: 1 while the player charges, else 0.
    float GetChargePercent() const;
    // The knock-back force of a charge.
    float ForceOf(float charge) const;

    const std::vector<OrbRecord>& GetOrbs() const { return m_orbs; }
    std::size_t GetExplosionCount() const { return m_explosions.size(); }
    const ZOR::ParticleEmitter* GetExplosion(std::size_t index) const;

    float m_seekAcceleration = 100.0f;
    float m_orbSpeed = 200.0f;
    float m_tagSpeed = 200.0f;
    float m_orbRadius = 2.0f;
    float m_airKnockTime = 1.0f;
    float m_groundKnockTime = 0.8f;
    float m_maxForce = 800.0f;
    float m_baseForce = 250.0f;
    float m_tagSeekSpeed = 300.0f;
    float m_waitForSeek = 0.1f;
    float m_orbLifeTime = 7.0f;
    float m_chargeTime = 0.7f;
    float m_currentCharge = 0.0f;

private:
    struct TagEntry {
        std::string name;
        EntityRef target;
    };
    // Where an ended orb bursts: its target's position when it ended on that target.
    enum class EndAt { Orb, Target };

    // The owner's player data, looked up on use: the set-up may add it after this component.
    PlayerDataComponent* Data() const;
    SoundSystem* Sound() const;
    int SoundGroup() const;
    bool ShooterHasTag() const;
    void PlayShot();
    void CopyTagTable();
    // Step 2.4: true when a contact ends the orb.
    bool ScanContacts(OrbRecord& orb, Entity& entity, EndAt& endAt);
    void LookAheadLock(OrbRecord& orb, const Vec4& position);
    void TagLock(OrbRecord& orb, const Vec4& position);
    // True when the orb ends in this step.
    bool Home(OrbRecord& orb, const Vec4& position, float dt, EndAt& endAt);
    void Explode(const OrbRecord& orb, EndAt endAt);
    void UpdateExplosions(float dt);
    void FreeExplosions();
    // The physics ray, or no hit for a zero direction or reach (no ray is cast).
    PhysicsRayCastResult3D CastRay(const Vec4& origin, const Vec4& direction, float reach) const;
    // The entity a ray's first hit belongs to, or null.
    Entity* RayEntity(const Vec4& origin, const Vec4& direction, float reach, Vec4* point = nullptr) const;

    std::vector<OrbRecord> m_orbs;
    std::vector<std::unique_ptr<ZOR::ParticleEmitter>> m_explosions;
    PhysicsSystem3D* m_physics = nullptr;
    EntityRef m_owner;
    std::vector<TagEntry> m_tagTable;
    GameLogicSystem* m_gameLogic = nullptr;
    bool m_warnedNoCamera = false;
    bool m_warnedNoActions = false;
};

} // namespace quellor
