#include "renderer/Animation.h"

#include "tests/support/ContentDir.h"
#include "tests/support/TempDir.h"
#include "tools/writers/ClipLibraryWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

using tarsel::test::ContentDir;
using tarsel::test::TempDir;
namespace character = tarsel::tools::character;

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ClipLibrary, WritesNinetyFourDistinctClipsThatLoad)
{
    TempDir folder;
    ASSERT_TRUE(character::WriteLibrary(folder.Path()));
    const std::vector<std::string> names = character::LibraryNames();
    ASSERT_EQ(names.size(), 94u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 94u);
    std::set<std::string> contents;
    for (const std::string& name : names) {
        const std::string bytes = folder.Read(name);
        contents.insert(bytes);
        ZOR::Animation clip;
        ASSERT_TRUE(clip.Load((folder / name).string())) << name;
        EXPECT_EQ(clip.GetName(), name);
        EXPECT_EQ(clip.GetTracks().size(), 30u) << name;
    }
    EXPECT_EQ(contents.size(), 94u) << "every clip is a pose of its own, so a wrong weight shows";

    // The sets' base clips are the character's plain motions, as the content has them.
    for (const char* name : {"idle_base.anim", "run_base.anim", "inair_base.anim"})
        EXPECT_TRUE(folder.Read(name) == ReadAll(ContentDir() / "animations" / name)) << name;
    for (const char* name : {"damage_back.anim", "damage_front.anim", "damage_left.anim", "damage_right.anim",
                             "run_extremeleft_down_blast.anim", "inair_up.anim"})
        EXPECT_TRUE(std::set<std::string>(names.begin(), names.end()).count(name)) << name;
}

} // namespace
