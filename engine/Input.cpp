#include "engine/Input.h"

#include "engine/Engine.h"
#include "engine/SoundSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "renderer/Window.h"

#include <cmath>

namespace quellor {
namespace {

constexpr int RightTriggerCode = 14;
constexpr int LeftTriggerCode = 15;
constexpr int FirstStickCode = 20;
constexpr int LastStickCode = 27;

platform::NativeWindow* RendererWindow()
{
    ZOR::Window* window = ZOR::Window::Instance();
    return window ? window->GetHWND() : nullptr;
}

} // namespace

QUELLOR_RECORD(Input, System, DerivedMetaNotPODNoCopy, NoID)
{
    reg.Method("KeyIsPressed", static_cast<bool (Input::*)(KeyCode, int) const>(&Input::KeyIsPressed));
    reg.Method("KeyIsDown", static_cast<bool (Input::*)(KeyCode, int) const>(&Input::KeyIsDown));
    reg.Method(QL_METHOD(GetMousePosition));
    reg.Method(QL_METHOD(GetLeftJoyStickX));
    reg.Method(QL_METHOD(GetLeftJoyStickY));
    reg.Method(QL_METHOD(GetRightJoyStickX));
    reg.Method(QL_METHOD(GetRightJoyStickY));
    reg.Method(QL_METHOD(GetRightTrigger));
    reg.Method(QL_METHOD(GetLeftTrigger));
}

Input::Input(std::shared_ptr<platform::InputSource> source)
{
    SetInputSource(std::move(source));
}

Input::~Input() = default;

void Input::SetInputSource(std::shared_ptr<platform::InputSource> source)
{
    m_source = std::move(source);
    if (m_source)
        m_source->SetWindow(m_window ? m_window : RendererWindow());
}

void Input::SetWindowHandle(platform::NativeWindow* window)
{
    m_window = window;
    if (m_source)
        m_source->SetWindow(m_window ? m_window : RendererWindow());
}

void Input::SetCursorBounds(float minX, float minY, float maxX, float maxY, bool wrap)
{
    m_minX = minX;
    m_minY = minY;
    m_maxX = maxX;
    m_maxY = maxY;
    m_wrap = wrap;
}

void Input::Initialize()
{
    m_keys = {};
    m_prevKeys = {};
    m_codes = {};
    m_prevCodes = {};
    m_stick = {};
    m_prevStick = {};
    m_connected = {};
    m_wasConnected = {};
    if (m_source)
        m_source->SetWindow(m_window ? m_window : RendererWindow());
}

void Input::Freeze()
{
    // Every state keeps its value, but nothing reads as newly pressed or released: the last
    // frame's edges must not act again in every frame without focus.
    m_prevKeys = m_keys;
    m_prevCodes = m_codes;
    m_prevStick = m_stick;
    m_typed.clear();
    m_prevMouse = m_mouse;
}

void Input::Update(float)
{
    if (!m_source || !m_source->HasFocus()) {
        Freeze();
        return;
    }
    platform::InputSnapshot snapshot;
    m_source->Poll(snapshot);

    PollGamepads(snapshot);

    m_typed.clear();
    for (int key = 0; key < platform::KeyCount; ++key) {
        auto& now = m_keys[static_cast<std::size_t>(key)];
        auto& before = m_prevKeys[static_cast<std::size_t>(key)];
        before = now;
        now = snapshot.keys[static_cast<std::size_t>(key)] ? 1 : 0;
        if (key >= 'A' && key <= 'Z' && before == 0 && now != 0)
            m_typed += static_cast<char>(key);
    }

    for (int pad = 0; pad < platform::PadCount; ++pad) {
        auto& stick = m_stick[static_cast<std::size_t>(pad)];
        m_prevStick[static_cast<std::size_t>(pad)] = stick;
        const float lx = GetLeftJoyStickX(pad), ly = GetLeftJoyStickY(pad);
        const float rx = GetRightJoyStickX(pad), ry = GetRightJoyStickY(pad);
        stick = {ly >= StickDirection, ly <= -StickDirection, lx <= -StickDirection, lx >= StickDirection,
                 ry >= StickDirection, ry <= -StickDirection, rx <= -StickDirection, rx >= StickDirection};
    }

    float x = static_cast<float>(snapshot.cursorX);
    float y = static_cast<float>(snapshot.cursorY);
    if (m_wrap) {
        bool wrapped = false;
        if (x < m_minX) {
            x = m_maxX;
            wrapped = true;
        } else if (x > m_maxX) {
            x = m_minX;
            wrapped = true;
        }
        if (y < m_minY) {
            y = m_maxY;
            wrapped = true;
        } else if (y > m_maxY) {
            y = m_minY;
            wrapped = true;
        }
        if (wrapped)
            m_source->WarpCursor(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    }
    m_prevMouse = m_mouse;
    m_mouse = Vec2(x, y);
}

void Input::PollGamepads(const platform::InputSnapshot& snapshot)
{
    for (int pad = 0; pad < platform::PadCount; ++pad) {
        const auto p = static_cast<std::size_t>(pad);
        const platform::PadState& state = snapshot.pads[p];
        m_padState[p] = state.connected ? state : platform::PadState{};
        m_wasConnected[p] = m_connected[p];
        // A pad that does not answer keeps its codes; they stop reading as new edges.
        m_prevCodes[p] = m_codes[p];
        if (!state.connected) {
            m_connected[p] = false;
            if (m_wasConnected[p])
                m_onPadDisconnected.Emit(pad);
            continue;
        }
        m_connected[p] = true;
        auto& codes = m_codes[p];
        for (std::size_t code = 0; code < platform::pad::CodeBits.size(); ++code)
            codes[code] = state.buttons & platform::pad::CodeBits[code];
        codes[RightTriggerCode] = state.rightTrigger >= TriggerThreshold ? 1 : 0;
        if (codes[RightTriggerCode])
            m_rightTrigger[p] = state.rightTrigger;
        codes[LeftTriggerCode] = state.leftTrigger >= TriggerThreshold ? 1 : 0;
        if (codes[LeftTriggerCode])
            m_leftTrigger[p] = state.leftTrigger;
        if (!m_wasConnected[p])
            m_onPadConnected.Emit(pad);
    }
}

Input::Table Input::Lookup(int key, int pad)
{
    if (pad == -1)
        return key >= 0 && key < platform::KeyCount ? Table::Keyboard : Table::None;
    if (!ValidPad(pad) || key < 0 || key > LastStickCode)
        return Table::None;
    if (key < PadCodeCount)
        return Table::PadCode;
    if (key >= FirstStickCode)
        return Table::StickDirection;
    return Table::Keyboard; // 16..19 are no pad codes
}

bool Input::Now(int key, int pad) const
{
    switch (Lookup(key, pad)) {
    case Table::Keyboard: return m_keys[static_cast<std::size_t>(key)] != 0;
    case Table::PadCode: return m_codes[static_cast<std::size_t>(pad)][static_cast<std::size_t>(key)] != 0;
    case Table::StickDirection:
        return m_stick[static_cast<std::size_t>(pad)][static_cast<std::size_t>(key - FirstStickCode)];
    case Table::None: break;
    }
    return false;
}

bool Input::Before(int key, int pad) const
{
    switch (Lookup(key, pad)) {
    case Table::Keyboard: return m_prevKeys[static_cast<std::size_t>(key)] != 0;
    case Table::PadCode: return m_prevCodes[static_cast<std::size_t>(pad)][static_cast<std::size_t>(key)] != 0;
    case Table::StickDirection:
        return m_prevStick[static_cast<std::size_t>(pad)][static_cast<std::size_t>(key - FirstStickCode)];
    case Table::None: break;
    }
    return false;
}

bool Input::KeyIsDown(int key, int pad) const
{
    return Now(key, pad);
}

bool Input::KeyIsPressed(int key, int pad) const
{
    return Now(key, pad) && !Before(key, pad);
}

bool Input::KeyIsReleased(int key, int pad) const
{
    return !Now(key, pad) && Before(key, pad);
}

float Input::Stick(int pad, std::int16_t value)
{
    if (!ValidPad(pad) || (value > -DeadZone && value < DeadZone))
        return 0.0f;
    return static_cast<float>(value) * StickScale;
}

float Input::GetLeftJoyStickX(int pad) const
{
    return ValidPad(pad) ? Stick(pad, m_padState[static_cast<std::size_t>(pad)].thumbLX) : 0.0f;
}

float Input::GetLeftJoyStickY(int pad) const
{
    return ValidPad(pad) ? Stick(pad, m_padState[static_cast<std::size_t>(pad)].thumbLY) : 0.0f;
}

float Input::GetRightJoyStickX(int pad) const
{
    return ValidPad(pad) ? Stick(pad, m_padState[static_cast<std::size_t>(pad)].thumbRX) : 0.0f;
}

float Input::GetRightJoyStickY(int pad) const
{
    return ValidPad(pad) ? Stick(pad, m_padState[static_cast<std::size_t>(pad)].thumbRY) : 0.0f;
}

float Input::GetLeftJoyStickXRaw(int pad) const
{
    return ValidPad(pad) ? m_padState[static_cast<std::size_t>(pad)].thumbLX * StickScale : 0.0f;
}

float Input::GetLeftJoyStickYRaw(int pad) const
{
    return ValidPad(pad) ? m_padState[static_cast<std::size_t>(pad)].thumbLY * StickScale : 0.0f;
}

float Input::GetRightJoyStickXRaw(int pad) const
{
    return ValidPad(pad) ? m_padState[static_cast<std::size_t>(pad)].thumbRX * StickScale : 0.0f;
}

float Input::GetRightJoyStickYRaw(int pad) const
{
    return ValidPad(pad) ? m_padState[static_cast<std::size_t>(pad)].thumbRY * StickScale : 0.0f;
}

int Input::GetRightTrigger(int pad) const
{
    if (!ValidPad(pad) || !m_connected[static_cast<std::size_t>(pad)] || !KeyIsDown(RightTriggerCode, pad))
        return 0;
    return m_rightTrigger[static_cast<std::size_t>(pad)];
}

int Input::GetLeftTrigger(int pad) const
{
    if (!ValidPad(pad) || !m_connected[static_cast<std::size_t>(pad)] || !KeyIsDown(LeftTriggerCode, pad))
        return 0;
    return m_leftTrigger[static_cast<std::size_t>(pad)];
}

bool Input::RightTriggerIsReleased(int pad) const
{
    return KeyIsReleased(RightTriggerCode, pad);
}

bool Input::IsConnected(int pad) const
{
    return ValidPad(pad) && m_connected[static_cast<std::size_t>(pad)];
}

void Input::WindowMessage(const platform::WindowMessage& message)
{
    using Type = platform::WindowMessage::Type;
    // The hook is installed before the engine exists: it must neither make one nor need one.
    SoundSystem* sound =
        message.type == Type::KillFocus || message.type == Type::SetFocus ? DefaultSystem<SoundSystem>() : nullptr;
    if (sound && message.type == Type::KillFocus) {
        sound->PauseAll();
        sound->SetSuspended(true);
        sound->PauseSong("theme_gameplay.ogg", SoundSystem::SongTable);
        sound->PauseSong("theme_menu.ogg", SoundSystem::SongTable);
    } else if (sound && message.type == Type::SetFocus) {
        sound->SetSuspended(false);
        sound->ResumeAll();
        if (!sound->IsMuteAll() && !sound->IsMuteMusic()) {
            sound->ResumeSong("theme_gameplay.ogg", SoundSystem::SongTable);
            sound->ResumeSong("theme_menu.ogg", SoundSystem::SongTable);
        }
    }
    ZOR::Window::DefaultMessageHandler(message);
}

} // namespace quellor
