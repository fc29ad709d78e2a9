// The game's own start-up, in process (offscreen window, dummy audio, a temporary documents
// folder, the built content as working directory): time from process start to the first
// presented frame, split into configuration + window, systems (render context, shader set,
// resource scan) and the first frame; then frames until the loading screen is done, with the
// files and MiB of each kind, the wall time, each loader thread's time and the frames drawn
// meanwhile. The sum of the threads' times against the wall time shows what the threads buy.
// The start-up pictures (9 s of frames) come before the loading screen; their frames are
// counted apart, and the loading wall time runs from the loading screen's start. Last, the
// main menu: the frame in which it starts (MainMenu::Enter with the "MainMenuTest.ql" load)
// against an ordinary menu frame, and the frames until it is ready.
// --smoke stops after the first frame.
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/LoadAssets.h"
#include "engine/ResourceSystem.h"
#include "frontend/screens/MainMenu.h"
#include "tarsel/Game.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

const Clock::time_point kProcessStart = Clock::now();

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool Exists(const char* entity)
{
    return quellor::Engine::Instance()->GetEntity(entity, "default") != nullptr;
}

// Times the main menu's start handler from handlers before and after it.
struct EnterProbe {
    Clock::time_point start;
    double seconds = 0.0;
    void Before() { start = Clock::now(); }
    void After() { seconds = Since(start); }
};

// The main menu in the start-up tree.
const quellor::MainMenu* FindMainMenu(tarsel::Game& game)
{
    const quellor::MainMenu* menu = nullptr;
    game.GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        if (!menu)
            menu = dynamic_cast<const quellor::MainMenu*>(&action);
    });
    return menu;
}

} // namespace

int main(int argc, char** argv)
{
    const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char documents[] = "/tmp/tarsel-bench-startup-XXXXXX";
    if (!mkdtemp(documents))
        return 1;
    setenv("TARSEL_DOCUMENTS", documents, 1);
    const char* content = std::getenv("TARSEL_CONTENT_DIR");
    const fs::path folder = content ? fs::path(content) : fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "content";
    fs::current_path(folder);

    int status = 0;
    {
        tarsel::Options options;
        options.fixedDt = 0.016f;
        tarsel::Game game(options);
        if (!game.Start() || !game.Frame()) {
            std::printf("start-up failed\n");
            status = 1;
        } else {
            const double firstFrame = Since(kProcessStart);
            const auto& t = game.GetTimings();
            std::printf("start-up to the first presented frame: %.1f ms\n", firstFrame * 1e3);
            std::printf("  configuration + window:                      %.1f ms\n", t.configuration * 1e3);
            std::printf("  systems (context, shader set, resource scan): %.1f ms\n", t.systems * 1e3);
            std::printf("  first frame:                                 %.1f ms\n", t.firstFrame * 1e3);

            if (!smoke) {
                // What the loading screen queues, by kind.
                const char* names[] = {"textures", "materials", "sounds", "animations", "models"};
                std::size_t files[5] = {};
                double mib[5] = {};
                auto* resources = dynamic_cast<quellor::ResourceSystem*>(
                    quellor::Engine::Instance()->GetSystem("ResourceSystem", "default"));
                if (resources) {
                    for (const auto& [name, file] : resources->GetFiles()) {
                        const auto kind = quellor::LoadAssets::KindOf(file.extension);
                        if (kind == quellor::LoadAssets::KindCount)
                            continue;
                        ++files[kind];
                        std::error_code ec;
                        const auto size = fs::file_size(file.path, ec);
                        mib[kind] += ec ? 0.0 : static_cast<double>(size) / (1024.0 * 1024.0);
                    }
                }
                EnterProbe enter;
                auto* menu = const_cast<quellor::MainMenu*>(FindMainMenu(game));
                if (menu) {
                    menu->m_onStarted.Connect(quellor::MakeDelegate(&enter, &EnterProbe::Before), 1);
                    menu->m_onStarted.Connect(quellor::MakeDelegate(&enter, &EnterProbe::After), -1);
                }
                const auto splashStart = Clock::now();
                const std::uint32_t splashFrom = game.GetFrameCount();
                while (!Exists("loading_text") && !game.GetTimings().loadingDone && game.Frame()) {
                }
                std::printf("start-up pictures (from the second frame): %.1f ms, %u frames\n", Since(splashStart) * 1e3,
                            static_cast<unsigned>(game.GetFrameCount() - splashFrom));
                const auto loadStart = Clock::now();
                while (!game.GetTimings().loadingDone && game.Frame()) {
                }
                const double wall = Since(loadStart);
                std::printf("loading (wall, from the loading screen's start): %.1f ms; %u frames drawn since start-up\n", wall * 1e3,
                            static_cast<unsigned>(game.GetTimings().loadingFrames));
                double threads = 0.0;
                for (int kind = 0; kind < 5; ++kind) {
                    const double seconds = game.GetTimings().loadingThreadSeconds[kind];
                    threads += seconds;
                    std::printf("  %-10s %4zu files %8.3f MiB  thread %.1f ms\n", names[kind], files[kind], mib[kind],
                                seconds * 1e3);
                }
                std::printf("  sum of the thread times %.1f ms against %.1f ms wall\n", threads * 1e3, wall * 1e3);

                // The main menu: its start handler timed from around it, then frames until it is ready.
                std::uint32_t frames = 0;
                while (menu && !menu->IsStarted() && frames < 1000 && game.Frame())
                    ++frames;
                while (menu && !menu->IsReady() && frames < 2000 && game.Frame())
                    ++frames;
                if (menu && menu->IsReady())
                    std::printf("main menu: MainMenu::Enter (with the level load) %.1f ms; ready %u frames after loading\n",
                                enter.seconds * 1e3, static_cast<unsigned>(frames));
                else
                    std::printf("main menu: not reached\n");
            }
        }
    }
    std::error_code ec;
    fs::remove_all(documents, ec);
    return status;
}
