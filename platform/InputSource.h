#pragma once
// What the engine's input system reads once a frame: the keyboard and mouse by Windows
// virtual-key code, four pads in the XInput state shape and the cursor in window coordinates.
#include <array>
#include <cstdint>

namespace platform {

class NativeWindow;

constexpr int KeyCount = 256;
constexpr int PadCount = 4;

// Virtual-key codes the sources treat specially.
namespace vk {
constexpr int LeftButton = 1, RightButton = 2, MiddleButton = 4, XButton1 = 5, XButton2 = 6;
constexpr int Shift = 16, Control = 17, Menu = 18;
constexpr int LeftShift = 160, RightShift = 161, LeftControl = 162, RightControl = 163, LeftMenu = 164,
              RightMenu = 165;
} // namespace vk

// Button bits of a pad.
namespace pad {
constexpr std::uint16_t DPadUp = 0x0001, DPadDown = 0x0002, DPadLeft = 0x0004, DPadRight = 0x0008;
constexpr std::uint16_t Start = 0x0010, Back = 0x0020, LeftThumb = 0x0040, RightThumb = 0x0080;
constexpr std::uint16_t LeftShoulder = 0x0100, RightShoulder = 0x0200;
constexpr std::uint16_t A = 0x1000, B = 0x2000, X = 0x4000, Y = 0x8000;

// The bit of each pad button code 0 to 13 of the engine's code space.
constexpr std::array<std::uint16_t, 14> CodeBits = {DPadUp, DPadDown, DPadLeft, DPadRight, Start,
                                                    Back, LeftThumb, RightThumb, LeftShoulder, RightShoulder,
                                                    A, B, X, Y};
} // namespace pad

enum class PadAxis : std::uint8_t { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };

// One pad: buttons bitmask, triggers 0..255, sticks -32768..32767 with y up.
struct PadState {
    bool connected = false;
    std::uint16_t buttons = 0;
    std::uint8_t leftTrigger = 0;
    std::uint8_t rightTrigger = 0;
    std::int16_t thumbLX = 0;
    std::int16_t thumbLY = 0;
    std::int16_t thumbRX = 0;
    std::int16_t thumbRY = 0;

    // Sets an axis from a wide value, clamped into that axis's range.
    void SetAxis(PadAxis axis, int value);

    bool operator==(const PadState&) const = default;
};

// What one poll yields.
struct InputSnapshot {
    // Down now, or pressed since the previous poll.
    std::array<bool, KeyCount> keys{};
    std::array<PadState, PadCount> pads{};
    int cursorX = 0;
    int cursorY = 0;
};

// Shift, Ctrl and Alt (16, 17, 18) read down while either side of them does.
void MergeSidedModifiers(std::array<bool, KeyCount>& keys);

class InputSource {
public:
    virtual ~InputSource() = default;

    // The window whose focus, cursor and warp are meant; null for whichever has focus.
    virtual void SetWindow(NativeWindow* window) = 0;
    virtual bool HasFocus() = 0;
    // One poll. A key that went down and up again since the previous poll reads down once.
    virtual void Poll(InputSnapshot& snapshot) = 0;
    // Moves the cursor to window coordinates; the next poll reports it there.
    virtual void WarpCursor(int x, int y) = 0;
};

} // namespace platform
