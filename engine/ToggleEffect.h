#pragma once
// An action that switches a render effect on one screen (or on all four with screen -1) the
// other way, through the "GraphicsSystem" of its own space, and finishes when it starts.
// Without a graphics system it just finishes.
#include "engine/Action.h"

namespace quellor {

class ToggleEffect : public Action {
public:
    ToggleEffect(int effect, int screen);
    ~ToggleEffect() override;

    void Update(float dt) override;
    virtual void Start();

private:
    int m_effect;
    int m_screen;
};

} // namespace quellor
