#pragma once
// Moves its entity around a horizontal circle about the place it started from, facing the
// centre: through the rigid body's setters when the entity has a body, else its transform.
#include "engine/Component.h"
#include "gameplay/GameLogicMember.h"
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class OrbitComponent : public Component, public InLogicSlot<LogicSlot::OrbitComponent> {
    QUELLOR_REFLECT_KEYED(OrbitComponent)

    OrbitComponent() = default;
    OrbitComponent(const OrbitComponent&) = delete;
    OrbitComponent& operator=(const OrbitComponent&) = delete;
    ~OrbitComponent() override;

    // Joins the game logic and takes the centre and the start rotation from the transform.
    void Initialize() override;
    void Uninitialize() override;

    // Places the entity at the current angle, then advances the angle by m_speed * dt. A
    // non-finite radius, speed or angle leaves it where it is (one warning).
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    float m_radius = 10.0f;
    float m_speed = 10.0f; // radians per second
    float m_startAngleDeg = 0.0f;

private:
    Vec4 m_centre;
    Quat m_startRotation;
    float m_angle = 0.0f;
    bool m_warnedNotFinite = false;
};

} // namespace quellor
