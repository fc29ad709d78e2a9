#pragma once
// Makes a level prop bob and drift: each axis moves back and forth at a constant speed around
// the place the entity had when the component first ran, turning every m_<axis>Duration
// seconds. Through the rigid body when the entity has one, else through its transform.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/GameLogicMember.h"

namespace quellor {

class FloatComponent : public Component, public InLogicSlot<LogicSlot::FloatComponent> {
    QUELLOR_REFLECT_KEYED(FloatComponent)

    FloatComponent() = default;
    FloatComponent(const FloatComponent&) = delete;
    FloatComponent& operator=(const FloatComponent&) = delete;
    ~FloatComponent() override;

    void Initialize() override;
    void Uninitialize() override;

    // A place that is not a number is not written (one warning).
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    const Vec4& GetOffset() const { return m_offset; }

    // Reflected, in this order.
    float m_xDuration = 3.0f;
    float m_xSpeed = 2.0f;
    float m_yDuration = 3.0f;
    float m_ySpeed = 4.0f;
    float m_zDuration = 3.0f;
    float m_zSpeed = 2.0f;

private:
    // One axis's turn: the direction and the seconds until it flips.
    struct Axis {
        bool positive = true;
        float timer = 0.0f;
        // The distance moved this step.
        float Step(float dt, float duration, float speed);
    };

    Vec4 m_origin;
    Vec4 m_offset{0.0f, 0.0f, 0.0f, 0.0f};
    Axis m_x;
    Axis m_y;
    Axis m_z;
    bool m_captureOrigin = true;
    bool m_warnedNotFinite = false;
};

} // namespace quellor
