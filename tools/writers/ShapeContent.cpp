#include "tools/writers/ShapeContent.h"

#include "tools/writers/ArenaContent.h"
#include "tools/writers/FileWriting.h"
#include "tools/writers/ShapeBuilder.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

namespace tarsel::tools {

namespace {

using ZOR::float3;

// The sample island: a flat octagonal slab with its top at y = -1, a ramp rising towards +x
// and a ledge turned about y.
std::string SampleIsland()
{
    return WriteShape({
        PrismPiece(float3(0.0f, -2.0f, 0.0f), 10.0f, 1.0f, 8),
        WedgePiece(float3(5.0f, 0.0f, 0.0f), float3(3.0f, 1.0f, 2.0f)),
        OrientedBoxPiece(float3(-5.0f, -0.25f, 3.0f), float3(2.0f, 0.75f, 1.5f), RotationY(0.5f)),
    });
}

// A hexagonal column from y = -3 to 3 with a square cap on top.
std::string SamplePillar()
{
    return WriteShape({
        PrismPiece(float3(0.0f, 0.0f, 0.0f), 1.0f, 3.0f, 6),
        BoxPiece(float3(0.0f, 3.25f, 0.0f), float3(1.5f, 0.25f, 1.5f)),
    });
}

} // namespace

const std::map<std::string, std::function<std::string()>>& ShapeBuilders()
{
    static const std::map<std::string, std::function<std::string()>> builders = [] {
        std::map<std::string, std::function<std::string()>> table = {
            {"sample_island.shape", SampleIsland},
            {"sample_pillar.shape", SamplePillar},
        };
        for (const ArenaDescription& arena : Arenas())
            for (const ArenaIsland& island : arena.islands)
                table[IslandFileName(arena, island, ".shape")] = [island] { return WriteShape(BuildIslandShape(island)); };
        return table;
    }();
    return builders;
}

std::vector<std::string> ShapesNamedIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return {};
    const std::regex value(R"re(value\s*=\s*"([^"]*\.shape)")re");
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() != ".ql" && path.extension() != ".arch")
            continue;
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (auto match = std::sregex_iterator(text.begin(), text.end(), value); match != std::sregex_iterator();
             ++match)
            names.insert((*match)[1].str());
    }
    return {names.begin(), names.end()};
}

bool GenerateShapes(const std::filesystem::path& folder)
{
    bool ok = true;
    for (const std::string& name : ShapesNamedIn(folder)) {
        const auto builder = ShapeBuilders().find(name);
        if (builder == ShapeBuilders().end()) {
            std::fprintf(stderr, "error: the content names the shape %s, which no shape builder makes\n",
                         name.c_str());
            ok = false;
            continue;
        }
        ok = WriteFileIfChanged(folder / "shapes" / name, builder->second()) && ok;
    }
    return ok;
}

} // namespace tarsel::tools
