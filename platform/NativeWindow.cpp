#include "platform/NativeWindow.h"

#include "platform/gpu/DriverResidency.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace platform {
namespace {

// SDL hands out events pushed while a pump is under way only at the next pump; the quit request
// must end the pump that posted it.
std::atomic<bool>& QuitPosted()
{
    static std::atomic<bool> posted{false};
    return posted;
}

} // namespace

NativeWindow::NativeWindow(const std::string& title, int x, int y, std::uint32_t width, std::uint32_t height,
                           bool show)
{
    // Activation alone decides what happens to a full-screen window that loses focus, and
    // closing the window is a message to the owner, not an automatic quit.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        m_error = SDL_GetError();
        return;
    }
    m_videoUp = true;

    // The context created on this window later must be 4.5 core; the window's own framebuffer
    // only receives the presented image, so it needs colour and nothing else.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    const Uint32 flags = SDL_WINDOW_OPENGL | (show ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    m_window = SDL_CreateWindow(title.c_str(), x, y, static_cast<int>(width), static_cast<int>(height), flags);
    if (!m_window)
        m_error = SDL_GetError();
    // An OpenGL window has loaded the driver already.
    gpu::KeepDriverResident();
}

NativeWindow::~NativeWindow()
{
    if (m_window)
        SDL_DestroyWindow(m_window);
    if (m_videoUp)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::uint32_t NativeWindow::GetId() const
{
    return m_window ? SDL_GetWindowID(m_window) : 0;
}

void NativeWindow::Show()
{
    if (m_window)
        SDL_ShowWindow(m_window);
}

void NativeWindow::Minimise()
{
    if (m_window)
        SDL_MinimizeWindow(m_window);
}

void NativeWindow::Restore()
{
    if (m_window)
        SDL_RestoreWindow(m_window);
}

bool NativeWindow::IsShown() const
{
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_SHOWN) != 0;
}

bool NativeWindow::IsFullscreen() const
{
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void NativeWindow::SetSize(std::uint32_t width, std::uint32_t height)
{
    if (m_window)
        SDL_SetWindowSize(m_window, static_cast<int>(width), static_cast<int>(height));
}

void NativeWindow::SetPosition(int x, int y)
{
    if (m_window)
        SDL_SetWindowPosition(m_window, x, y);
}

void NativeWindow::GetPosition(int& x, int& y) const
{
    x = 0;
    y = 0;
    if (m_window)
        SDL_GetWindowPosition(m_window, &x, &y);
}

void NativeWindow::GetSize(std::uint32_t& width, std::uint32_t& height) const
{
    int w = 0, h = 0;
    if (m_window)
        SDL_GetWindowSize(m_window, &w, &h);
    width = static_cast<std::uint32_t>(w > 0 ? w : 0);
    height = static_cast<std::uint32_t>(h > 0 ? h : 0);
}

void NativeWindow::GetDrawableSize(std::uint32_t& width, std::uint32_t& height) const
{
    int w = 0, h = 0;
    if (m_window)
        SDL_GL_GetDrawableSize(m_window, &w, &h);
    width = static_cast<std::uint32_t>(w > 0 ? w : 0);
    height = static_cast<std::uint32_t>(h > 0 ? h : 0);
}

bool NativeWindow::SetFullscreenMode(const DisplayModeDesc& mode)
{
    if (!m_window)
        return false;
    SDL_DisplayMode sdl{};
    sdl.format = mode.pixelFormat;
    sdl.w = static_cast<int>(mode.width);
    sdl.h = static_cast<int>(mode.height);
    sdl.refresh_rate = static_cast<int>(mode.refreshRate);
    if (SDL_SetWindowDisplayMode(m_window, &sdl) != 0) {
        m_error = SDL_GetError();
        return false;
    }
    return IsFullscreen() ? EnterFullscreen() : true;
}

bool NativeWindow::SetFullscreen(bool on)
{
    if (!m_window)
        return false;
    if (on)
        return EnterFullscreen();
    if (SDL_SetWindowFullscreen(m_window, 0) != 0) {
        m_error = SDL_GetError();
        return false;
    }
    m_fullscreenWidth = 0;
    m_fullscreenHeight = 0;
    return true;
}

bool NativeWindow::EnterFullscreen()
{
    // Where no window manager runs, nothing resizes a window that goes full screen: it would keep
    // its windowed size and place on the switched display. So it takes the size of the mode SDL
    // switches to, at the display's corner, while still windowed (SDL moves no full-screen window).
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(m_window, &mode) != 0 && SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        m_error = SDL_GetError();
        return false;
    }
    if (IsFullscreen()) {
        if (mode.w == m_fullscreenWidth && mode.h == m_fullscreenHeight)
            return true;
        if (SDL_SetWindowFullscreen(m_window, 0) != 0) {
            m_error = SDL_GetError();
            return false;
        }
    }
    SDL_Rect bounds{};
    const int display = SDL_GetWindowDisplayIndex(m_window);
    if (display < 0 || SDL_GetDisplayBounds(display, &bounds) != 0)
        bounds = SDL_Rect{};
    SDL_SetWindowSize(m_window, mode.w, mode.h);
    SDL_SetWindowPosition(m_window, bounds.x, bounds.y);
    if (SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN) != 0) {
        m_error = SDL_GetError();
        return false;
    }
    m_fullscreenWidth = mode.w;
    m_fullscreenHeight = mode.h;
    return true;
}

bool NativeWindow::NextMessage(WindowMessage& message)
{
    SDL_Event event;
    while (m_pending.empty()) {
        if (!m_videoUp || SDL_PollEvent(&event) == 0) {
            // A posted quit comes once everything else has been taken, in the same pump.
            if (!QuitPosted().exchange(false))
                return false;
            m_pending.push_back(WindowMessage::Quit());
            break;
        }
        Translate(event);
    }
    message = m_pending.front();
    m_pending.pop_front();
    return true;
}

void NativeWindow::PostQuit()
{
    QuitPosted().store(true);
}

void NativeWindow::Translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        m_pending.push_back(WindowMessage::Quit());
        break;
    case SDL_MOUSEWHEEL: {
        float notches = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        m_pending.push_back(WindowMessage::MouseWheel(static_cast<std::int32_t>(std::lround(notches * 120.0f))));
        break;
    }
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            m_pending.push_back(WindowMessage::Destroy());
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // The window is not high-DPI aware, so its size is its drawable size.
            m_pending.push_back(WindowMessage::Size(static_cast<std::uint32_t>(std::max(event.window.data1, 0)),
                                                    static_cast<std::uint32_t>(std::max(event.window.data2, 0))));
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            m_pending.push_back(WindowMessage::Size(0, 0));
            break;
        case SDL_WINDOWEVENT_RESTORED: {
            std::uint32_t w = 0, h = 0;
            GetSize(w, h);
            m_pending.push_back(WindowMessage::Size(w, h));
            break;
        }
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            m_pending.push_back(WindowMessage::Activate(true));
            m_pending.push_back(WindowMessage::SetFocus());
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            m_pending.push_back(WindowMessage::Activate(false));
            m_pending.push_back(WindowMessage::KillFocus());
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

void NativeWindow::SetMouseGrab(bool on)
{
    if (m_window)
        SDL_SetWindowMouseGrab(m_window, on ? SDL_TRUE : SDL_FALSE);
}

void NativeWindow::ShowCursor(bool show)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void NativeWindow::ShutdownAll()
{
    SDL_Quit();
}

} // namespace platform
