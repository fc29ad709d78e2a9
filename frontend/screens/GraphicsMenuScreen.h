#pragma once
// What the two graphics option screens share: their keys (four directions and activate on the
// keyboard and every pad, Backspace on the keyboard only to leave), their walk, in which every
// press found acts (Backspace; pad 0; the keyboard; pads 1 to 3; each down, up, left, right,
// activate) until the screen hands over or an animation clears the ready flag, and the save of
// config.ini after each change.
#include "frontend/screens/MenuScreen.h"

namespace quellor {

class GraphicsMenuScreen : public MenuScreen {
public:
    enum class Key { Down, Up, Left, Right, Activate };

protected:
    explicit GraphicsMenuScreen(std::string name);

    bool HandleInput(int pad, bool withKeyboard) override;
    bool WalksOnAfterAction() const override { return true; }

    // One press found in the walk.
    virtual void OnKey(Key key) = 0;
    // Backspace on the keyboard.
    virtual void OnBack() = 0;

private:
    bool WalkKeys(int controller);
};

} // namespace quellor
