// Scanning the working directory: the resource system's first scan and a rescan with nothing
// changed, over a generated tree, beside a bare std::filesystem::recursive_directory_iterator
// walk of the same tree in the same run.
//   --smoke   a tiny run for CI: 100 files in 10 folders
#include "engine/Engine.h"
#include "engine/ResourceSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Settings {
    int files = 10000;
    int folders = 500;
    int samples = 7;
};

// Milliseconds of the fastest of several runs.
double BestMilliseconds(int samples, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < samples; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

// Folders two deep ("group07/folder123"), files spread evenly, most with extensions the
// resource system records and some it ignores.
void MakeTree(const fs::path& root, const Settings& settings)
{
    static const char* const kExtensions[] = {"png", "dds", "model", "anim", "mat", "ql", "arch", "ogg", "txt", "bak"};
    for (int i = 0; i < settings.files; ++i) {
        const int folder = i % settings.folders;
        char relative[128];
        std::snprintf(relative, sizeof relative, "group%02d/folder%03d/file%05d.%s", folder % 20, folder, i,
                      kExtensions[i % 10]);
        const fs::path path = root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << i;
    }
}

} // namespace

int main(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            settings.files = 100;
            settings.folders = 10;
            settings.samples = 2;
        }
    }

    std::string pattern = (fs::temp_directory_path() / "tarsel-bench-scan-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::printf("cannot create a temporary folder\n");
        return 1;
    }
    const fs::path root = pattern;
    const fs::path previous = fs::current_path();
    MakeTree(root, settings);
    fs::current_path(root);

    std::size_t recorded = 0;
    const double firstScan = BestMilliseconds(settings.samples, [&] {
        quellor::Engine::DestroyInstance();
        auto* system = new quellor::ResourceSystem;
        quellor::Engine::Instance()->AddSystem(quellor::ResourceSystem::ID, system, "default");
        recorded = system->GetFiles().size();
    });
    auto* system = quellor::Engine::Instance()->GetSystem<quellor::ResourceSystem>("default");
    const double rescan = BestMilliseconds(settings.samples, [&] { system->Rescan(); });
    std::size_t walked = 0;
    const double bareWalk = BestMilliseconds(settings.samples, [&] {
        walked = 0;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(".", ec), end; it != end; it.increment(ec))
            if (it->is_regular_file(ec))
                ++walked;
    });
    quellor::Engine::DestroyInstance();

    fs::current_path(previous);
    std::error_code ec;
    fs::remove_all(root, ec);

    std::printf("tree: %d files in %d folders; %zu recorded, %zu walked\n", settings.files, settings.folders,
                recorded, walked);
    std::printf("first scan:             %9.3f ms\n", firstScan);
    std::printf("rescan, no changes:     %9.3f ms\n", rescan);
    std::printf("bare directory walk:    %9.3f ms\n", bareWalk);
    std::printf("note: first scan %.3f ms, rescan %.3f ms, %.2fx and %.2fx the bare walk\n", firstScan, rescan,
                firstScan / bareWalk, rescan / bareWalk);
    return 0;
}
