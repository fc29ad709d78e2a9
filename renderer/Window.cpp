#include "renderer/Window.h"

#include "platform/Display.h"
#include "platform/NativeWindow.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace ZOR {
namespace {

Window*& Singleton()
{
    static Window* singleton = nullptr;
    return singleton;
}

platform::DisplayModeDesc Desktop()
{
    platform::DisplayModeDesc desktop;
    std::string error;
    if (!platform::Display::Current().GetDesktopMode(desktop, error))
        return {};
    return desktop;
}

} // namespace

Window::Window(const std::string& title, const Dimension& requestedSize, bool show)
    : m_handler(&Window::DefaultMessageHandler)
{
    // A configured size the platform cannot make (0, or beyond its largest side) still opens a
    // window; the render context picks the display mode on its own.
    const Dimension clientSize(std::clamp<std::uint32_t>(requestedSize.width, 1, platform::NativeWindow::MaxSide),
                               std::clamp<std::uint32_t>(requestedSize.height, 1, platform::NativeWindow::MaxSide));
    // The window opens before the desktop is read, hidden, and is placed after: a display
    // connection opened and closed before it would, on an X server with no other client, be the
    // last one to leave, and the server resets then; the window's own connection, made during
    // that reset, is refused ("x11 not available").
    m_owned = std::make_unique<platform::NativeWindow>(title, 0, 0, clientSize.width, clientSize.height, false);
    if (m_owned->IsValid()) {
        m_window = m_owned.get();
        int x = 0, y = 0;
        const platform::DisplayModeDesc desktop = Desktop();
        CentredPosition(static_cast<int>(desktop.width), static_cast<int>(desktop.height), clientSize, x, y);
        m_window->SetPosition(x, y);
        if (show)
            m_window->Show();
    } else {
        ZOR::Log("Failed to create the window: %s", m_owned->Error().c_str());
        m_owned.reset();
        m_alive = false;
    }
    if (!Singleton())
        Singleton() = this;
}

Window::~Window()
{
    m_window = nullptr;
    m_owned.reset();
    Singleton() = nullptr;
}

Window* Window::Instance()
{
    return Singleton();
}

void Window::Update()
{
    if (!m_window)
        return;
    platform::WindowMessage message;
    while (m_window->NextMessage(message)) {
        if (message.type == platform::WindowMessage::Type::Quit) {
            m_alive = false;
            continue;
        }
        m_handler(message);
    }
}

void Window::SetMessageHandler(const MessageHandler& handler)
{
    if (!handler) {
        std::fputs("Failed to change the message handler.", stdout);
        std::fflush(stdout);
        return;
    }
    m_handler = handler;
}

void Window::DefaultMessageHandler(const platform::WindowMessage& message)
{
    using Type = platform::WindowMessage::Type;
    switch (message.type) {
    case Type::Destroy:
        platform::NativeWindow::PostQuit();
        break;
    case Type::Size:
        if (RenderContext* context = RenderContext::Instance())
            context->OnSize(message.width, message.height);
        break;
    case Type::Activate:
        if (RenderContext* context = RenderContext::Instance())
            context->OnActivate(message.active);
        break;
    default:
        break;
    }
}

unsigned Window::GetDesktopWidth()
{
    return Desktop().width;
}

unsigned Window::GetDesktopHeight()
{
    return Desktop().height;
}

bool Window::PlaceCentred(platform::NativeWindow& window, const Dimension& clientSize)
{
    platform::DisplayModeDesc desktop;
    std::string error;
    if (!platform::Display::Current().GetDesktopMode(desktop, error)) {
        ZOR::Log("Error: cannot centre the window: %s", error.c_str());
        return false;
    }
    int x = 0, y = 0;
    CentredPosition(static_cast<int>(desktop.width), static_cast<int>(desktop.height), clientSize, x, y);
    window.SetSize(clientSize.width, clientSize.height);
    window.SetPosition(x, y);
    return true;
}

void Window::CentredPosition(int desktopWidth, int desktopHeight, const Dimension& clientSize, int& x, int& y)
{
    x = static_cast<int>(std::int64_t{desktopWidth / 2} - std::int64_t{clientSize.width / 2});
    y = static_cast<int>(std::int64_t{desktopHeight / 2} - std::int64_t{clientSize.height / 2});
}

} // namespace ZOR
