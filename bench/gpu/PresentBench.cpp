// Presenting: SwapBuffers (copy of the back buffer into the window with rows flipped, then the
// swap) against SDL_GL_SwapWindow alone on the same window, at two display modes, vertical sync
// off. Every frame waits for the GPU, so that the copy's cost is counted where it is spent.
#include "bench/gpu/GpuRig.h"
#include "platform/NativeWindow.h"
#include "platform/gpu/ImmediateContext.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

namespace {

using gpubench::Rig;
using gpubench::RigFor;

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
