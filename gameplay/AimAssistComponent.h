#pragma once
// Helps a person aim with the camera. Each frame five rays along the view look for an opponent
// ahead: while one is under them the player's look speeds drop ("sticky" aim), and the camera
// turns to follow that opponent's motion relative to the player. The person's set-up adds it;
// the game logic updates it last of its slots.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "gameplay/GameLogicMember.h"
#include "physics/PhysicsSystem3D.h"

namespace quellor {

class GraphicsSystem;
class ThirdPersonCameraComponent;

class AimAssistComponent : public Component, public InLogicSlot<LogicSlot::AimAssistComponent> {
    QUELLOR_REFLECT_KEYED(AimAssistComponent)

    static constexpr float kMaxDistance = 1000.0f;
    static constexpr float kFreeSpeedX = 2.5f;
    static constexpr float kFreeSpeedY = 1.7f;
    static constexpr float kFollowGain = 5.0f;
    static constexpr float kSlowFactor = 0.5f;
    static constexpr float kRaySpread = 3.0f;     // outer rays off the centre ray
    static constexpr float kOriginReach = 1.25f;  // of the camera's distance to the player
    static constexpr float kStillSpeedSquared = 0.1f;
    static constexpr float kCentreGain = 1.5f;
    static constexpr float kOuterGain = 2.0f;
    static constexpr float kMaxPitchStep = 1.5707964f;
    static constexpr int kRayCount = 5;

    AimAssistComponent() = default;
    AimAssistComponent(const AimAssistComponent&) = delete;
    AimAssistComponent& operator=(const AimAssistComponent&) = delete;
    ~AimAssistComponent() override;

    // Sets every value (data values do not survive), finds the camera and joins the game logic.
    void Initialize() override;
    void Uninitialize() override;

    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    // Casts the rays and writes the look speeds; nothing without player data.
    void PickTarget();
    // Turns the camera after the target; nothing without player data or a target.
    void Follow(float dt);

    Entity* GetTarget() const { return m_target.Get(); }
    bool IsCentreHit() const { return m_centreHit != 0.0f; }
    const PhysicsRayCastResult3D& GetLastHit() const { return m_hit; }

    // Reflected.
    float m_maxDistance = kMaxDistance;
    float m_slowFactor = kSlowFactor;

private:
    // The entity's third-person camera, looked up again while it is missing.
    ThirdPersonCameraComponent* Camera();

    ThirdPersonCameraComponent* m_camera = nullptr;
    GraphicsSystem* m_graphics = nullptr;
    EntityRef m_target;
    PhysicsRayCastResult3D m_hit;
    float m_speedX = kFreeSpeedX;
    float m_speedY = kFreeSpeedY;
    float m_followGain = kFollowGain;
    float m_centreHit = 0.0f;
};

} // namespace quellor
