#pragma once
// An X server of the test's own, for what only a real display shows (window size and place,
// full screen, the presented image): Xvfb on a free display with one screen of the given size
// and no window manager, ended with the object. While it runs, DISPLAY names it and SDL uses its
// x11 video driver in this process (the suite runs on the offscreen driver otherwise).
//
//     tarsel::test::XServer server(1024, 768);
//     if (!server.IsRunning())
//         GTEST_SKIP() << server.Error();
//
// The server is ready when the constructor returns, and has no client yet: the object connects
// only when asked about a window or the screen. (Opening and closing a connection would be the
// last client leaving, and an X server resets then.)
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

namespace platform {
class NativeWindow;
}

namespace tarsel::test {

class XServer {
public:
    XServer(unsigned width, unsigned height);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool IsRunning() const { return m_pid > 0; }
    // Why the server is not running.
    const std::string& Error() const { return m_error; }
    // ":N".
    const std::string& DisplayName() const { return m_displayName; }
    // How many client connections have ended so far.
    std::size_t DisconnectionsSoFar() const;

    // A window as the server has it (not as SDL believes it is): the top-left corner of its
    // client area on the screen, its size, and whether it is mapped.
    struct Geometry {
        int x = 0;
        int y = 0;
        unsigned width = 0;
        unsigned height = 0;
        bool viewable = false;
    };
    // Every request the window's owner made has reached the server before it is asked. None
    // when the window is not on this server.
    std::optional<Geometry> Query(const platform::NativeWindow& window);

    // What the screen shows where the window lies, as RGBA (alpha 255), top row first, once
    // everything the owner drew has reached the server; empty when it cannot be read.
    std::vector<std::uint8_t> ReadWindow(const platform::NativeWindow& window);

private:
    _XDisplay* Connection();
    static void SetVariable(const char* name, const std::optional<std::string>& value);

    pid_t m_pid = -1;
    std::string m_error;
    std::string m_displayName;
    // The server's audit trail: a line for each connection made and each ended.
    std::string m_logPath;
    _XDisplay* m_connection = nullptr;
    // The variables as they were, put back when the server ends.
    std::optional<std::string> m_previousDisplay;
    std::optional<std::string> m_previousDriver;
    std::optional<std::string> m_previousBus;
};

} // namespace tarsel::test
