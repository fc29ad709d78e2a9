#pragma once
// The lift beam, one of the two secondary weapons. While the fire input is held the player's
// attack manager fires it once a frame along the player's view (FireFromCamera); computer
// players fire it along a ray of their own (Fire). An enemy player it strikes is held: its
// motor's gravity turns to -m_playerLiftForce and its speed to m_playerSlowSpeed, so it floats
// up, and the shooter becomes its last hitter. A hold lasts m_liftTime after the last strike.
// Beam time on a held player counts towards a tag of the shooter's team, shown over the target
// by the tag markers. The beam is drawn by a LiftFxComponent on an entity of its own.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "gameplay/GameLogicMember.h"
#include "gameplay/LiftRecord.h"
#include "physics/Ray3D.h"
#include "renderer/math/float3.h"

#include <string>
#include <unordered_map>

namespace quellor {

class ColliderComponent3D;
class GameLogicSystem;
class LiftFxComponent;
class PlayerDataComponent;
class RigidBodyComponent3D;

class LiftComponent : public Component, public InLogicSlot<LogicSlot::LiftComponent> {
    QUELLOR_REFLECT_KEYED(LiftComponent)

    inline static const std::string kBeginSound{"lift_begin.ogg"};
    inline static const std::string kHoldSound{"lift_hold.ogg"};
    inline static const std::string kEndSound{"lift_end.ogg"};
    inline static const std::string kTagAddedSound{"tag_added.ogg"};
    inline static const std::string kTagRemovedSound{"tag_removed.ogg"};
    static constexpr float kReacquireProgress = 0.15f; // seconds of tag progress
    static constexpr float kFadeInSeconds = 0.2f;
    static constexpr float kFadeOutSeconds = 0.5f;

    LiftComponent() = default;
    LiftComponent(const LiftComponent&) = delete;
    LiftComponent& operator=(const LiftComponent&) = delete;
    ~LiftComponent() override;

    // Joins the game logic and caches the owner's rigid body.
    void Initialize() override;
    // Leaves the game logic, releases every hold (giving back the motors of targets that still
    // exist) and fades out the beam, so that nothing stays lifted by a beam that is gone.
    void Uninitialize() override;

    // Aims along the view of the owner's third-person camera, from the point of that line
    // nearest the owner's body, and fires. Without such a camera: one warning, no shot.
    void FireFromCamera();
    // One frame of fire along the ray.
    void Fire(const Ray3D& ray);
    // The fire input was released: the beam fades out; holds run out on their own timers.
    void EndBeam();
    // Once a frame, from the game logic: the burst's sounds, then every hold.
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    // The remaining part, 0 to 1, of the shooter team's tag on the target; 0 without one.
    float GetTagFraction(const Entity* target) const;
    // Releases the target if this beam holds it.
    void ReleaseTarget(const Entity* target);

    const std::unordered_map<std::string, LiftRecord>& GetHeldTargets() const { return m_heldTargets; }
    // The beam effect while one is shown; null otherwise.
    LiftFxComponent* GetBeamEffect() const;
    Entity* GetBeamEntity() const { return m_beamEffect.Get(); }

    // Reflected, in this order.
    float m_range = 1000.0f;
    float m_environmentLiftForce = 100.0f; // not read: only players are held
    float m_liftTime = 1.0f;
    float m_playerLiftForce = 10.0f;
    float m_playerSlowSpeed = 10.0f;
    float m_tagTime = 0.25f;
    float m_tagLastTime = 8.0f;
    std::string m_effectEmitter = "liftEffect.pe";   // not read
    std::string m_beamShotEmitter = "liftBeam.pe";   // not read

private:
    using HeldMap = std::unordered_map<std::string, LiftRecord>;

    void HoldTarget(ColliderComponent3D& collider);
    void UpdateBeamEffect(const ZOR::float3& end);
    void Tagging(Entity& target);
    // Team mates' lifter counts drop by one; a target that still exists gets its motor back.
    void ReleaseRecord(const std::string& name, const LiftRecord& record);
    // Adds delta to the lifter count of every record the shooter's team (the shooter included)
    // holds under the name.
    void AdjustTeamLifters(const std::string& name, int delta) const;
    // The shooter's team mates' beams, the shooter's own included, in player-list order.
    template <typename Visit>
    void ForEachTeamBeam(Visit visit) const;

    PlayerDataComponent* ShooterData() const;
    const std::string& ShooterTeam() const;
    int SoundGroup() const;
    void PlaySound(const std::string& name) const;

    HeldMap m_heldTargets;
    EntityRef m_beamEffect; // the "liftFx" entity
    bool m_firedThisFrame = false;
    bool m_firedLastFrame = false;
    bool m_lastHitWasEnemy = false;
    RigidBodyComponent3D* m_rigidBody = nullptr;
    bool m_holdSoundStopped = true;
    bool m_warnedNoCamera = false;
    bool m_warnedLiftForce = false;
};

} // namespace quellor
