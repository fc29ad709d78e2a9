#pragma once
// Glides a screen's camera toward another player's view: every frame the camera moves a share
// of the way to the camera of the target's screen and looks along the target's view. Cancels
// itself once the target has gone or has no third-person camera (a computer player).
#include "engine/Action.h"
#include "engine/EntityRef.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class Entity;

class FollowEntityAction : public Action {
    QUELLOR_REFLECT(FollowEntityAction)

    // The glide's share is a fixed 5.0 per second; the rate is kept, not used.
    static constexpr float kFollowRate = 5.0f;

    // A negative screen is screen 0.
    FollowEntityAction(Entity* target, int screen, float duration, float rate);
    ~FollowEntityAction() override;

    void Update(float dt) override;

    float GetTimeLeft() const { return m_timeLeft; }
    float GetRate() const { return m_rate; }
    int GetScreen() const { return m_screen; }
    const Vec4& GetFollowPosition() const { return m_followPosition; }

private:
    // The glide starts from where the screen's camera is.
    void Start();
    void Cancelled() {}

    float m_timeLeft;
    EntityRef m_target;
    float m_rate;
    int m_screen;
    Vec4 m_followPosition;
};

} // namespace quellor
