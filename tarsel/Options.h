#pragma once
// The game's command line: test hooks only. A run without options is the plain game.
#include <cstdint>
#include <optional>
#include <string>

namespace tarsel {

struct Options {
    // Window::Kill after the update of this frame; 0: no limit.
    std::uint32_t frames = 0;
    // Every frame lasts this many seconds; without it a stopwatch measures frames.
    std::optional<float> fixedDt;
    // Every clock reading follows the frames: a simulated clock advanced by fixedDt at each
    // frame's start (needs fixedDt). --fixed-dt sets it; in-process drivers choose it apart, so
    // timing benchmarks keep the real clock.
    bool simulatedClock = false;
    // A scripted-input file that replaces the keyboard, mouse and pads.
    std::string inputFile;
    // Seeds the runtime's random source (srand) before start-up, so that runs repeat; the game
    // itself never seeds it.
    std::optional<unsigned> seed;
};

// False with a message naming the bad argument.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// What a bad option prints to standard error.
const char* Usage();

} // namespace tarsel
