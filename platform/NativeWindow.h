#pragma once
#include "platform/Display.h"
#include "platform/WindowMessage.h"

#include <cstdint>
#include <deque>
#include <string>

struct SDL_Window;
union SDL_Event;

namespace platform {

// The game's one window on SDL video: an OpenGL 4.5 core-capable, fixed-size window with its
// event pump. Sizes are client (drawable) sizes.
class NativeWindow {
public:
    // The largest side SDL creates a window with.
    static constexpr std::uint32_t MaxSide = 16384;

    // Creates the window at (x, y) with the given client size, hidden unless show is set. On
    // failure the object exists but IsValid() is false and Error() says why.
    NativeWindow(const std::string& title, int x, int y, std::uint32_t width, std::uint32_t height, bool show);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    bool IsValid() const { return m_window != nullptr; }
    const std::string& Error() const { return m_error; }
    SDL_Window* GetSDLWindow() const { return m_window; }
    std::uint32_t GetId() const;

    void Show();
    void Minimise();
    void Restore();
    bool IsShown() const;
    bool IsFullscreen() const;

    // Windowed client size.
    void SetSize(std::uint32_t width, std::uint32_t height);
    void GetSize(std::uint32_t& width, std::uint32_t& height) const;
    // Top-left corner of the window on the desktop.
    void SetPosition(int x, int y);
    void GetPosition(int& x, int& y) const;
    // Size in pixels of what is drawn into the window.
    void GetDrawableSize(std::uint32_t& width, std::uint32_t& height) const;

    // The mode the window takes while in full screen, and the switch itself. Entering full
    // screen, or a new mode while in it, sizes the window to the mode SDL switches the display to
    // and puts it at the display's corner, with or without a window manager. Leaving keeps the
    // size and place until the caller sets them. False with Error() set when SDL refuses.
    bool SetFullscreenMode(const DisplayModeDesc& mode);
    bool SetFullscreen(bool on);

    // Takes the next message from the queue, pumping SDL's events; false once the queue is empty.
    // Events that are no message (keys, mouse motion, pads) only update SDL's state.
    bool NextMessage(WindowMessage& message);

    // Confines the mouse to the window (a grab) or lets it go.
    void SetMouseGrab(bool on);
    // Shows or hides the mouse cursor (one switch for the process, no display count).
    static void ShowCursor(bool show);
    // Shuts every SDL subsystem down; the last thing the game does.
    static void ShutdownAll();

    // Asks for a Quit message, delivered by NextMessage once the queue is otherwise empty.
    static void PostQuit();

private:
    void Translate(const SDL_Event& event);
    bool EnterFullscreen();

    // The size the window was given when it last went full screen; 0 x 0 while windowed.
    int m_fullscreenWidth = 0;
    int m_fullscreenHeight = 0;

    SDL_Window* m_window = nullptr;
    bool m_videoUp = false;
    std::string m_error;
    std::deque<WindowMessage> m_pending;
};

} // namespace platform
