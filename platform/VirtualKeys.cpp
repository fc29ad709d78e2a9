#include "platform/VirtualKeys.h"

#include "platform/InputSource.h"

#include <SDL_mouse.h>
#include <SDL_scancode.h>

#include <array>

namespace platform {
namespace {

using Table = std::array<unsigned char, SDL_NUM_SCANCODES>;

constexpr Table BuildTable()
{
    Table t{};
    for (int i = 0; i < 26; ++i)
        t[SDL_SCANCODE_A + i] = static_cast<unsigned char>('A' + i);
    for (int i = 0; i < 9; ++i)
        t[SDL_SCANCODE_1 + i] = static_cast<unsigned char>('1' + i);
    t[SDL_SCANCODE_0] = '0';
    t[SDL_SCANCODE_BACKSPACE] = 8;
    t[SDL_SCANCODE_TAB] = 9;
    t[SDL_SCANCODE_RETURN] = 13;
    t[SDL_SCANCODE_KP_ENTER] = 13;
    t[SDL_SCANCODE_PAUSE] = 19;
    t[SDL_SCANCODE_CAPSLOCK] = 20;
    t[SDL_SCANCODE_ESCAPE] = 27;
    t[SDL_SCANCODE_SPACE] = 32;
    t[SDL_SCANCODE_PAGEUP] = 33;
    t[SDL_SCANCODE_PAGEDOWN] = 34;
    t[SDL_SCANCODE_END] = 35;
    t[SDL_SCANCODE_HOME] = 36;
    t[SDL_SCANCODE_LEFT] = 37;
    t[SDL_SCANCODE_UP] = 38;
    t[SDL_SCANCODE_RIGHT] = 39;
    t[SDL_SCANCODE_DOWN] = 40;
    t[SDL_SCANCODE_INSERT] = 45;
    t[SDL_SCANCODE_DELETE] = 46;
    t[SDL_SCANCODE_LGUI] = 91;
    t[SDL_SCANCODE_RGUI] = 92;
    t[SDL_SCANCODE_KP_0] = 96;
    for (int i = 0; i < 9; ++i)
        t[SDL_SCANCODE_KP_1 + i] = static_cast<unsigned char>(97 + i);
    t[SDL_SCANCODE_KP_MULTIPLY] = 106;
    t[SDL_SCANCODE_KP_PLUS] = 107;
    t[SDL_SCANCODE_KP_MINUS] = 109;
    t[SDL_SCANCODE_KP_PERIOD] = 110;
    t[SDL_SCANCODE_KP_DIVIDE] = 111;
    for (int i = 0; i < 12; ++i)
        t[SDL_SCANCODE_F1 + i] = static_cast<unsigned char>(112 + i);
    t[SDL_SCANCODE_NUMLOCKCLEAR] = 144;
    t[SDL_SCANCODE_SCROLLLOCK] = 145;
    t[SDL_SCANCODE_LSHIFT] = vk::LeftShift;
    t[SDL_SCANCODE_RSHIFT] = vk::RightShift;
    t[SDL_SCANCODE_LCTRL] = vk::LeftControl;
    t[SDL_SCANCODE_RCTRL] = vk::RightControl;
    t[SDL_SCANCODE_LALT] = vk::LeftMenu;
    t[SDL_SCANCODE_RALT] = vk::RightMenu;
    // Punctuation at its US position.
    t[SDL_SCANCODE_SEMICOLON] = 186;
    t[SDL_SCANCODE_EQUALS] = 187;
    t[SDL_SCANCODE_COMMA] = 188;
    t[SDL_SCANCODE_MINUS] = 189;
    t[SDL_SCANCODE_PERIOD] = 190;
    t[SDL_SCANCODE_SLASH] = 191;
    t[SDL_SCANCODE_GRAVE] = 192;
    t[SDL_SCANCODE_LEFTBRACKET] = 219;
    t[SDL_SCANCODE_BACKSLASH] = 220;
    t[SDL_SCANCODE_RIGHTBRACKET] = 221;
    t[SDL_SCANCODE_APOSTROPHE] = 222;
    return t;
}

constexpr Table ScancodeTable = BuildTable();

} // namespace

int VirtualKeyFromScancode(int scancode)
{
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES)
        return 0;
    return ScancodeTable[static_cast<std::size_t>(scancode)];
}

int VirtualKeyFromMouseButton(int button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return vk::LeftButton;
    case SDL_BUTTON_RIGHT: return vk::RightButton;
    case SDL_BUTTON_MIDDLE: return vk::MiddleButton;
    case SDL_BUTTON_X1: return vk::XButton1;
    case SDL_BUTTON_X2: return vk::XButton2;
    default: return 0;
    }
}

} // namespace platform
