#pragma once
// What buttons and check boxes share: the press test on the UIComponent of their own entity,
// with the input system and that control looked up on first use and kept.
#include <cstdint>

namespace quellor {

class Component;
class Input;
class UIComponent;

class ControlPress {
public:
    // Enter on the keyboard, or A on pad 0 while pad 0 is connected, this frame, with the
    // control enabled and selected. False without an input system or a control.
    bool Pressed(const Component& owner);

    UIComponent* GetControl() const { return m_control; }

private:
    static constexpr int kEnter = 13;
    static constexpr int kPadA = 10;

    UIComponent* m_control = nullptr;
    Input* m_input = nullptr;
};

} // namespace quellor
