#pragma once
#include "platform/WindowMessage.h"
#include "renderer/math/Dimension.h"

#include <functional>
#include <memory>
#include <string>

namespace platform {
class NativeWindow;
}

namespace ZOR {

// The renderer's window: one centred window of a given client size, its message pump, and the
// default handling that passes size and activation changes to the render context.
class Window {
public:
    using MessageHandler = std::function<void(const platform::WindowMessage&)>;

    // Creates the window centred on the desktop, each side limited to 1..NativeWindow::MaxSide.
    // When the platform refuses, the failure is logged and the window is not alive, so a frame
    // loop on IsAlive() ends at once.
    Window(const std::string& title, const Dimension& clientSize, bool show);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The first window constructed while there was none; null after a window is destroyed.
    static Window* Instance();

    // The platform window, null when creation failed.
    platform::NativeWindow* const& GetHWND() const { return m_window; }

    bool IsAlive() const { return m_alive; }
    void Kill() { m_alive = false; }

    // Hands every queued message to the message handler; a Quit message ends the window's life
    // (the rest of the queue is still drained).
    void Update();

    // Replaces the handler. The replacement is expected to end by calling DefaultMessageHandler.
    // An empty handler is refused with "Failed to change the message handler." on standard output.
    void SetMessageHandler(const MessageHandler& handler);

    // Destroy asks the application to quit; Size and Activate go to the render context, if any.
    static void DefaultMessageHandler(const platform::WindowMessage& message);

    static unsigned GetDesktopWidth();
    static unsigned GetDesktopHeight();

    // Top-left corner that centres a client area of this size: desktop / 2 - size / 2, each half
    // rounded down.
    static void CentredPosition(int desktopWidth, int desktopHeight, const Dimension& clientSize, int& x, int& y);
    // Gives a window this client size, centred on the desktop as above. False, with the failure
    // logged, when the desktop cannot be read (the window is then left as it is).
    static bool PlaceCentred(platform::NativeWindow& window, const Dimension& clientSize);

private:
    platform::NativeWindow* m_window = nullptr;
    std::unique_ptr<platform::NativeWindow> m_owned;
    bool m_alive = true;
    MessageHandler m_handler;
};

} // namespace ZOR
