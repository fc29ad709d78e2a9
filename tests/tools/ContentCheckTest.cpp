// The content name check on the built content folder, and on copies with files taken out.
#include "tools/contentcheck/ContentCheck.h"

#include "tests/support/ContentDir.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace {

namespace fs = std::filesystem;
using tarsel::test::ContentDir;
using tarsel::test::TempDir;

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// A copy of the built content made of links to its files.
void LinkCopy(const fs::path& from, const fs::path& to)
{
    for (auto it = fs::recursive_directory_iterator(from); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path target = to / it->path().lexically_relative(from);
        if (it->is_directory())
            fs::create_directories(target);
        else
            fs::create_symlink(fs::canonical(it->path()), target);
    }
}

TEST(ContentCheck, TheBuiltContentHoldsEveryNamedFileOnceAndParses)
{
    const tarsel::tools::CheckReport report = tarsel::tools::CheckContent(TARSEL_SOURCE_DIR, ContentDir());
    EXPECT_TRUE(report.problems.empty()) << Lines(report.problems);
    // The check sees names from each of its sources.
    EXPECT_GT(tarsel::tools::NamesInSources(TARSEL_SOURCE_DIR).size(), 100u);
    EXPECT_GE(tarsel::tools::ComposedNames(TARSEL_SOURCE_DIR).size(), 94u + 28u);
    EXPECT_GT(tarsel::tools::NamesInContent(ContentDir()).size(), 100u);
}

TEST(ContentCheck, EachNamedFileTakenOutIsReportedWithItsSource)
{
    TempDir copy;
    LinkCopy(ContentDir(), copy.Path());
    std::vector<tarsel::tools::NamedFile> names = tarsel::tools::NamesInSources(TARSEL_SOURCE_DIR);
    for (auto& named : tarsel::tools::ComposedNames(TARSEL_SOURCE_DIR))
        names.push_back(named);
    for (auto& named : tarsel::tools::NamesInContent(ContentDir()))
        names.push_back(named);
    // Take out every named file but the materials and emitters, whose own names are checked.
    std::set<std::string> removed;
    for (auto it = fs::recursive_directory_iterator(copy.Path()); it != fs::recursive_directory_iterator(); ++it)
        for (const auto& named : names)
            if (it->path().filename() == fs::path(named.name).filename() && it->path().extension() != ".mat" &&
                it->path().extension() != ".pe" && it->path().extension() != ".ql" && it->path().extension() != ".arch")
                removed.insert(it->path().string());
    ASSERT_GT(removed.size(), 150u);
    for (const std::string& path : removed)
        fs::remove(path);
    const std::string report = Lines(tarsel::tools::CheckContent(TARSEL_SOURCE_DIR, copy.Path()).problems);
    for (const auto& named : names) {
        const bool gone = std::any_of(removed.begin(), removed.end(), [&](const std::string& path) {
            return fs::path(path).filename() == fs::path(named.name).filename();
        });
        if (gone) {
            EXPECT_NE(report.find("missing " + named.name + " (named in "), std::string::npos) << named.name;
        }
    }
    // A name with a folder is looked for at that path only.
    EXPECT_NE(report.find("missing fonts/font_32.bff"), std::string::npos);
}

TEST(ContentCheck, MaterialsEmittersLevelsAndArchetypesTakenOutAreReportedWithTheirSource)
{
    std::vector<tarsel::tools::NamedFile> names = tarsel::tools::NamesInSources(TARSEL_SOURCE_DIR);
    for (auto& named : tarsel::tools::ComposedNames(TARSEL_SOURCE_DIR))
        names.push_back(named);
    for (auto& named : tarsel::tools::NamesInContent(ContentDir()))
        names.push_back(named);
    // Files that name other files, a round for each kind that only other kinds name; a name
    // read from a file taken out in the same round has nobody left asking for it.
    const std::vector<std::set<std::string>> rounds = {{".mat", ".pe"}, {".ql", ".arch"}};
    for (const std::set<std::string>& kinds : rounds) {
        TempDir copy;
        LinkCopy(ContentDir(), copy.Path());
        std::set<std::string> removed;
        for (auto it = fs::recursive_directory_iterator(copy.Path()); it != fs::recursive_directory_iterator(); ++it)
            if (it->is_regular_file() && kinds.count(it->path().extension().string()))
                removed.insert(it->path().filename().string());
        for (auto it = fs::recursive_directory_iterator(copy.Path()); it != fs::recursive_directory_iterator();) {
            const fs::path path = it->path();
            ++it;
            if (removed.count(path.filename().string()))
                fs::remove(path);
        }
        const std::string report = Lines(tarsel::tools::CheckContent(TARSEL_SOURCE_DIR, copy.Path()).problems);
        std::size_t checked = 0;
        for (const auto& named : names) {
            const std::string file = fs::path(named.name).filename().string();
            if (!removed.count(file) || kinds.count(fs::path(named.source).extension().string()))
                continue;
            ++checked;
            EXPECT_NE(report.find("missing " + named.name + " (named in "), std::string::npos) << named.name;
        }
        EXPECT_GT(checked, 3u) << *kinds.begin();
    }
}

TEST(ContentCheck, ClashingNamesAndBadLevelsAreReported)
{
    TempDir copy;
    copy.Write("levels/broken.ql", "<?xml version=\"1.0\"?>\n<Level><a></Level>\n");
    copy.Write("materials/one/same.mat", "[BLEND_MODE]\nVALUE=0\n");
    copy.Write("materials/two/same.mat", "[BLEND_MODE]\nVALUE=0\n[TEXTURE_MAP]\n0=nowhere.dds\n");
    const std::string report = Lines(tarsel::tools::CheckContent(TARSEL_SOURCE_DIR, copy.Path()).problems);
    EXPECT_NE(report.find("bad XML in levels/broken.ql"), std::string::npos) << report;
    EXPECT_NE(report.find("the file name same.mat is used twice"), std::string::npos) << report;
    EXPECT_NE(report.find("missing nowhere.dds (named in materials/two/same.mat)"), std::string::npos) << report;
}

// The copy's file, unlinked and rewritten with the first `from` (and its closing tag) as `to`.
void Misspell(const fs::path& copy, const std::string& file, const std::string& from, const std::string& to)
{
    std::ifstream in(copy / file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    for (const std::string& tag : {"<" + from + ">", "</" + from + ">"}) {
        const std::size_t at = text.find(tag);
        ASSERT_NE(at, std::string::npos) << tag << " in " << file;
        text.replace(at, tag.size(), tag[1] == '/' ? "</" + to + ">" : "<" + to + ">");
    }
    fs::remove(copy / file);
    std::ofstream(copy / file) << text;
}

TEST(ContentCheck, AMisspeltMemberAndClassAreNamedWithFileAndEntity)
{
    TempDir copy;
    LinkCopy(ContentDir(), copy.Path());
    ASSERT_NO_FATAL_FAILURE(Misspell(copy.Path(), "archetypes/beta_player.arch", "m_speed", "m_sped"));
    // The menu level's first entity is the main menu's board, its model its second component.
    ASSERT_NO_FATAL_FAILURE(Misspell(copy.Path(), "levels/MainMenuTest.ql", "GraphicsComponent3D", "GraphicsComponant3D"));
    const std::vector<std::string> problems = tarsel::tools::CheckContent(TARSEL_SOURCE_DIR, copy.Path()).problems;
    const std::string report = Lines(problems);
    EXPECT_EQ(problems.size(), 2u) << report;
    EXPECT_NE(report.find("archetypes/beta_player.arch:"), std::string::npos) << report;
    EXPECT_NE(report.find(": entity beta_player: no member m_sped in CharacterMotor3D"), std::string::npos) << report;
    EXPECT_NE(report.find("levels/MainMenuTest.ql:15: entity mainMenuBoard: no class GraphicsComponant3D"),
              std::string::npos)
        << report;

    // A value of the wrong class inside a member, and a class files cannot add, are named too.
    copy.Write("archetypes/odd.arch", "<?xml version=\"1.0\"?>\n<Odd>\n  <Transform3D>\n"
                                      "    <m_rotation><Vec4><x><float value=\"0\"/></x></Vec4></m_rotation>\n"
                                      "  </Transform3D>\n  <Vec4/>\n</Odd>\n");
    const std::string odd = Lines(tarsel::tools::UnknownNames(copy.Path()));
    EXPECT_NE(odd.find("archetypes/odd.arch:4: entity odd: Transform3D.m_rotation holds a Vec4, not a Quat"),
              std::string::npos)
        << odd;
    EXPECT_NE(odd.find("archetypes/odd.arch:6: entity odd: Vec4 is not a component"), std::string::npos) << odd;
}

} // namespace
