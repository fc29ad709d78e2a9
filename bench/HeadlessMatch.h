#pragma once
// What the benchmarks that run a match in the game in process share: headless video and audio
// (unless set), the build's content folder as the harness's content (unless set), and whether
// that content holds the match level.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tarselbench {

// False, with a line naming the benchmark, when there is no "Beta.ql" to play on.
inline bool PrepareHeadlessMatch(const char* name)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::filesystem::path content =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "content";
    setenv("TARSEL_CONTENT_DIR", content.c_str(), 0);
    if (std::filesystem::exists(std::filesystem::path(std::getenv("TARSEL_CONTENT_DIR")) / "levels" / "Beta.ql"))
        return true;
    std::printf("%s: the built content has no \"Beta.ql\"; nothing to run\n", name);
    return false;
}

} // namespace tarselbench
