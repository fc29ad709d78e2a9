#pragma once
// The input system: reads the keyboard, the mouse and four pads once a frame, first of all
// systems, and answers in one code space. Controller -1 is the keyboard and mouse (Windows
// virtual-key codes 0..255); controllers 0..3 are pads: codes 0..13 buttons, 14 and 15 the
// right and left trigger pressed, 20..23 and 24..27 the left and right stick pushed up, down,
// left, right. It also holds the window-message hook that pauses sound while the window is
// in the background.
#include "engine/Signal.h"
#include "engine/System.h"
#include "engine/reflection/BuiltinTypes.h"
#include "engine/reflection/Reflected.h"
#include "engine/reflection/Vec2.h"
#include "platform/InputSource.h"
#include "platform/WindowMessage.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class NativeWindow;
}

namespace quellor {

// The key-code argument of the input queries as level and action data call them by name.
enum class KeyCode : std::int32_t {};
QUELLOR_BUILTIN_ENUM(KeyCode, Code)

class Input : public System {
    // Its ID keys the system in its space; the record itself registers no "ID".
    QUELLOR_REFLECT_KEYED(Input)
public:
    // Stick values inside ±DeadZone read 0; the others are scaled by StickScale (1/32767).
    static constexpr int DeadZone = 15698;
    static constexpr float StickScale = 3.051851e-5f;
    // A stick pushed this far counts as a direction; a trigger this far counts as pressed.
    static constexpr float StickDirection = 0.75f;
    static constexpr int TriggerThreshold = 31;

    // Without a source nothing is ever read, as if the window never had focus.
    explicit Input(std::shared_ptr<platform::InputSource> source = nullptr);
    ~Input() override;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    void SetInputSource(std::shared_ptr<platform::InputSource> source);
    platform::InputSource* GetInputSource() const { return m_source.get(); }

    void Update(float dt) override;
    void Initialize() override;

    bool KeyIsDown(int key, int pad) const;
    bool KeyIsPressed(int key, int pad) const;
    bool KeyIsDown(KeyCode key, int pad) const { return KeyIsDown(static_cast<int>(key), pad); }
    bool KeyIsPressed(KeyCode key, int pad) const { return KeyIsPressed(static_cast<int>(key), pad); }
    bool KeyIsReleased(int key, int pad) const;

    float GetLeftJoyStickX(int pad) const;
    float GetLeftJoyStickY(int pad) const;
    float GetRightJoyStickX(int pad) const;
    float GetRightJoyStickY(int pad) const;
    float GetLeftJoyStickXRaw(int pad) const;
    float GetLeftJoyStickYRaw(int pad) const;
    float GetRightJoyStickXRaw(int pad) const;
    float GetRightJoyStickYRaw(int pad) const;

    int GetRightTrigger(int pad) const;
    int GetLeftTrigger(int pad) const;
    bool RightTriggerIsReleased(int pad) const;

    // Whether the pad answered the last poll.
    bool IsConnected(int pad) const;

    // Cursor in window coordinates, and its move since the previous poll.
    Vec2 GetMousePosition() const { return m_mouse; }
    Vec2 GetMouseDelta() const { return Vec2(m_mouse.x - m_prevMouse.x, m_mouse.y - m_prevMouse.y); }

    // The letters typed in this frame.
    const std::string& GetTypedText() const { return m_typed; }

    // The window whose cursor is read; without one, the renderer's window.
    void SetWindowHandle(platform::NativeWindow* window);

    // Set by the entry point every frame: while wrapping, a cursor outside the bounds (window
    // coordinates) is moved to the opposite edge.
    void SetCursorBounds(float minX, float minY, float maxX, float maxY, bool wrap);

    // The window-message hook: focus lost pauses every effect and both themes and suspends
    // sound; focus gained resumes them unless muted. Then the renderer's default handling.
    static void WindowMessage(const platform::WindowMessage& message);

    // Emitted with the pad number when a pad starts or stops answering.
    Signal<int> m_onPadConnected;
    Signal<int> m_onPadDisconnected;

    // 0 to 3; -1 (the keyboard) and the rest are no pad.
    static bool ValidPad(int pad) { return pad >= 0 && pad < platform::PadCount; }

private:
    static constexpr int PadCodeCount = 16;
    static constexpr int StickDirections = 8;

    static float Stick(int pad, std::int16_t value);
    // Which of three state tables a (key, pad) pair reads; false for codes outside them.
    enum class Table { None, Keyboard, PadCode, StickDirection };
    static Table Lookup(int key, int pad);
    bool Now(int key, int pad) const;
    bool Before(int key, int pad) const;

    void PollGamepads(const platform::InputSnapshot& snapshot);
    void Freeze();

    std::shared_ptr<platform::InputSource> m_source;
    platform::NativeWindow* m_window = nullptr;

    std::array<std::int32_t, platform::KeyCount> m_keys{};
    std::array<std::int32_t, platform::KeyCount> m_prevKeys{};
    std::array<platform::PadState, platform::PadCount> m_padState{};
    std::array<bool, platform::PadCount> m_connected{};
    std::array<bool, platform::PadCount> m_wasConnected{};
    std::array<std::array<std::int32_t, PadCodeCount>, platform::PadCount> m_codes{};
    std::array<std::array<std::int32_t, PadCodeCount>, platform::PadCount> m_prevCodes{};
    std::array<int, platform::PadCount> m_rightTrigger{};
    std::array<int, platform::PadCount> m_leftTrigger{};
    std::array<std::array<bool, StickDirections>, platform::PadCount> m_stick{};
    std::array<std::array<bool, StickDirections>, platform::PadCount> m_prevStick{};
    std::string m_typed;
    Vec2 m_mouse;
    Vec2 m_prevMouse;
    float m_minX = 0.0f;
    float m_minY = 0.0f;
    float m_maxX = 0.0f;
    float m_maxY = 0.0f;
    bool m_wrap = false;
};

} // namespace quellor
