#pragma once
// The input source on SDL2. Keys, mouse buttons, cursor motion and game-controller arrivals
// and removals are followed through an SDL event watch, so a key that goes down and up between
// two polls still reads down in the next one. The window's event pump delivers them.
#include "platform/InputSource.h"

#include <SDL_events.h>
#include <SDL_gamecontroller.h>

#include <array>
#include <deque>
#include <mutex>
#include <string>

namespace platform {

class SdlInputSource final : public InputSource {
public:
    // Starts SDL's game-controller subsystem; without it keys and the mouse still work.
    explicit SdlInputSource(NativeWindow* window = nullptr);
    ~SdlInputSource() override;
    SdlInputSource(const SdlInputSource&) = delete;
    SdlInputSource& operator=(const SdlInputSource&) = delete;

    void SetWindow(NativeWindow* window) override;
    bool HasFocus() override;
    void Poll(InputSnapshot& snapshot) override;
    void WarpCursor(int x, int y) override;

    // Whether pads can be read, and why not.
    bool PadsAvailable() const { return m_padsUp; }
    const std::string& PadError() const { return m_padError; }

    // An SDL game controller's state in the XInput shape: sticks with y up, triggers 0..255.
    static PadState ReadController(SDL_GameController* controller);

private:
    static int Watch(void* self, SDL_Event* event);
    void OnEvent(const SDL_Event& event);
    void TakeDeviceChanges();

    struct DeviceChange {
        bool added = false;
        SDL_JoystickID instance = -1;
    };

    std::mutex m_mutex; // events may be pushed from any thread
    NativeWindow* m_window = nullptr;
    std::array<bool, SDL_NUM_SCANCODES> m_scancodeDown{};
    std::array<bool, KeyCount> m_buttonDown{}; // mouse buttons by virtual-key code
    std::array<bool, KeyCount> m_pressedSincePoll{};
    int m_cursorX = 0;
    int m_cursorY = 0;
    std::deque<DeviceChange> m_deviceChanges;
    std::array<SDL_GameController*, PadCount> m_pads{};
    bool m_padsUp = false;
    bool m_eventsUp = false;
    std::string m_padError;
};

} // namespace platform
