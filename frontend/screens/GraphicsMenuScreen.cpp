#include "frontend/screens/GraphicsMenuScreen.h"

#include "engine/Input.h"

#include <array>
#include <vector>

namespace quellor {

namespace {

constexpr int kKeyboard = -1;
constexpr int kBackspace = 8;

struct KeyCodes {
    GraphicsMenuScreen::Key key;
    int keyboard;
    std::vector<int> pad;
};

// In the order the walk tests them.
const std::array<KeyCodes, 5>& Codes()
{
    using Key = GraphicsMenuScreen::Key;
    static const std::array<KeyCodes, 5> codes = {{
        {Key::Down, 40, {1, 21, 25}},
        {Key::Up, 38, {0, 20, 24}},
        {Key::Left, 37, {2, 22, 26}},
        {Key::Right, 39, {3, 23, 27}},
        {Key::Activate, 13, {10}},
    }};
    return codes;
}

} // namespace

GraphicsMenuScreen::GraphicsMenuScreen(std::string name) : MenuScreen(std::move(name)) {}

bool GraphicsMenuScreen::HandleInput(int pad, bool withKeyboard)
{
    const Input* input = GetInput();
    if (!input)
        return false;
    if (withKeyboard && input->KeyIsPressed(kBackspace, kKeyboard)) {
        OnBack();
        return true;
    }
    bool acted = WalkKeys(pad);
    if (withKeyboard)
        acted = WalkKeys(kKeyboard) || acted;
    return acted;
}

bool GraphicsMenuScreen::WalkKeys(int controller)
{
    const Input* input = GetInput();
    bool acted = false;
    for (const KeyCodes& codes : Codes()) {
        // A toggle's animation or a hand-over ends the walk: later presses would act on a
        // screen that is busy or gone.
        if (!IsReady() || HasHandedOver() || IsFinished())
            return acted;
        bool pressed = false;
        if (controller == kKeyboard) {
            pressed = input->KeyIsPressed(codes.keyboard, kKeyboard);
        } else {
            for (int code : codes.pad)
                pressed = pressed || input->KeyIsPressed(code, controller);
        }
        if (pressed) {
            OnKey(codes.key);
            acted = true;
        }
    }
    return acted;
}

} // namespace quellor
