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
// --screens 1 or 4 runs that configuration only. --smoke: the tests' small window and cheap
// settings, the four players spawned, 60 frames from the intro's start and three profiled ones.
#include "bench/GpuPassTimer.h"
#include "bench/HeadlessMatch.h"
#include "engine/Engine.h"
#include "engine/Space.h"
#include "engine/System.h"
#include "engine/graphics/GraphicsSystem.h"
#include "renderer/Config.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tests/support/flow/MatchDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;
using tarsel::test::MatchDriver;


ZOR::DXRenderContext* Context(FlowGame& game)
{
    return dynamic_cast<ZOR::DXRenderContext*>(game.GetGame().GetGraphicsSystem()->GetRenderContext());
}

void PrintWall(std::vector<double> ms)
{
    if (ms.empty())
        return;
    double sum = 0.0;
    for (double m : ms)
        sum += m;
    std::sort(ms.begin(), ms.end());
    const std::size_t p95 = std::min(ms.size() - 1, (ms.size() * 95) / 100);
    std::printf("    wall ms per frame: mean %.2f, p95 %.2f, max %.2f (%zu frames)\n", sum / ms.size(), ms[p95],
                ms.back(), ms.size());
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
    std::vector<std::pair<std::string, double>> costs(systems.begin(), systems.end());
    std::stable_sort(costs.begin(), costs.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::printf("    CPU ms per frame by system:");
    for (const auto& [name, ms] : costs)
        std::printf(" %s %.3f;", name.c_str(), ms / n);
    std::printf("\n");
    if (context)
        std::printf("    draw calls per frame %.1f\n", static_cast<double>(context->GetDrawCallCount() - draws) / n);
    std::printf("    alive: orbs mean %.1f max %zu, particles mean %.1f max %zu; deaths so far %d\n",
                orbs / std::max(samples, 1), maxOrbs, particles / std::max(samples, 1), maxParticles,
                match.GetDeaths());
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
    int only = 0; // --screens N: that configuration only
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            smoke = true;
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
