#pragma once
// One window with an initialised render context on a display offering exactly one mode, shared
// by the GPU benchmarks of this folder: one context at a time, re-made when the size changes.
#include "platform/Display.h"
#include "renderer/Config.h"
#include "renderer/Window.h"
#include "renderer/dx11/DXRenderContext.h"

#include <cstdlib>
#include <memory>

namespace gpubench {

class OneModeDisplay : public platform::Display {
public:
    OneModeDisplay(std::uint32_t width, std::uint32_t height) : m_mode{width, height, 60, 0} {}
    bool GetModes(std::vector<platform::DisplayModeDesc>& modes, std::string&) override
    {
        modes = {m_mode};
        return true;
    }
    bool GetDesktopMode(platform::DisplayModeDesc& mode, std::string&) override
    {
        mode = m_mode;
        return true;
    }

private:
    platform::DisplayModeDesc m_mode;
};

struct Rig {
    Rig(std::uint32_t w, std::uint32_t h) : width(w), height(h), display(w, h)
    {
        // Figures are for the software rasteriser without a display unless asked otherwise.
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        platform::Display::Install(&display);
        // No configuration file: nothing is written, vertical sync is off.
        window = std::make_unique<ZOR::Window>("bench", ZOR::Dimension(w, h), false);
        context = std::make_unique<ZOR::DXRenderContext>(ZOR::Config(""));
        context->SetTargetWindow(window->GetHWND());
        ok = window->IsAlive() && context->Initialize();
    }
    ~Rig()
    {
        context.reset();
        window.reset();
        platform::Display::Install(nullptr);
    }

    std::uint32_t width, height;
    OneModeDisplay display;
    std::unique_ptr<ZOR::Window> window;
    std::unique_ptr<ZOR::DXRenderContext> context;
    bool ok = false;
};

inline Rig& RigFor(std::uint32_t width, std::uint32_t height)
{
    static std::unique_ptr<Rig> rig;
    if (!rig || rig->width != width || rig->height != height) {
        rig.reset();
        rig = std::make_unique<Rig>(width, height);
    }
    return *rig;
}

} // namespace gpubench
