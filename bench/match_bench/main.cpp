// Whole frames of a match in the game in process (offscreen window, recording audio, the built
// content as working directory), 1280x720 windowed with the mode offered by the display, the
// first run's effects, plain filtering, players spawned straight onto "Beta.ql" (no menus),
// each frame 1/60 s on the real clock, the win held off:
// - 1 screen: one person on the keyboard against three computer players (the first run's
//   road), 1,800 frames after the intro;
// - 4 screens: four people on pads 0-3, 1,800 frames after the intro.
// Each prints wall ms per frame (mean, p95, max), CPU ms per frame of each system (its own
// timing after each update), draw calls, orbs and particles alive, then the GPU time of each
// pass over further frames (timestamp queries; the software rasteriser's time on llvmpipe).
// Last, 16x anisotropic filtering timed apart. No package plays this game: no peer.
// --cpu: the same matches drawn into a quiet recording render context, which takes every call
// the renderer makes and draws nothing, so that the figures are the CPU side alone (what a
// player with a graphics card waits for besides the driver). After a third as many untimed
// frames of play: the main thread's CPU ms per whole frame (mean, p95), each system's, the
// renderer's stages (cull, bucket and sort, batch, submit) and the heap allocations per frame,
// ending with one line per configuration:
//     cpu frame ms (N screens): mean X, p95 Y, allocations per frame Z
// where Z counts the steady frames, those in which nothing happened besides moving on: no
// entity was made, no component or action came, no orb was fired or burst, no sound started,
// nobody died (such events make objects, and allocate for them).
// --screens 1 or 4 runs that configuration only. --smoke: the tests' small window and cheap
// settings, the four players spawned, 60 frames from the intro's start and three profiled ones.
#include "bench/CpuStageTimer.h"
#include "bench/GpuPassTimer.h"
#include "bench/HeadlessMatch.h"
#include "bench/match_bench/HeapCount.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Space.h"
#include "engine/System.h"
#include "engine/graphics/GraphicsSystem.h"
#include "renderer/Config.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/flow/MatchDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;
using tarsel::test::MatchDriver;
using tarsel::test::RecordingRenderContext;

ZOR::DXRenderContext* Context(FlowGame& game)
{
    return dynamic_cast<ZOR::DXRenderContext*>(game.GetGame().GetGraphicsSystem()->GetRenderContext());
}

RecordingRenderContext* Recording(FlowGame& game)
{
    return dynamic_cast<RecordingRenderContext*>(game.GetGame().GetGraphicsSystem()->GetRenderContext());
}

// The CPU time of the calling thread, in milliseconds.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

struct Spread {
    double mean = 0.0, p95 = 0.0, max = 0.0;
};

Spread SpreadOf(std::vector<double> values)
{
    Spread spread;
    if (values.empty())
        return spread;
    double sum = 0.0;
    for (double v : values)
        sum += v;
    std::sort(values.begin(), values.end());
    spread.mean = sum / static_cast<double>(values.size());
    spread.p95 = values[std::min(values.size() - 1, (values.size() * 95) / 100)];
    spread.max = values.back();
    return spread;
}

void PrintWall(const std::vector<double>& ms)
{
    if (ms.empty())
        return;
    const Spread wall = SpreadOf(ms);
    std::printf("    wall ms per frame: mean %.2f, p95 %.2f, max %.2f (%zu frames)\n", wall.mean, wall.p95, wall.max,
                ms.size());
}

void PrintSystems(const std::map<std::string, double>& systems, double frames)
{
    std::vector<std::pair<std::string, double>> costs(systems.begin(), systems.end());
    std::stable_sort(costs.begin(), costs.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::printf("    CPU ms per frame by system:");
    for (const auto& [name, ms] : costs)
        std::printf(" %s %.3f;", name.c_str(), ms / frames);
    std::printf("\n");
}

// Frames of the match as it runs, each timed; the systems' own timings summed after each.
void Measure(FlowGame& game, MatchDriver& match, int frames)
{
    ZOR::DXRenderContext* context = Context(game);
    quellor::Space* space = quellor::Engine::Instance()->GetSpace("default");
    std::vector<double> wall;
    std::map<std::string, double> systems;
    double orbs = 0.0, particles = 0.0;
    std::size_t maxOrbs = 0, maxParticles = 0;
    int samples = 0;
    const std::uint64_t draws = context ? context->GetDrawCallCount() : 0;
    for (int i = 0; i < frames; ++i) {
        const auto start = Clock::now();
        if (!match.Frame())
            break;
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        for (const quellor::System* system : space->GetUpdateList())
            systems[system->GetName()] += system->GetTotalTime() * 1e3;
        // Every frame: an orb lives a few frames only.
        const MatchDriver::Census census = match.Count();
        orbs += static_cast<double>(census.orbs);
        particles += static_cast<double>(census.particles);
        maxOrbs = std::max(maxOrbs, census.orbs);
        maxParticles = std::max(maxParticles, census.particles);
        ++samples;
    }
    PrintWall(wall);
    if (wall.empty())
        return;
    const double n = static_cast<double>(wall.size());
    PrintSystems(systems, n);
    if (context)
        std::printf("    draw calls per frame %.1f\n", static_cast<double>(context->GetDrawCallCount() - draws) / n);
    std::printf("    alive: orbs mean %.1f max %zu, particles mean %.1f max %zu; deaths so far %d\n",
                orbs / std::max(samples, 1), maxOrbs, particles / std::max(samples, 1), maxParticles,
                match.GetDeaths());
}

// The CPU side alone: the main thread's time per whole frame, the systems' and the renderer's
// stages, draw calls and heap allocations. Only the game's frame runs between the marks (the
// scripted people's input and the death tally stay outside).
void MeasureCpu(FlowGame& game, MatchDriver& match, int frames, unsigned screens)
{
    RecordingRenderContext* context = Recording(game);
    quellor::GraphicsSystem* graphics = game.GetGame().GetGraphicsSystem();
    quellor::Space* space = quellor::Engine::Instance()->GetSpace("default");
    tarselbench::CpuStageTimer stages;
    graphics->SetPassProfiler(&stages);

    std::vector<double> cpu, wall;
    std::map<std::string, double> systems;
    std::uint64_t allocations = 0, steadyAllocations = 0;
    int steadyFrames = 0, cleanFrames = 0;
    double particles = 0.0, orbs = 0.0;
    const std::uint64_t draws = context ? context->GetDrawCallCount() : 0;
    const std::uint64_t calls = context ? context->GetCallCount() : 0;
    MatchDriver::Census before = match.Count();
    std::uint64_t madeEntities = quellor::Entity::GetLastSerial();
    int plays = game.GetSoundRecord().plays;
    int deaths = match.GetDeaths();
    for (int i = 0; i < frames; ++i) {
        match.BeforeFrame();
        const std::uint64_t heap = tarselbench::HeapAllocations();
        const double cpuStart = ThreadCpuMs();
        const auto start = Clock::now();
        const bool running = game.Frame();
        const double cpuMs = ThreadCpuMs() - cpuStart;
        const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        // Read before the bench's own lists grow: only the game's frame counts.
        const std::uint64_t made = tarselbench::HeapAllocations() - heap;
        wall.push_back(wallMs);
        match.AfterFrame();
        if (!running)
            break;
        cpu.push_back(cpuMs);
        for (const quellor::System* system : space->GetUpdateList())
            systems[system->GetName()] += system->GetTotalTime() * 1e3;

        const MatchDriver::Census census = match.Count();
        const std::uint64_t madeEntitiesNow = quellor::Entity::GetLastSerial();
        allocations += made;
        cleanFrames += made == 0 ? 1 : 0;
        // Steady: nothing happened besides moving on. No entity was made (even one gone again),
        // no component or action came, no orb was fired or burst, no sound started, nobody died.
        const int playsNow = game.GetSoundRecord().plays;
        const bool steady = madeEntitiesNow == madeEntities && census.components <= before.components &&
                            census.actions <= before.actions && census.orbs == before.orbs && playsNow == plays &&
                            match.GetDeaths() == deaths;
        if (steady) {
            steadyAllocations += made;
            ++steadyFrames;
        }
        madeEntities = madeEntitiesNow;
        before = census;
        plays = playsNow;
        deaths = match.GetDeaths();
        particles += static_cast<double>(census.particles);
        orbs += static_cast<double>(census.orbs);
    }
    graphics->SetPassProfiler(nullptr);
    if (cpu.empty())
        return;
    const double n = static_cast<double>(cpu.size());
    const Spread frame = SpreadOf(cpu);
    const Spread clock = SpreadOf(wall);
    std::printf("    CPU ms per whole frame: mean %.3f, p95 %.3f, max %.3f; wall mean %.3f (%zu frames)\n", frame.mean,
                frame.p95, frame.max, clock.mean, cpu.size());
    PrintSystems(systems, n);
    std::printf("    renderer stages, CPU ms per frame:");
    for (std::size_t s = 0; s < tarselbench::CpuStageTimer::kStageCount; ++s) {
        const auto stage = static_cast<tarselbench::CpuStageTimer::Stage>(s);
        std::printf(" %s %.3f;", tarselbench::CpuStageTimer::Name(stage), stages.Milliseconds(stage) / n);
    }
    std::printf("\n");
    if (context)
        std::printf("    draw calls per frame %.1f, render-context calls per frame %.1f\n",
                    static_cast<double>(context->GetDrawCallCount() - draws) / n,
                    static_cast<double>(context->GetCallCount() - calls) / n);
    std::printf("    alive: orbs mean %.1f, particles mean %.1f\n", orbs / n, particles / n);
    const double steadyMean = steadyFrames > 0 ? static_cast<double>(steadyAllocations) / steadyFrames : 0.0;
    std::printf("    heap allocations per frame: %.2f in all frames, %.2f in the %d steady ones (no event); "
                "%d frames without any\n",
                static_cast<double>(allocations) / n, steadyMean, steadyFrames, cleanFrames);
    std::printf("cpu frame ms (%u screens): mean %.3f, p95 %.3f, allocations per frame %.2f\n", screens, frame.mean,
                frame.p95, steadyMean);
}

void Profile(FlowGame& game, MatchDriver& match, int frames)
{
    tarselbench::GpuPassTimer timer;
    quellor::GraphicsSystem* graphics = game.GetGame().GetGraphicsSystem();
    graphics->SetPassProfiler(&timer);
    for (int i = 0; i < frames && match.Frame(); ++i)
        timer.EndFrame();
    graphics->SetPassProfiler(nullptr);
    if (timer.Broken()) {
        std::printf("    GPU per pass: this context keeps no timestamps\n");
        return;
    }
    timer.Print();
    const auto passes = timer.PerFrame();
    std::printf("    costliest passes:");
    for (std::size_t i = 0; i < passes.size() && i < 3; ++i)
        std::printf(" %s %.3f ms;", passes[i].first.c_str(), passes[i].second);
    std::printf(" (%d frames)\n", timer.GetFrames());
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    bool smoke = false;
    bool cpuOnly = false;
    int only = 0; // --screens N: that configuration only
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            smoke = true;
        else if (std::strcmp(argv[i], "--cpu") == 0)
            cpuOnly = true;
        else if (std::strcmp(argv[i], "--screens") == 0 && i + 1 < argc)
            only = std::atoi(argv[++i]);
    }
    if (!tarselbench::PrepareHeadlessMatch("match_bench"))
        return 0;

    FlowSetup setup = MatchDriver::DirectSetup();
    if (smoke) {
        // The soak's cheap settings on the tests' window.
        setup.config = tarsel::test::ConfigSeed::TestLow;
    } else {
        setup.config = tarsel::test::ConfigSeed::TestWithEffects;
        setup.configure = [](ZOR::Config& config) { config.SaveResolution(ZOR::Dimension{1280, 720}); };
        setup.modes = {{1280, 720, 60, 0}};
    }
    if (cpuOnly) {
        setup.renderContext = [smoke](const ZOR::Config& config) {
            auto context = std::make_shared<RecordingRenderContext>(config);
            context->SetQuiet(true);
            const ZOR::Dimension size = smoke ? ZOR::Dimension{800, 450} : ZOR::Dimension{1280, 720};
            context->SetDisplayModes({ZOR::DisplayMode{size, 60}});
            context->SetCurrentDisplayMode(ZOR::DisplayMode{size, 60});
            context->SetTextureSize(size);
            return context;
        };
    }
    // The real clock in every run: the systems time themselves by it.
    setup.simulatedClock = false;
    const int frames = smoke ? 60 : 1800;
    const int profiled = smoke ? 3 : 120;

    int status = 0;
    {
        FlowGame game(std::move(setup));
        MatchDriver match(game);
        if (!match.Boot()) {
            std::printf("match_bench: the game did not start or load\n");
            return 1;
        }
        ZOR::DXRenderContext* context = Context(game);
        if (context) {
            const ZOR::Dimension size = context->GetTextureSize(context->GetBackBuffer());
            std::printf("match_bench on %s, back buffer %ux%u, %d frames a configuration%s\n",
                        context->GetGraphicsCardInfo().c_str(), size.width, size.height, frames,
                        smoke ? " (smoke)" : "");
        } else if (cpuOnly) {
            // The recording audio backend keeps no list of calls either.
            game.GetSoundRecord().quiet = true;
            std::printf("match_bench --cpu: a quiet recording render context, %d frames a configuration%s\n", frames,
                        smoke ? " (smoke)" : "");
        }
        match.SetWinHeld(true);

        struct Configuration {
            const char* name;
            quellor::CharSelectRules roster;
            std::vector<int> people;
            bool keyboard;
        };
        std::vector<Configuration> configurations;
        if (only != 4)
            configurations.push_back({"1 screen, a person on the keyboard and three computer players",
                                      MatchDriver::PersonAndComputers(game.GetGame()), {0}, true});
        if (!smoke && only != 1)
            configurations.push_back(
                {"4 screens, four people on pads", MatchDriver::FourPeople(game.GetGame()), {0, 1, 2, 3}, false});
        for (const Configuration& c : configurations) {
            match.SetPeople({}, false);
            if (!match.Start(c.roster, !smoke)) {
                std::printf("match_bench: the match did not start (%s)\n", c.name);
                status = 1;
                break;
            }
            match.SetPeople(c.people, c.keyboard);
            std::printf("%s (%u screen%s drawn):\n", c.name, game.GetScreenCount(),
                        game.GetScreenCount() == 1 ? "" : "s");
            if (cpuOnly) {
                // Untimed play first: lists and scratch buffers reach the sizes the match needs.
                for (int i = 0; i < frames / 3 && match.Frame(); ++i) {
                }
                MeasureCpu(game, match, frames, game.GetScreenCount());
                continue;
            }
            Measure(game, match, frames);
            Profile(game, match, profiled);
        }

        // llvmpipe filters anisotropically in software at many times the cost of the rest of
        // the frame: timed apart, in full runs only.
        if (status == 0 && !smoke && context) {
            context->SetAnisotropy(ZOR::Anisotropy::X16);
            std::printf("the same with 16x anisotropic filtering:\n");
            Measure(game, match, 60);
            context->SetAnisotropy(ZOR::Anisotropy::X1);
        }
    }
    return status;
}
