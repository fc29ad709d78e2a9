// Parses arbitrary bytes as an INI file, reads every entry as every type, then saves and loads
// the result back through a temporary folder and checks that nothing was lost on the way.
#include "engine/Settings.h"
#include "renderer/INIFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {

// A folder of our own for the whole run, removed at exit.
struct Scratch {
    std::filesystem::path folder;
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarsel-fuzz-ini-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "ini fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Memory grows with the input (a few copies of each line); keep it bounded.
    if (size > (1u << 20))
        return 0;
    static Scratch scratch;
    const auto first = scratch.folder / "first.ini";
    const auto second = scratch.folder / "second.ini";

    ZOR::INIFile file;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    file.Load(in);
    Check(file.Save(first.string()), "save failed");
    const std::string saved = ReadFile(first);

    // The engine's sections: a quality name maps only by the rules, and an absent name to none.
    const quellor::EngineSettings settings = quellor::ReadEngineSettings(file);
    for (const std::string* name : {&settings.graphics, &settings.particle}) {
        const auto level = quellor::QualityFromName(*name);
        if (name->empty())
            Check(!level.has_value(), "an empty quality name maps to a level");
        if (level && *level != ZOR::RenderSystem::Medium)
            Check(*name == "LOW" || *name == "HIGH" || *name == "ULTRA", "quality name maps by mistake");
        if (name->find("MED") != std::string::npos)
            Check(level == ZOR::RenderSystem::Medium, "a name with MED is not medium");
    }

    // The saved form is regular: "[section]" headers and key=value lines split at the first '='.
    std::string section;
    std::set<std::pair<std::string, std::string>> seen;
    std::istringstream lines(saved);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        Check(equals != std::string::npos, "saved entry without '='");
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        (void)file.Read<int>(section, key);
        (void)file.Read<unsigned int>(section, key);
        (void)file.Read<float>(section, key);
        (void)file.Read<bool>(section, key);
        // The first entry of a key wins on reading.
        if (seen.emplace(section, key).second)
            Check(file.Read<std::string>(section, key) == value, "read differs from the first saved value");
    }

    // Writing each value back to its key replaces the first entry in place: nothing changes.
    for (const auto& [s, k] : seen)
        file.Write<std::string>(s, k, file.Read<std::string>(s, k));
    Check(file.Save(first.string()), "second save failed");
    Check(ReadFile(first) == saved, "writing read values back changed the file");

    // A value ending in CR loses it when read back (it looks like a CR LF line end), and the line
    // may then even read as a section header; every other entry must survive unchanged.
    ZOR::INIFile back;
    const bool loaded = back.Load(first.string());
    Check(back.Save(second.string()), "save of the reloaded file failed");
    if (saved.find("\r\n") == std::string::npos) {
        Check(loaded == !saved.empty(), "load of the saved file");
        Check(saved.empty() || ReadFile(second) == saved, "save, load and save changed the entries");
    }
    std::error_code ec;
    std::filesystem::remove(first, ec);
    std::filesystem::remove(second, ec);
    return 0;
}
