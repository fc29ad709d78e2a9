#pragma once
// An action that finishes once its duration has passed, counted from its start frame.
#include "engine/Action.h"

namespace quellor {

class Wait : public Action {
public:
    explicit Wait(float seconds);
    ~Wait() override;

    void Update(float dt) override;

private:
    float m_duration;
    float m_remaining; // lowest float until the first update loads the duration
};

} // namespace quellor
