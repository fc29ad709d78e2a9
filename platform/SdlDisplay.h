#pragma once
#include "platform/Display.h"

namespace platform {

// Display 0 as SDL's video subsystem sees it.
class SdlDisplay : public Display {
public:
    bool GetModes(std::vector<DisplayModeDesc>& modes, std::string& error) override;
    bool GetDesktopMode(DisplayModeDesc& mode, std::string& error) override;

    // SDL lists the largest mode first, and some drivers list only a 0 x 0 placeholder: sorts
    // ascending by (width, height, refresh rate), drops empty sizes, and offers the desktop mode
    // when nothing is left.
    static std::vector<DisplayModeDesc> Arrange(std::vector<DisplayModeDesc> listed,
                                                const DisplayModeDesc& desktop);
};

} // namespace platform
