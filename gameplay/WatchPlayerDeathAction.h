#pragma once
// Turns a screen's camera to follow a falling body for a while: the camera stays where it is
// and looks at the body's centre of mass every frame. Cancels itself once the body has gone.
#include "engine/Action.h"
#include "engine/EntityRef.h"

namespace quellor {

class Entity;

class WatchPlayerDeathAction : public Action {
    QUELLOR_REFLECT(WatchPlayerDeathAction)

    // A negative screen is screen 0.
    WatchPlayerDeathAction(Entity* body, float duration, int screen);
    ~WatchPlayerDeathAction() override;

    void Update(float dt) override;

    float GetTimeLeft() const { return m_timeLeft; }
    int GetScreen() const { return m_screen; }

private:
    float m_timeLeft;
    EntityRef m_body;
    int m_screen;
};

} // namespace quellor
