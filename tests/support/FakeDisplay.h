#pragma once
#include "platform/Display.h"

#include <vector>

namespace tarsel::test {

// A display with a chosen mode list, installed for the object's lifetime. Modes are returned as
// given (the interface promises ascending order; tests that want SDL's order use
// SdlDisplay::Arrange).
class FakeDisplay : public platform::Display {
public:
    FakeDisplay();
    ~FakeDisplay() override;
    FakeDisplay(const FakeDisplay&) = delete;
    FakeDisplay& operator=(const FakeDisplay&) = delete;

    bool GetModes(std::vector<platform::DisplayModeDesc>& modes, std::string& error) override;
    bool GetDesktopMode(platform::DisplayModeDesc& mode, std::string& error) override;

    // 800x600, 1024x768 and 1280x720, all at 60 Hz, on a 1920x1080 desktop.
    std::vector<platform::DisplayModeDesc> modes;
    platform::DisplayModeDesc desktop{1920, 1080, 60, 0};
    bool failModes = false;
    bool failDesktop = false;
};

} // namespace tarsel::test
