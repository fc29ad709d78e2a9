#pragma once
// Moves a player character (a person or a computer player) through the level. The character is
// an ellipsoid around its body's centre of mass; the motor places the body directly every
// frame. It turns the move input and the jump request that the controller code writes into a
// velocity (acceleration limits, air control, gravity, a buffered jump, ground alignment and a
// downward ground stick), moves the body with its own collide-and-slide built on physics ray
// casts, and measures the velocity it achieved. It also flies the knock-back that weapons start
// through the player data, keeps the grounded state and plays the landing sound.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/GameLogicMember.h"
#include "renderer/math/float3.h"

#include <array>

namespace quellor {

class ColliderComponent3D;
class PhysicsSystem3D;
struct PhysicsRayCastResult3D;
class PlayerDataComponent;
class RigidBodyComponent3D;

class CharacterMotor3D : public Component, public InLogicSlot<LogicSlot::CharacterMotor3D> {
    QUELLOR_REFLECT_KEYED(CharacterMotor3D)

    // The ground probe, then up to three passes of seven rays, each with one extra ray for the
    // step probe of its lowest ray.
    static constexpr unsigned kMaxCastsPerUpdate = 25;

    // What the ray casts of one pass share.
    struct MoveCastResult {
        bool hit = false;
        float bestGapSquared = 4294967296.0f;
        ZOR::float3 normal;
        ZOR::float3 move; // the displacement still to be made
        ZOR::float3 gap;  // from the ellipsoid's surface to the hit point
        // A knock-back flight struck what this pass keeps: the new flight direction.
        bool bounce = false;
        ZOR::float3 bounceDirection;
    };

    // One ray of the last update, for tests.
    struct CastRecord {
        ZOR::float3 origin;
        ZOR::float3 direction;
        float reach = 0.0f;
        bool hit = false;
    };

    CharacterMotor3D() = default;
    CharacterMotor3D(const CharacterMotor3D&) = delete;
    CharacterMotor3D& operator=(const CharacterMotor3D&) = delete;
    ~CharacterMotor3D() override;

    // Finds the physics system, the body and the player data, saves the base speed and
    // gravity and joins the game logic. Without a body or player data it warns once and stays
    // inert.
    void Initialize() override;
    void Uninitialize() override;

    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    // Turns v onto the ground plane, keeping its length.
    void AlignToGround(ZOR::float3& v) const;
    // Consumes the jump request and jumps when grounded within 0.2 s of one.
    void ApplyJump(ZOR::float3& v);
    // Collide and slide by the displacement d; bodyVelocity becomes the body's velocity.
    void Move(ZOR::float3 d, const ZOR::float3& bodyVelocity, float dt);
    void CastMove(const ZOR::float3& direction, const ZOR::float3& origin, const ZOR::float3& centre,
                  ZOR::float3 motion, MoveCastResult& result, float maxDistance, bool bounce, bool stepProbe,
                  bool slopes);
    // Where the segment from p to the centre c crosses the ellipsoid around c; p itself at c.
    ZOR::float3 EllipsoidPointToward(const ZOR::float3& p, const ZOR::float3& c) const;

    // Puts the player at (x, y + sphereCollRadius, z): body and transform, at rest, unstunned.
    void Teleport(const Vec4& position);
    // Sets the velocity and takes the body's position as the previous position.
    void SetVelocity(const Vec4& velocity);
    Vec4 GetVelocity() const { return m_velocity; }
    float GetSpeed() const { return m_speed; }
    void SetSpeed(float speed) { m_speed = speed; }
    float GetGravity() const { return m_gravity; }
    void SetGravity(float gravity) { m_gravity = gravity; }
    float GetBaseSpeed() const { return m_baseSpeed; }
    float GetBaseGravity() const { return m_baseGravity; }
    bool IsGrounded() const;
    Vec4 GetGroundNormal() const { return m_groundNormal; }

    void SetFloorSensor(ColliderComponent3D* sensor) { m_floorSensor = sensor; }
    ColliderComponent3D* GetFloorSensor() const { return m_floorSensor; }

    // Test hooks: the rays cast by the last update (all counted, the first 25 kept).
    unsigned GetCastCount() const { return m_castCount; }
    const CastRecord& GetCast(unsigned index) const { return m_casts.at(index); }

    // Reflected, in this order.
    float m_speed = 10.0f;
    float m_chargSpeed = 5.0f; // for the charging walk; the motor does not read it
    float m_accelMaxChange = 25.0f;
    float m_maxFallSpeed = 75.0f;
    float m_slopeLimit = 45.0f; // degrees
    Vec4 m_jumpDir{0.0f, 1.0f, 0.0f, 0.0f};
    float m_gravity = 10.0f;
    float m_jumpHeight = 3.0f;
    float m_snapShotDamping = 0.25f; // for the knock-back shot; the motor does not read it
    float m_airControlPercent = 0.5f;
    float m_stepFactor = 0.25f; // of sphereCollRadius
    float m_ellipseA = 3.5f;
    float m_ellipseB = 5.0f;
    float m_ellipseC = 3.5f;

    // Written by the controller code each frame (y and w 0).
    Vec4 m_moveInput;
    bool m_jumpRequested = false;
    // The player's "FloorBoxSensor", a collider of the same entity, set by the set-up.
    ColliderComponent3D* m_floorSensor = nullptr;

private:
    // One physics ray, counted and kept for the test hook; a miss for a ray that is not finite.
    PhysicsRayCastResult3D Cast(const ZOR::float3& origin, const ZOR::float3& direction, float reach);
    void KnockBack(float dt);
    void Walk(float dt);
    // The distance from the centre to the ellipsoid's surface along the unit direction.
    float EllipsoidRadius(const ZOR::float3& direction) const;
    // Move step 2: whether the floor sensor rests on something level.
    bool FloorContact() const;
    void PlayLanding() const;

    PhysicsSystem3D* m_physics = nullptr;
    RigidBodyComponent3D* m_body = nullptr;
    PlayerDataComponent* m_data = nullptr;
    Vec4 m_previousPosition;
    Vec4 m_velocity;
    Vec4 m_groundNormal;
    float m_baseSpeed = 0.0f;
    float m_baseGravity = 0.0f;
    float m_jumpRequestTime = -100.0f;
    float m_groundTimer = 0.2f;
    float m_groundStickMin = 0.3f;
    bool m_warnedNonFinite = false;
    std::array<CastRecord, kMaxCastsPerUpdate> m_casts{};
    unsigned m_castCount = 0;
};

} // namespace quellor
