#pragma once
// An input source driven by tests and scripted runs, frame by frame: keys, pads, focus and the
// cursor are set by hand and read back by the next poll. Cursor warps are recorded.
#include "platform/InputSource.h"

#include <utility>
#include <vector>

namespace platform {

class ScriptedInputSource final : public InputSource {
public:
    ScriptedInputSource() = default;

    void SetWindow(NativeWindow* window) override { m_window = window; }
    NativeWindow* GetWindow() const { return m_window; }

    void SetFocus(bool focused) { m_focused = focused; }
    bool HasFocus() override { return m_focused; }

    // Holds or releases a key (virtual-key code 0..255; others are ignored).
    void SetKey(int code, bool down);
    // Presses and releases a key before the next poll.
    void TapKey(int code);

    // Plugs a pad in (keeping the state it had) or pulls it out; pads outside 0..3 are ignored.
    void SetPadConnected(int pad, bool connected);
    // Holds or releases a pad button by its code 0..13 (d-pad, Start, Back, stick presses,
    // shoulders, A, B, X, Y); plugs the pad in.
    void SetPadButton(int pad, int code, bool down);
    // Sets a stick (-32768..32767, y up) or trigger (0..255) axis, clamped; plugs the pad in.
    void SetPadAxis(int pad, PadAxis axis, int value);
    // The whole state of a pad, connected flag included.
    void SetPad(int pad, const PadState& state);
    const PadState& GetPad(int pad) const { return m_pads.at(static_cast<std::size_t>(pad)); }

    void SetCursor(int x, int y);
    int GetCursorX() const { return m_cursorX; }
    int GetCursorY() const { return m_cursorY; }
    // Every warp asked for, in order.
    const std::vector<std::pair<int, int>>& GetWarps() const { return m_warps; }

    void Poll(InputSnapshot& snapshot) override;
    void WarpCursor(int x, int y) override;

    // How many polls were taken.
    unsigned GetPollCount() const { return m_polls; }

private:
    static bool ValidPad(int pad) { return pad >= 0 && pad < PadCount; }

    NativeWindow* m_window = nullptr;
    bool m_focused = true;
    std::array<bool, KeyCount> m_down{};
    std::array<bool, KeyCount> m_pressedSincePoll{};
    std::array<PadState, PadCount> m_pads{};
    int m_cursorX = 0;
    int m_cursorY = 0;
    std::vector<std::pair<int, int>> m_warps;
    unsigned m_polls = 0;
};

} // namespace platform
