// The match start from the character select, run directly (no menus) in the game in process
// (offscreen window, dummy audio, a temporary documents folder, the built content as working
// directory): one person on pad 0 and three computer players. Per start it prints the time in
// LoadMatchLevel ("Beta.ql") and in SpawnPlayers (four clones, eight mounts), and the frames
// from the confirm to the intro's first frame (the fade-out's 0.5 s included). Then the mean
// over the starts. --smoke makes one start; without "Beta.ql" and the archetypes the start
// warns and still runs, and the benchmark exits 0.
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/LoadAssets.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/MatchStart.h"
#include "tarsel/Game.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

bool RootListEmpty(tarsel::Game& game)
{
    return game.GetActionSystem()->GetRootList().GetCount() == 0;
}

// Frames until the condition holds; false when the limit ran out or the game stopped.
template<typename Condition>
bool RunUntil(tarsel::Game& game, Condition condition, unsigned limit, unsigned& frames)
{
    frames = 0;
    while (!condition()) {
        if (frames >= limit || !game.Frame())
            return false;
        ++frames;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char documents[] = "/tmp/tarsel-bench-match-start-XXXXXX";
    if (!mkdtemp(documents))
        return 1;
    setenv("TARSEL_DOCUMENTS", documents, 1);
    const char* content = std::getenv("TARSEL_CONTENT_DIR");
    const fs::path folder =
        content ? fs::path(content) : fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "content";
    fs::current_path(folder);

    int status = 0;
    {
        tarsel::Options options;
        options.fixedDt = 1.0f / 60.0f;
        tarsel::Game game(options);
        // Only the loading screen: the start needs the assets, not the menus.
        game.SetStartupTree([](tarsel::Game&) { return new quellor::LoadAssets; });
        unsigned frames = 0;
        if (!game.Start() || !RunUntil(game, [&] { return RootListEmpty(game); }, 100000, frames)) {
            std::printf("start-up failed\n");
            status = 1;
        } else {
            quellor::ContentSystem* store = game.GetContentSystem();
            quellor::CharSelectRules roster(store->GetHair(), store->GetMasks());
            roster.Join(0);
            for (int bot = 0; bot < 3; ++bot)
                roster.AddComputer(0);
            const int starts = smoke ? 1 : 3;
            double load = 0.0;
            double spawn = 0.0;
            double taken = 0.0;
            for (int run = 0; run < starts; ++run) {
                auto start = std::make_shared<quellor::MatchStart>(roster);
                if (!start->Queue(nullptr)) {
                    status = 1;
                    break;
                }
                // The intro starts in the frame of the spawn; the first player is named "player".
                unsigned toIntro = 0;
                const bool spawned = RunUntil(
                    game, [] { return quellor::Engine::Instance()->GetEntity("player", "default") != nullptr; }, 600,
                    toIntro);
                if (!spawned) {
                    std::printf("start %d: the players never came\n", run + 1);
                    status = 1;
                    break;
                }
                const auto& t = start->GetTimings();
                std::printf("start %d: LoadMatchLevel %.2f ms, SpawnPlayers %.2f ms, %u frames from the confirm to the intro\n",
                            run + 1, t.load * 1e3, t.spawn * 1e3, toIntro);
                load += t.load;
                spawn += t.spawn;
                taken += toIntro;
                // The intro and the fade-in run out before the next start.
                if (run + 1 < starts)
                    RunUntil(game, [&] { return RootListEmpty(game); }, 1200, frames);
            }
            if (status == 0)
                std::printf("mean of %d: LoadMatchLevel %.2f ms, SpawnPlayers %.2f ms, %.1f frames\n", starts,
                            load / starts * 1e3, spawn / starts * 1e3, taken / starts);
        }
    }
    std::error_code ec;
    fs::remove_all(documents, ec);
    return status;
}
