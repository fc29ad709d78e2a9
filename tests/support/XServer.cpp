#include "tests/support/XServer.h"

#include "platform/NativeWindow.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tarsel::test {

namespace {

// A loaded machine may take a while to bring a server up.
constexpr int kStartSeconds = 30;
// The descriptor Xvfb writes its display number to once it accepts clients.
constexpr int kDisplayFd = 9;

std::optional<std::string> Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// Xlib's own handler ends the process on any error reply; a query that fails returns nothing.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

class ErrorScope {
public:
    ErrorScope() : m_previous(XSetErrorHandler(&IgnoreError)) {}
    ~ErrorScope() { XSetErrorHandler(m_previous); }
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

private:
    int (*m_previous)(Display*, XErrorEvent*);
};

// Waits for the child to end, for at most the given time; true when it has.
bool Reap(pid_t pid, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (true) {
        const pid_t done = waitpid(pid, nullptr, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

XServer::XServer(unsigned width, unsigned height)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        m_error = std::string("no X server: cannot make a pipe: ") + std::strerror(errno);
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(kDisplayFd);
    const char* argv[] = {"Xvfb",   "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                          "-nolisten", "tcp",     "-audit",   "2",       nullptr};
    char logPath[] = "/tmp/tarsel-xserver-XXXXXX";
    const int log = mkstemp(logPath);
    if (log < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        m_error = std::string("no X server: cannot make its log file: ") + std::strerror(errno);
        return;
    }
    close(log);
    m_logPath = logPath;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // dup2 clears close-on-exec on the copy only; the server's messages go to its log.
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], kDisplayFd);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_logPath.c_str(), O_WRONLY | O_APPEND, 0);
    pid_t pid = -1;
    const int spawned =
        posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        m_error = std::string("no X server: cannot run Xvfb (Debian package xvfb): ") + std::strerror(spawned);
        return;
    }

    // The number arrives once the server listens; end of file means it gave up.
    std::string number;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kStartSeconds);
    while (number.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd readable{pipeFds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0)
            break;
        char bytes[16];
        const ssize_t got = read(pipeFds[0], bytes, sizeof bytes);
        if (got <= 0)
            break;
        number.append(bytes, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    if (number.empty() || number.find('\n') == std::string::npos) {
        kill(pid, SIGKILL);
        Reap(pid, std::chrono::seconds(5));
        m_error = "no X server: Xvfb did not come up within " + std::to_string(kStartSeconds) + " s";
        return;
    }
    m_pid = pid;
    m_displayName = ":" + number.substr(0, number.find('\n'));

    m_previousDisplay = Variable("DISPLAY");
    m_previousDriver = Variable("SDL_VIDEODRIVER");
    m_previousBus = Variable("DBUS_SESSION_BUS_ADDRESS");
    setenv("DISPLAY", m_displayName.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    // This server has no session bus; without an address the bus library would try to start one
    // for the display (there is none to start, and the failed attempt leaks).
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

XServer::~XServer()
{
    if (m_connection)
        XCloseDisplay(m_connection);
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        if (!Reap(m_pid, std::chrono::seconds(5))) {
            kill(m_pid, SIGKILL);
            Reap(m_pid, std::chrono::seconds(5));
        }
        SetVariable("DISPLAY", m_previousDisplay);
        SetVariable("SDL_VIDEODRIVER", m_previousDriver);
        SetVariable("DBUS_SESSION_BUS_ADDRESS", m_previousBus);
    }
    if (!m_logPath.empty())
        unlink(m_logPath.c_str());
}

std::size_t XServer::DisconnectionsSoFar() const
{
    std::ifstream log(m_logPath);
    std::size_t ended = 0;
    for (std::string line; std::getline(log, line);)
        ended += line.ends_with(" disconnected") ? 1 : 0;
    return ended;
}

void XServer::SetVariable(const char* name, const std::optional<std::string>& value)
{
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

_XDisplay* XServer::Connection()
{
    if (!m_connection && m_pid > 0)
        m_connection = XOpenDisplay(m_displayName.c_str());
    return m_connection;
}

std::optional<XServer::Geometry> XServer::Query(const platform::NativeWindow& window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window.GetSDLWindow() || !SDL_GetWindowWMInfo(window.GetSDLWindow(), &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return std::nullopt;
    Display* display = Connection();
    if (!display)
        return std::nullopt;
    const ErrorScope errors;
    // What the owner asked for is done before the server is asked.
    XSync(info.info.x11.display, False);
    XWindowAttributes attributes;
    ::Window child = 0;
    Geometry geometry;
    if (!XGetWindowAttributes(display, info.info.x11.window, &attributes) ||
        !XTranslateCoordinates(display, info.info.x11.window, DefaultRootWindow(display), 0, 0, &geometry.x,
                               &geometry.y, &child))
        return std::nullopt;
    geometry.width = static_cast<unsigned>(attributes.width);
    geometry.height = static_cast<unsigned>(attributes.height);
    geometry.viewable = attributes.map_state == IsViewable;
    return geometry;
}

std::vector<std::uint8_t> XServer::ReadWindow(const platform::NativeWindow& window)
{
    const std::optional<Geometry> where = Query(window);
    if (!where)
        return {};
    const unsigned width = where->width;
    const unsigned height = where->height;
    const ErrorScope errors;
    XImage* image = XGetImage(m_connection, DefaultRootWindow(m_connection), where->x, where->y, width, height,
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    // Each mask's lowest set bit is where its channel starts; the screen is 24-bit.
    auto channel = [](unsigned long pixel, unsigned long mask) {
        return static_cast<std::uint8_t>((pixel & mask) >> __builtin_ctzl(mask));
    };
    std::vector<std::uint8_t> rgba;
    rgba.reserve(std::size_t{width} * height * 4);
    for (unsigned row = 0; row < height; ++row) {
        for (unsigned column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, static_cast<int>(column), static_cast<int>(row));
            rgba.push_back(channel(pixel, image->red_mask));
            rgba.push_back(channel(pixel, image->green_mask));
            rgba.push_back(channel(pixel, image->blue_mask));
            rgba.push_back(255);
        }
    }
    XDestroyImage(image);
    return rgba;
}

} // namespace tarsel::test
