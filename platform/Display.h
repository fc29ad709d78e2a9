#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One full-screen mode of a display.
struct DisplayModeDesc {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshRate = 0; // whole hertz, 0 when unknown
    std::uint32_t pixelFormat = 0; // SDL pixel format, 0 when unknown

    bool operator==(const DisplayModeDesc&) const = default;
};

// The modes of display 0 and its desktop mode. The SDL implementation is used unless a test
// installs its own list.
class Display {
public:
    virtual ~Display() = default;

    // Display 0's modes, ascending by (width, height, refresh rate), no 0 x 0 entries. False with
    // a reason when the display cannot be asked.
    virtual bool GetModes(std::vector<DisplayModeDesc>& modes, std::string& error) = 0;
    virtual bool GetDesktopMode(DisplayModeDesc& mode, std::string& error) = 0;

    // The display in use: the installed one, else SDL's.
    static Display& Current();
    // Installs a replacement (not owned); null goes back to SDL's.
    static void Install(Display* display);
};

} // namespace platform
