#pragma once
// A person's player: the action that the player archetype's ActionComponent names ("m_name"
// "ShooterInput"). When its list starts it, it adds the weapon, collider, camera and effect
// parts to the entity and joins the match; each frame it then maps that person's keyboard,
// mouse or pad to movement, jumping, look, orb charge and fire, and the secondary weapon. When
// it is cancelled (the entity goes) it leaves the match. It never finishes by itself.
//
// The archetype it runs in ("beta_player.arch") holds, in this order: Transform3D (scale 1),
// RigidBodyComponent3D, PlayerDataComponent, CharacterMotor3D, GraphicsComponent3DSkinned (a
// skeleton of at least 30 bones: 29 the hand, 5 the head), AnimationControllerComponent,
// LiftComponent (m_playerLiftForce set), optionally SnapshotComponent and CharacterController,
// and last the ActionComponent. It carries none of what the set-up adds: OrbComponent,
// ArmChargeComponent, OrbChargeComponent, BoxColliderComponent3D, "FloorBoxSensor",
// AttackManager, ThirdPersonCameraComponent, AimAssistComponent.
#include "engine/Action.h"
#include "engine/reflection/Vec4.h"

#include <memory>
#include <string>

namespace ZOR {
class ParticleEmitter;
class PointLight;
} // namespace ZOR

namespace quellor {

class AnimationControllerComponent;
class ArmChargeComponent;
class AttackManager;
class CharacterMotor3D;
class Entity;
class Input;
class OrbChargeComponent;
class OrbComponent;
class PlayerDataComponent;
class RigidBodyComponent3D;
class ThirdPersonCameraComponent;

class ShooterInput : public Action {
    QUELLOR_REFLECT(ShooterInput)

    // Windows virtual-key codes and the input system's pad codes.
    static constexpr int kKeyW = 87, kKeyS = 83, kKeyD = 68, kKeyA = 65;
    static constexpr int kKeyLeft = 37, kKeyRight = 39, kKeyUp = 38, kKeyDown = 40;
    static constexpr int kKeyLeftShift = 160, kKeyCtrl = 17, kKeyQ = 81, kKeyE = 69;
    static constexpr int kMouseLeft = 1, kMouseRight = 2;
    static constexpr int kPadA = 10, kPadLeftShoulder = 8;
    static constexpr int kKeyboard = -1; // the input system's controller for keys and mouse

    static constexpr float kChargeDelay = 0.15f;
    static constexpr float kFireCooldown = 1.0f;
    static constexpr float kChargeWalk = 0.7f; // of the motor's base speed
    static constexpr float kLookThreshold = 0.25f;
    static constexpr float kMouseLook = 0.25f;
    static constexpr float kMaxPitchStep = 1.2566371f;
    static constexpr int kLiftTrigger = 150;
    static constexpr float kMinParticleSpeed = 1.0f;
    static constexpr float kMaxParticleSpeed = 30.0f;
    static constexpr float kLightRadius = 3.0f;
    static constexpr float kIdleLightRadius = 5.0f;
    static constexpr float kBlurStrength = 1.75f;
    static constexpr float kBlurDistance = 1.5f;
    static constexpr float kBlurSeconds = 0.75f;
    static constexpr int kBlurEasing = 5;
    static constexpr float kStillSpeed = 1.1920929e-7f;
    inline static const std::string kChargeEmitter{"emitters/orb_charge.pe"};
    inline static const std::string kFootstepSound{"footstep.ogg"};
    inline static const std::string kJumpSound{"land_from_jump.ogg"};
    inline static const std::string kChargeSound{"orb_charging.ogg"};

    ShooterInput();
    ~ShooterInput() override;

    // Started event: the set-up. A required sibling missing leaves the action inert.
    void Initialize();
    // Cancelled event: leaves the match and frees the charge visuals.
    void OnCancelled();
    void Update(float dt) override;

    void ReadCameraAxes();
    // Turns the body about y so that it faces (its +z) along the horizontal velocity.
    void FaceVelocity();
    void UpdateAim(float dt);
    void UpdateMovement(float dt);
    void UpdateOrb(float dt);
    void UpdateSecondary();
    // Carries the charge light and particles to the hand.
    void PlaceChargeVisuals(float dt);

    bool IsInitialized() const { return m_initialized; }
    bool IsInert() const { return m_inert; }
    float GetChargeTime() const { return m_chargeTime; }
    float GetFireCooldown() const { return m_fireCooldown; }
    bool IsOrbFireBlocked() const { return m_orbFireBlocked; }
    bool IsSecondaryHeld() const { return m_secondaryHeld; }
    const ZOR::ParticleEmitter* GetChargeEmitter() const { return m_emitter.get(); }
    const ZOR::PointLight* GetChargeLight() const { return m_light.get(); }
    int GetScreen() const { return m_screen; }

private:
    // The entity and the sibling components the set-up needs; false (one log line) otherwise.
    bool FindSiblings(Entity& player);
    // Adds a set-up component under its key; one the archetype already holds there is used.
    template <typename T>
    T* AddPart(Entity& player, T* part);
    void Fire();
    void Charge(float dt);
    void StopCharging(float dt);
    void StopChargeSound();
    void ResetChargeVisuals();
    void SetLiftBlur(bool on);
    bool KeyboardPlayer() const;
    // Keyboard and mouse weapons: also needs pad 0 unplugged.
    bool MouseWeapons() const;
    int Pad() const;
    // A pad button pressed on the player's own pad; never for a player without one.
    bool PadPressed(int code) const;

    Vec4 m_right;
    Vec4 m_forward;
    bool m_initialized = false;
    bool m_secondaryHeld = false;
    bool m_orbFireBlocked = false;
    bool m_inert = false;
    Input* m_input = nullptr;
    PlayerDataComponent* m_data = nullptr;
    RigidBodyComponent3D* m_body = nullptr;
    CharacterMotor3D* m_motor = nullptr;
    AnimationControllerComponent* m_animation = nullptr;
    ThirdPersonCameraComponent* m_camera = nullptr;
    AttackManager* m_attacks = nullptr;
    OrbComponent* m_orb = nullptr;
    ArmChargeComponent* m_armCharge = nullptr;
    float m_chargeTime = 0.0f;
    float m_chargeDelay = kChargeDelay;
    float m_fireCooldown = 0.0f;
    std::unique_ptr<ZOR::ParticleEmitter> m_emitter;
    std::unique_ptr<ZOR::PointLight> m_light;
    OrbChargeComponent* m_orbCharge = nullptr;
    bool m_chargeVisualOn = false; // a charge is on: set at its start, cleared by a shot or a stop
    float m_spin = 0.0f;
    float m_minSpeed = kMinParticleSpeed;
    float m_maxSpeed = kMaxParticleSpeed;
    // Kept from the set-up for the cancel: by then the archetype's components are gone.
    const Entity* m_player = nullptr;
    int m_controllerID = -1;
    int m_screen = -1;
};

} // namespace quellor
