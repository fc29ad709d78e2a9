// Presenting: SwapBuffers (copy of the back buffer into the window with rows flipped, then the
// swap) against SDL_GL_SwapWindow alone on the same window, at two display modes, vertical sync
// off. Every frame waits for the GPU, so that the copy's cost is counted where it is spent.
#include "platform/Display.h"
#include "platform/NativeWindow.h"
#include "platform/gpu/ImmediateContext.h"
#include "renderer/Config.h"
#include "renderer/Window.h"
#include "renderer/dx11/DXRenderContext.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

// A display offering exactly the mode under test.
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

// One window with an initialised context at one size, kept while benchmarks of that size run.
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

Rig& RigFor(std::uint32_t width, std::uint32_t height)
{
    static std::unique_ptr<Rig> rig;
    if (!rig || rig->width != width || rig->height != height) {
        rig.reset();
        rig = std::make_unique<Rig>(width, height);
    }
    return *rig;
}

void BM_SwapBuffers(benchmark::State& state)
{
    Rig& rig = RigFor(static_cast<std::uint32_t>(state.range(0)), static_cast<std::uint32_t>(state.range(1)));
    if (!rig.ok) {
        state.SkipWithError("no OpenGL 4.5 context");
        return;
    }
    platform::gpu::ImmediateContext gpu;
    for (auto _ : state) {
        rig.context->SwapBuffers();
        gpu.Finish();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_BareSwapWindow(benchmark::State& state)
{
    Rig& rig = RigFor(static_cast<std::uint32_t>(state.range(0)), static_cast<std::uint32_t>(state.range(1)));
    if (!rig.ok) {
        state.SkipWithError("no OpenGL 4.5 context");
        return;
    }
    SDL_Window* window = rig.window->GetHWND()->GetSDLWindow();
    SDL_GL_SetSwapInterval(0);
    platform::gpu::ImmediateContext gpu;
    for (auto _ : state) {
        SDL_GL_SwapWindow(window);
        gpu.Finish();
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_SwapBuffers)->Args({1280, 720})->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BareSwapWindow)->Args({1280, 720})->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SwapBuffers)->Args({1920, 1080})->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_BareSwapWindow)->Args({1920, 1080})->Unit(benchmark::kMicrosecond)->UseRealTime();
