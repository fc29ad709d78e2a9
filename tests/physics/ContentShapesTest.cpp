// Every collision shape that the game's levels and archetypes name is in the built content and
// passes the shape checks, both in process and through the shape tool.
#include "physics/CheckShapePiece3D.h"
#include "physics/LoadShapeData.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tools/writers/ShapeBuilder.h"
#include "tools/writers/ShapeWriter.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sys/wait.h>

namespace quellor {
namespace {

namespace fs = std::filesystem;

using tarsel::test::ContentDir;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs the command, returning its exit status and standard output.
int RunTool(const std::string& command, std::string& output)
{
    output.clear();
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ContentShapesTest, EveryNamedShapeIsBuiltAndPassesTheChecks)
{
    const fs::path content = ContentDir();
    ASSERT_TRUE(fs::is_directory(content)) << content;

    // Files are found by name, as the resource system finds them.
    std::map<std::string, fs::path> files;
    std::set<std::string> named;
    const std::regex shapeValue(R"re("([^"]+\.shape)")re");
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(content)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path& path = entry.path();
        files.emplace(path.filename().string(), path);
        if (path.extension() != ".ql" && path.extension() != ".arch")
            continue;
        const std::string text = ReadAll(path);
        for (auto match = std::sregex_iterator(text.begin(), text.end(), shapeValue); match != std::sregex_iterator();
             ++match)
            named.insert((*match)[1].str());
    }
    ASSERT_FALSE(named.empty()) << "the content names no collision shape";

    for (const std::string& name : named) {
        const auto found = files.find(name);
        ASSERT_NE(found, files.end()) << name << " is named but not in " << content;

        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(ReadShapeFile3D(found->second.string(), bytes)) << name;
        std::vector<ShapeFilePiece3D> pieces;
        std::string reason;
        ASSERT_TRUE(ParseShapeFile3D(bytes.data(), bytes.size(), pieces, reason)) << name << ": " << reason;
        EXPECT_FALSE(pieces.empty()) << name;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].leftovers, 0u) << name << " piece " << i;
            const ShapePieceCheck3D check = CheckShapePiece3D(pieces[i].vertices, pieces[i].indices);
            EXPECT_TRUE(check.valid) << name << " piece " << i << ": " << check.reason;
        }
        tarsel::test::StdoutCapture quiet;
        EXPECT_EQ(LoadShapeData(found->second.string()).PieceCount(), pieces.size()) << name;
        EXPECT_EQ(quiet.Text(), "") << name;

        std::string output;
        EXPECT_EQ(RunTool(std::string(TARSEL_SHAPETOOL) + " --check '" + found->second.string() + "'", output), 0)
            << output;
        for (std::size_t i = 0; i < pieces.size(); ++i)
            EXPECT_NE(output.find("piece " + std::to_string(i) + ": ok"), std::string::npos) << output;
    }
}

TEST(ContentShapesTest, TheToolRefusesBadFilesPieceByPiece)
{
    tarsel::test::TempDir dir;
    const fs::path& folder = dir.Path();
    // One good tetrahedron, then the same one with only three of its triangles.
    tarsel::tools::ShapePiece good;
    good.vertices = {ZOR::float3(0, 0, 0), ZOR::float3(1, 0, 0), ZOR::float3(0, 1, 0), ZOR::float3(0, 0, 1)};
    good.indices = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3};
    tarsel::tools::ShapePiece open = good;
    open.indices.resize(9);
    const std::string bytes = tarsel::tools::WriteShape({good, open});
    std::ofstream(folder / "half.shape", std::ios::binary) << bytes;
    std::ofstream(folder / "cut.shape", std::ios::binary) << bytes.substr(0, 40);

    std::string output;
    EXPECT_EQ(RunTool(std::string(TARSEL_SHAPETOOL) + " --check '" + (folder / "half.shape").string() + "'", output), 1);
    EXPECT_NE(output.find("piece 0: ok, 4 vertices, 4 triangles"), std::string::npos) << output;
    EXPECT_NE(output.find("piece 1: bad, 9 indices, fewer than 4 triangles"), std::string::npos) << output;
    EXPECT_EQ(RunTool(std::string(TARSEL_SHAPETOOL) + " --check '" + (folder / "cut.shape").string() + "'", output), 1);
    EXPECT_NE(output.find("Error: Failed to load shape data from "), std::string::npos) << output;
    EXPECT_EQ(RunTool(std::string(TARSEL_SHAPETOOL) + " --check '" + (folder / "gone.shape").string() + "'", output), 1);
    EXPECT_EQ(output, "Error: Failed to load shape data from " + (folder / "gone.shape").string() + "\n");
    EXPECT_EQ(RunTool(std::string(TARSEL_SHAPETOOL) + " 2>/dev/null", output), 2);
}

} // namespace
} // namespace quellor
