#include "platform/ScriptedInputSource.h"

namespace platform {

void ScriptedInputSource::SetKey(int code, bool down)
{
    if (code < 0 || code >= KeyCount)
        return;
    m_down[static_cast<std::size_t>(code)] = down;
    if (down)
        m_pressedSincePoll[static_cast<std::size_t>(code)] = true;
}

void ScriptedInputSource::TapKey(int code)
{
    SetKey(code, true);
    SetKey(code, false);
}

void ScriptedInputSource::SetPadConnected(int pad, bool connected)
{
    if (ValidPad(pad))
        m_pads[static_cast<std::size_t>(pad)].connected = connected;
}

void ScriptedInputSource::SetPadButton(int pad, int code, bool down)
{
    if (!ValidPad(pad) || code < 0 || code >= static_cast<int>(pad::CodeBits.size()))
        return;
    PadState& state = m_pads[static_cast<std::size_t>(pad)];
    const std::uint16_t bit = pad::CodeBits[static_cast<std::size_t>(code)];
    state.buttons = static_cast<std::uint16_t>(down ? (state.buttons | bit) : (state.buttons & ~bit));
    state.connected = true;
}

void ScriptedInputSource::SetPadAxis(int pad, PadAxis axis, int value)
{
    if (!ValidPad(pad))
        return;
    PadState& state = m_pads[static_cast<std::size_t>(pad)];
    state.SetAxis(axis, value);
    state.connected = true;
}

void ScriptedInputSource::SetPad(int pad, const PadState& state)
{
    if (ValidPad(pad))
        m_pads[static_cast<std::size_t>(pad)] = state;
}

void ScriptedInputSource::SetCursor(int x, int y)
{
    m_cursorX = x;
    m_cursorY = y;
}

void ScriptedInputSource::Poll(InputSnapshot& snapshot)
{
    ++m_polls;
    for (std::size_t i = 0; i < m_down.size(); ++i)
        snapshot.keys[i] = m_down[i] || m_pressedSincePoll[i];
    m_pressedSincePoll = {};
    MergeSidedModifiers(snapshot.keys);
    for (std::size_t i = 0; i < m_pads.size(); ++i)
        snapshot.pads[i] = m_pads[i].connected ? m_pads[i] : PadState{};
    snapshot.cursorX = m_cursorX;
    snapshot.cursorY = m_cursorY;
}

void ScriptedInputSource::WarpCursor(int x, int y)
{
    m_warps.emplace_back(x, y);
    SetCursor(x, y);
}

} // namespace platform
