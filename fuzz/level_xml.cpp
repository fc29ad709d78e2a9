// Feeds arbitrary bytes to the level and archetype loader: each input is written into a
// scanned folder as a level and as an archetype, loaded with ObjectSystem::LoadLevel and cloned
// with ObjectSystem::Clone into a fresh engine (the records of the libraries up to AI and the
// reader's and loader's fixture types registered; the physics, AI and game logic systems there
// for their components to join), and everything is torn down again. It also checks that
// the nesting scan never counts less than the depth of the tree TinyXML builds.
#include "ai/AISystem.h"
#include "ai/RegisterAITypes.h"
#include "engine/Engine.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/XmlFile.h"
#include "frontend/RegisterFrontendTypes.h"
#include "gameplay/GameLogicSystem.h"
#include "physics/PhysicsSystem3D.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

// The fixture component types the loader and reader tests name, so that seeds reach them.
#include "tests/engine/LevelFixtures.cpp"
#include "tests/engine/reflection/EngineFixtures.cpp"

namespace {

namespace fs = std::filesystem;

// A folder of our own for the whole run, removed at exit.
struct Scratch {
    fs::path folder;
    Scratch()
    {
        std::string pattern = (fs::temp_directory_path() / "tarsel-fuzz-level-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        fs::create_directories(folder / "levels");
        fs::create_directories(folder / "archetypes");
    }
    ~Scratch()
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

// The resource system scans the working directory: the scratch folder, for one input only, so
// that the fuzzer's own relative paths (corpus, artifacts) keep their meaning between inputs.
struct InScratch {
    fs::path previous = fs::current_path();
    explicit InScratch(const Scratch& scratch) { fs::current_path(scratch.folder); }
    ~InScratch()
    {
        std::error_code ec;
        fs::current_path(previous, ec);
    }
};

void Write(const char* path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

int TreeDepth(const TiXmlNode* top)
{
    int deepest = 0;
    std::vector<std::pair<const TiXmlNode*, int>> pending{{top, 0}};
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
            if (child->ToElement()) {
                deepest = std::max(deepest, depth + 1);
                pending.emplace_back(child, depth + 1);
            }
    }
    return deepest;
}

// TinyXML links every element it starts, so the finished tree is as deep as its recursion went.
void CheckNestingScan(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(std::min(text.size(), text.find('\0')));
    const int scanned = quellor::XmlNestingDepth(text.c_str(), quellor::kMaxXmlDepth);
    if (scanned > quellor::kMaxXmlDepth)
        return;
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    const int built = TreeDepth(&document);
    if (built > scanned) {
        std::fprintf(stderr, "level_xml fuzz: TinyXML built depth %d, the scan counted %d\n", built, scanned);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Scratch scratch;
    static const bool registered = (quellor::fixtures::RegisterLevelFixtures(),
                                    quellor::fixtures::RegisterEngineFixtures(), quellor::RegisterAITypes(),
                                    quellor::RegisterFrontendTypes(), true);
    (void)registered;

    CheckNestingScan(data, size);

    InScratch inScratch(scratch);
    Write("levels/fuzz.ql", data, size);
    Write("archetypes/fuzz.arch", data, size);
    quellor::Engine* engine = quellor::Engine::Instance();
    engine->AddSystem("PhysicsSystem3D", new quellor::PhysicsSystem3D, "default");
    engine->AddSystem(quellor::ResourceSystem::ID, new quellor::ResourceSystem, "default");
    engine->AddSystem(quellor::AISystem::ID, new quellor::AISystem, "default");
    auto* objects = static_cast<quellor::ObjectSystem*>(
        engine->AddSystem(quellor::ObjectSystem::ID, new quellor::ObjectSystem, "default"));
    engine->AddSystem(quellor::GameLogicSystem::ID, new quellor::GameLogicSystem, "default");
    objects->LoadLevel("fuzz.ql");
    objects->Clone("fuzz.arch", objects->UniqueEntityName("fuzzed"), "default");
    quellor::Engine::DestroyInstance();
    return 0;
}
