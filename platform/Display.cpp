#include "platform/Display.h"

#include "platform/SdlDisplay.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<Display*>& Installed()
{
    static std::atomic<Display*> installed{nullptr};
    return installed;
}

} // namespace

Display& Display::Current()
{
    if (Display* display = Installed().load())
        return *display;
    static SdlDisplay sdl;
    return sdl;
}

void Display::Install(Display* display)
{
    Installed().store(display);
}

} // namespace platform
