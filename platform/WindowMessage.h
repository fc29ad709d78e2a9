#pragma once
#include <cstdint>

namespace platform {

// What the event pump reports about the window. Keys, the mouse and pads are read from SDL's
// state instead, so only what the window's owner must react to arrives here.
struct WindowMessage {
    enum class Type : std::uint8_t {
        Destroy,    // the user asked to close the window
        Size,       // new drawable size; (0, 0) while minimised
        Activate,   // the window came to the front (active) or left it
        SetFocus,   // keyboard focus gained
        KillFocus,  // keyboard focus lost
        MouseWheel, // wheel turned: delta in 1/120 of a notch, positive away from the user
        Quit,       // the application should end its loop
    };

    Type type = Type::Quit;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool active = false;
    std::int32_t delta = 0;

    static WindowMessage Destroy() { return WindowMessage{Type::Destroy}; }
    static WindowMessage Size(std::uint32_t w, std::uint32_t h) { return WindowMessage{Type::Size, w, h}; }
    static WindowMessage Activate(bool on) { return WindowMessage{Type::Activate, 0, 0, on}; }
    static WindowMessage SetFocus() { return WindowMessage{Type::SetFocus}; }
    static WindowMessage KillFocus() { return WindowMessage{Type::KillFocus}; }
    static WindowMessage MouseWheel(std::int32_t d) { return WindowMessage{Type::MouseWheel, 0, 0, false, d}; }
    static WindowMessage Quit() { return WindowMessage{Type::Quit}; }

    bool operator==(const WindowMessage&) const = default;
};

} // namespace platform
