// A long match, run by hand in the sanitized build to find leaks and growth: the game in
// process (offscreen window, recording audio, the built content as working directory) with the
// long scenario's settings (plain filtering, no shadows, god rays or bloom, low graphics and
// particle quality, the renderer drawing one update in 30, each 1/60 s on the simulated clock),
// one person on the keyboard following a fixed script against three computer players on
// "Beta.ql", spawned straight there (no menus), for 30 minutes of wall clock with the win held
// off and the pause menu opened and closed every 2 minutes. Each minute it prints game time,
// frames, resident memory, live entities, components, queued actions, renderer resource slots
// in use, orbs, playing channels and deaths. Then the win comes back, the match ends (a team
// with 5 points ends it at once; else, after a minute of play, the game's own debug win,
// Ctrl+W), the main menu comes and its quit ends the run; exit 0 when the game stopped.
// --minutes N runs N minutes; --smoke runs 300 frames with one pause, then the same ending.
#include "bench/HeadlessMatch.h"
#include "engine/Entity.h"
#include "gameplay/GameLogicSystem.h"
#include "platform/ScriptedInputSource.h"
#include "tests/support/flow/MatchDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;
using tarsel::test::MatchDriver;

constexpr int kControl = 17;
constexpr int kEnter = 13;
constexpr int kDown = 40;
constexpr int kKeyW = 87;
constexpr std::uint32_t kPlayMinute = 3600;

// Resident set in MiB, from /proc.
double ResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0.0;
}

void PrintRow(const char* when, FlowGame& game, const MatchDriver& match)
{
    const MatchDriver::Census c = match.Count();
    const std::uint32_t frames = game.GetGame().GetFrameCount();
    std::printf("%-8s game %7.1f s  frames %7u  RSS %7.1f MiB  entities %4zu  components %5zu  actions %4zu  "
                "slots %4zu  orbs %2zu  particles %5zu  channels %2zu  deaths %4d\n",
                when, frames / 60.0, frames, ResidentMiB(), c.entities, c.components, c.actions, c.slots, c.orbs,
                c.particles, c.channels, match.GetDeaths());
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    bool smoke = false;
    int minutes = 30;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            smoke = true;
        else if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc)
            minutes = std::max(1, std::atoi(argv[++i]));
    }
    if (!tarselbench::PrepareHeadlessMatch("soak"))
        return 0;

    FlowSetup setup = MatchDriver::DirectSetup();
    setup.config = tarsel::test::ConfigSeed::TestLow;
    setup.drawEvery = 30;

    bool stopped = false;
    {
        FlowGame game(std::move(setup));
        MatchDriver match(game);
        if (!match.Boot() || !match.Start(MatchDriver::PersonAndComputers(game.GetGame()))) {
            std::printf("soak: the match did not start\n");
            return 1;
        }
        match.SetPeople({0}, true);
        match.SetWinHeld(true);
        PrintRow("start", game, match);

        const auto begin = Clock::now();
        const auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - begin).count(); };
        int printed = 0;
        int paused = 0;
        bool running = true;
        for (std::uint32_t frame = 1; running; ++frame) {
            if (smoke) {
                if (frame == 150 && !match.CyclePauseMenu()) {
                    std::printf("soak: the pause menu did not open and close\n");
                    return 1;
                }
                running = frame < 300;
            } else {
                const double seconds = elapsed();
                running = seconds < minutes * 60.0;
                if (running && static_cast<int>(seconds / 120.0) > paused) {
                    ++paused;
                    if (!match.CyclePauseMenu()) {
                        std::printf("soak: the pause menu did not open and close\n");
                        return 1;
                    }
                }
                if (static_cast<int>(seconds / 60.0) > printed) {
                    ++printed;
                    PrintRow(("min " + std::to_string(printed)).c_str(), game, match);
                }
            }
            if (running && !match.Frame()) {
                std::printf("soak: the game stopped during the match\n");
                return 1;
            }
        }
        PrintRow("end", game, match);

        // The win comes back; a minute of play for a team to reach 5 points, else the debug win.
        match.SetWinHeld(false);
        quellor::GameLogicSystem* logic = game.GetGameLogic();
        logic->m_winEnabled = true;
        std::uint32_t waited = 0;
        while (!logic->GetWinner() && waited < kPlayMinute && match.Frame())
            ++waited;
        if (!logic->GetWinner()) {
            std::printf("soak: no team reached 5 points in a minute of play; the debug win (Ctrl+W) ends the match\n");
            match.SetPeople({}, false);
            game.Input().SetKey(kControl, true);
            game.Input().TapKey(kKeyW);
            match.Frame();
            game.Input().SetKey(kControl, false);
        }
        const quellor::Entity* winner = logic->GetWinner();
        std::printf("soak: the match ended %u frames after the win came back (%s)\n", waited,
                    winner ? winner->GetName().c_str() : "no winner");
        match.SetPeople({}, false);
        // The main menu after the win camera; its quit (down to "quit", confirm) ends the game.
        for (int key : {kDown, kDown, kDown, kDown, kEnter, kDown, kEnter}) {
            if (!match.Press("MainMenu", key, 3000)) {
                std::printf("soak: the main menu did not take input\n");
                return 1;
            }
        }
        // Nothing of the game is read once it has stopped.
        for (int i = 0; i < 600 && !stopped; ++i)
            stopped = !game.Frame();
    }
    std::printf("soak: %s\n", stopped ? "the game stopped" : "the game did not stop after the quit");
    return stopped ? 0 : 1;
}
