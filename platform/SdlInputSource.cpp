#include "platform/SdlInputSource.h"

#include "platform/NativeWindow.h"
#include "platform/VirtualKeys.h"

#include <SDL.h>

#include <cmath>

namespace platform {

SdlInputSource::SdlInputSource(NativeWindow* window) : m_window(window)
{
    m_eventsUp = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    // Pads are read whatever window has focus, as the pad API the game was made for does; the
    // input system itself decides not to read while the game is in the background. Without
    // this SDL drops pad changes while no window of ours has focus, and a pad could read stale
    // when focus returns.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The watch comes first, so that the arrivals SDL announces for pads already plugged in
    // while its controller subsystem starts are seen too.
    SDL_AddEventWatch(&SdlInputSource::Watch, this);
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0)
        m_padsUp = true;
    else
        m_padError = SDL_GetError();
}

SdlInputSource::~SdlInputSource()
{
    SDL_DelEventWatch(&SdlInputSource::Watch, this);
    for (SDL_GameController*& controller : m_pads) {
        if (controller)
            SDL_GameControllerClose(controller);
        controller = nullptr;
    }
    if (m_padsUp)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (m_eventsUp)
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

void SdlInputSource::SetWindow(NativeWindow* window)
{
    std::lock_guard lock(m_mutex);
    m_window = window;
}

bool SdlInputSource::HasFocus()
{
    SDL_Window* focus = SDL_GetKeyboardFocus();
    std::lock_guard lock(m_mutex);
    if (!m_window)
        return focus != nullptr;
    return focus != nullptr && focus == m_window->GetSDLWindow();
}

int SdlInputSource::Watch(void* self, SDL_Event* event)
{
    static_cast<SdlInputSource*>(self)->OnEvent(*event);
    return 0;
}

void SdlInputSource::OnEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // Repeats change nothing: the key is down already.
        if (event.key.repeat)
            return;
        const int scancode = event.key.keysym.scancode;
        const int code = VirtualKeyFromScancode(scancode);
        if (code == 0)
            return;
        std::lock_guard lock(m_mutex);
        const bool down = event.type == SDL_KEYDOWN;
        m_scancodeDown[static_cast<std::size_t>(scancode)] = down;
        if (down)
            m_pressedSincePoll[static_cast<std::size_t>(code)] = true;
        return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const int code = VirtualKeyFromMouseButton(event.button.button);
        std::lock_guard lock(m_mutex);
        m_cursorX = event.button.x;
        m_cursorY = event.button.y;
        if (code == 0)
            return;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        m_buttonDown[static_cast<std::size_t>(code)] = down;
        if (down)
            m_pressedSincePoll[static_cast<std::size_t>(code)] = true;
        return;
    }
    case SDL_MOUSEMOTION: {
        std::lock_guard lock(m_mutex);
        m_cursorX = event.motion.x;
        m_cursorY = event.motion.y;
        return;
    }
    case SDL_CONTROLLERDEVICEADDED: {
        // "which" is a device index here; the instance id stays valid until the pad goes.
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
        std::lock_guard lock(m_mutex);
        m_deviceChanges.push_back({true, instance});
        return;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        std::lock_guard lock(m_mutex);
        m_deviceChanges.push_back({false, event.cdevice.which});
        return;
    }
    default:
        return;
    }
}

void SdlInputSource::TakeDeviceChanges()
{
    std::deque<DeviceChange> changes;
    {
        std::lock_guard lock(m_mutex);
        changes.swap(m_deviceChanges);
    }
    for (const DeviceChange& change : changes) {
        if (!change.added) {
            for (SDL_GameController*& controller : m_pads) {
                if (controller && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) == change.instance) {
                    SDL_GameControllerClose(controller);
                    controller = nullptr;
                }
            }
            continue;
        }
        // Opened already (announced twice), or gone again before this poll: nothing to do.
        bool open = false;
        for (SDL_GameController* controller : m_pads)
            open = open || (controller && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) == change.instance);
        if (open)
            continue;
        int deviceIndex = -1;
        for (int i = 0, n = SDL_NumJoysticks(); i < n && deviceIndex < 0; ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == change.instance)
                deviceIndex = i;
        if (deviceIndex < 0 || !SDL_IsGameController(deviceIndex))
            continue;
        // The lowest free slot; a fifth pad is not read.
        for (SDL_GameController*& controller : m_pads) {
            if (!controller) {
                controller = SDL_GameControllerOpen(deviceIndex);
                break;
            }
        }
    }
}

PadState SdlInputSource::ReadController(SDL_GameController* controller)
{
    PadState state;
    if (!controller || !SDL_GameControllerGetAttached(controller))
        return state;
    state.connected = true;
    static constexpr std::pair<SDL_GameControllerButton, std::uint16_t> Buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, pad::DPadUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, pad::DPadDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, pad::DPadLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, pad::DPadRight},
        {SDL_CONTROLLER_BUTTON_START, pad::Start},
        {SDL_CONTROLLER_BUTTON_BACK, pad::Back},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, pad::LeftThumb},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, pad::RightThumb},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, pad::LeftShoulder},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, pad::RightShoulder},
        {SDL_CONTROLLER_BUTTON_A, pad::A},
        {SDL_CONTROLLER_BUTTON_B, pad::B},
        {SDL_CONTROLLER_BUTTON_X, pad::X},
        {SDL_CONTROLLER_BUTTON_Y, pad::Y},
    };
    for (const auto& [button, bit] : Buttons)
        if (SDL_GameControllerGetButton(controller, button))
            state.buttons = static_cast<std::uint16_t>(state.buttons | bit);

    auto trigger = [controller](SDL_GameControllerAxis axis) {
        const int v = SDL_GameControllerGetAxis(controller, axis);
        return static_cast<int>(std::lround(static_cast<double>(v < 0 ? 0 : v) * 255.0 / 32767.0));
    };
    // SDL's y axes grow downwards; the pad shape's grow upwards. -(-32768) does not fit.
    auto up = [controller](SDL_GameControllerAxis axis) { return -static_cast<int>(SDL_GameControllerGetAxis(controller, axis)); };
    state.SetAxis(PadAxis::LeftTrigger, trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    state.SetAxis(PadAxis::RightTrigger, trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    state.SetAxis(PadAxis::LeftX, SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
    state.SetAxis(PadAxis::LeftY, up(SDL_CONTROLLER_AXIS_LEFTY));
    state.SetAxis(PadAxis::RightX, SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTX));
    state.SetAxis(PadAxis::RightY, up(SDL_CONTROLLER_AXIS_RIGHTY));
    return state;
}

void SdlInputSource::Poll(InputSnapshot& snapshot)
{
    TakeDeviceChanges();
    {
        std::lock_guard lock(m_mutex);
        snapshot.keys = m_pressedSincePoll;
        m_pressedSincePoll = {};
        for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode)
            if (m_scancodeDown[static_cast<std::size_t>(scancode)])
                snapshot.keys[static_cast<std::size_t>(VirtualKeyFromScancode(scancode))] = true;
        for (int code = 0; code < KeyCount; ++code)
            if (m_buttonDown[static_cast<std::size_t>(code)])
                snapshot.keys[static_cast<std::size_t>(code)] = true;
        snapshot.cursorX = m_cursorX;
        snapshot.cursorY = m_cursorY;
    }
    MergeSidedModifiers(snapshot.keys);
    for (int i = 0; i < PadCount; ++i)
        snapshot.pads[static_cast<std::size_t>(i)] = ReadController(m_pads[static_cast<std::size_t>(i)]);
}

void SdlInputSource::WarpCursor(int x, int y)
{
    NativeWindow* window = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_cursorX = x;
        m_cursorY = y;
        window = m_window;
    }
    SDL_Window* target = window ? window->GetSDLWindow() : SDL_GetMouseFocus();
    if (target)
        SDL_WarpMouseInWindow(target, x, y);
}

} // namespace platform
