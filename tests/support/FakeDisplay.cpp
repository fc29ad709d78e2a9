#include "tests/support/FakeDisplay.h"

namespace tarsel::test {

FakeDisplay::FakeDisplay()
    : modes{{800, 600, 60, 0}, {1024, 768, 60, 0}, {1280, 720, 60, 0}}
{
    platform::Display::Install(this);
}

FakeDisplay::~FakeDisplay()
{
    platform::Display::Install(nullptr);
}

bool FakeDisplay::GetModes(std::vector<platform::DisplayModeDesc>& out, std::string& error)
{
    if (failModes) {
        error = "the display lists no modes (test)";
        return false;
    }
    out = modes;
    return true;
}

bool FakeDisplay::GetDesktopMode(platform::DisplayModeDesc& out, std::string& error)
{
    if (failDesktop) {
        error = "there is no display (test)";
        return false;
    }
    out = desktop;
    return true;
}

} // namespace tarsel::test
