// The resource system's file table: what a scan records, what a rescan announces, which path a
// repeated file name resolves to, per-extension events, and the walk's handling of links.
#include "engine/AssetPath.h"
#include "engine/Engine.h"
#include "engine/ResourceSystem.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace quellor {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A file-changed listener that keeps the paths it was given, in order.
struct Announcements {
    void Heard(const FileInfo& file) { paths.push_back(file.path); }
    std::vector<std::string> paths;
};

class ResourceScanTest : public ::testing::Test {
protected:
    void TearDown() override { Engine::DestroyInstance(); }

    // Adds a resource system to a fresh engine; `heard` listens from before the first scan.
    ResourceSystem* Start()
    {
        auto* system = new ResourceSystem;
        system->GetFileChangedEvent().ConnectSlot(MakeDelegate(&heard, &Announcements::Heard), 1, false);
        Engine::Instance()->AddSystem(ResourceSystem::ID, system, "default");
        return system;
    }

    // Moves a file's write time forward, as saving it again would, without waiting.
    void Touch(const std::string& path)
    {
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    }

    std::vector<std::string> Keys(const ResourceSystem& system)
    {
        std::vector<std::string> keys;
        for (const auto& entry : system.GetFiles())
            keys.push_back(entry.first);
        return keys;
    }

    tarsel::test::TempDir dir;
    tarsel::test::WorkingDirectory cwd{dir.Path()};
    Announcements heard;
};

TEST_F(ResourceScanTest, RecordsOnlyKnownExtensionsExactlyAsWritten)
{
    dir.Write("textures/fonts/font_32.dds", "x");
    dir.Write("textures/LOUD.DDS", "x");
    dir.Write("textures/quiet.dds", "x");
    dir.Write("models/hero.model.bak", "x");
    dir.Write("models/hero.model.png", "x");
    dir.Write("models/ship.model", "x");
    dir.Write("README", "x");
    dir.Write("notes.txt", "x");
    dir.Write("folder.ql/inside", "x");
    ResourceSystem* system = Start();

    EXPECT_THAT(Keys(*system), ElementsAre("font_32.dds", "hero.model.png", "quiet.dds", "ship.model"));

    const FileInfo& font = system->GetFiles().at("font_32.dds");
    EXPECT_EQ(font.path, "textures/fonts/font_32.dds");
    EXPECT_EQ(font.fileName, "font_32.dds");
    EXPECT_EQ(font.name, "font_32");
    EXPECT_EQ(font.extension, "dds");
    EXPECT_EQ(font.lastWrite, fs::last_write_time("textures/fonts/font_32.dds"));

    const FileInfo& layered = system->GetFiles().at("hero.model.png");
    EXPECT_EQ(layered.name, "hero.model");
    EXPECT_EQ(layered.extension, "png");

    // Look-ups by file name: exact names only, never a path.
    EXPECT_EQ(system->FindFile("font_32.dds"), &font);
    EXPECT_EQ(system->FindFile("LOUD.DDS"), nullptr);
    EXPECT_EQ(system->FindFile("textures/quiet.dds"), nullptr);

    // The first scan announces every file it records, in walk order.
    EXPECT_THAT(heard.paths, ElementsAre("models/hero.model.png", "models/ship.model", "textures/fonts/font_32.dds",
                                         "textures/quiet.dds"));
}

TEST_F(ResourceScanTest, RecordsEveryContentTypeAndNothingNearIt)
{
    const std::vector<std::string> known = {"png", "dds",  "bff", "shape", "vs",   "ps",   "gs",
                                            "lvl", "world", "dialogue", "ql", "py", "lua", "wav",
                                            "mp3", "ogg",  "arch", "model", "anim", "mat", "pe",
                                            "hlsl", "vert", "frag", "fnt", "sprite", "particle"};
    for (const std::string& extension : known)
        dir.Write("all/file_" + extension + "." + extension, "x");
    for (const char* near : {"PNG", "Ql", "qml", "arc", "pe~", "json", "xml", "glsl"})
        dir.Write(std::string("near/file.") + near, "x");
    ResourceSystem* system = Start();
    EXPECT_EQ(system->GetFiles().size(), known.size());
    for (const std::string& extension : known)
        EXPECT_EQ(system->GetFiles().count("file_" + extension + "." + extension), 1u) << extension;
}

TEST_F(ResourceScanTest, RescanAnnouncesNewAndTouchedFilesOnce)
{
    dir.Write("levels/Beta.ql", "<level/>");
    dir.Write("levels/Other.ql", "<level/>");
    ResourceSystem* system = Start();
    heard.paths.clear();

    system->Rescan();
    EXPECT_THAT(heard.paths, IsEmpty());

    Touch("levels/Beta.ql");
    system->Rescan();
    EXPECT_THAT(heard.paths, ElementsAre("levels/Beta.ql"));
    EXPECT_EQ(system->GetFiles().at("Beta.ql").lastWrite, fs::last_write_time("levels/Beta.ql"));

    heard.paths.clear();
    system->Rescan();
    EXPECT_THAT(heard.paths, IsEmpty());

    dir.Write("archetypes/orb.arch", "<orb/>");
    system->Rescan();
    EXPECT_THAT(heard.paths, ElementsAre("archetypes/orb.arch"));
    EXPECT_EQ(system->GetFiles().at("orb.arch").path, "archetypes/orb.arch");

    // An older write time (a file restored from a backup) is not newer.
    heard.paths.clear();
    fs::last_write_time("levels/Other.ql", fs::last_write_time("levels/Other.ql") - std::chrono::hours(1));
    system->Rescan();
    EXPECT_THAT(heard.paths, IsEmpty());
}

TEST_F(ResourceScanTest, DeletedFileKeepsItsEntryAndRescanStaysQuiet)
{
    dir.Write("levels/Beta.ql", "<level/>");
    ResourceSystem* system = Start();
    const FileInfo before = system->GetFiles().at("Beta.ql");
    heard.paths.clear();

    fs::remove("levels/Beta.ql");
    tarsel::test::StdoutCapture out;
    system->Rescan();
    EXPECT_THAT(heard.paths, IsEmpty());
    EXPECT_EQ(out.Text(), "");
    ASSERT_EQ(system->GetFiles().count("Beta.ql"), 1u);
    EXPECT_EQ(system->GetFiles().at("Beta.ql").path, before.path);
    EXPECT_EQ(system->GetFiles().at("Beta.ql").lastWrite, before.lastWrite);
}

TEST_F(ResourceScanTest, RepeatedFileNameResolvesToTheFirstPathInByteOrder)
{
    // Byte order puts "B" before "a", whatever the locale's collation says.
    dir.Write("a/x.ql", "<a/>");
    dir.Write("B/x.ql", "<b/>");
    dir.Write("B.ql/x.ql", "<c/>");
    for (int run = 0; run < 3; ++run) {
        ResourceSystem* system = Start();
        EXPECT_EQ(system->GetFiles().at("x.ql").path, "B/x.ql") << "run " << run;
        EXPECT_EQ(heard.paths, std::vector<std::string>{"B/x.ql"}) << "run " << run;
        heard.paths.clear();
        Engine::DestroyInstance();
    }

    // Only the first path is ever examined: touching another copy announces nothing.
    ResourceSystem* system = Start();
    heard.paths.clear();
    Touch("a/x.ql");
    system->Rescan();
    EXPECT_THAT(heard.paths, IsEmpty());
}

TEST_F(ResourceScanTest, UnreadableWriteTimeIsNotRecordedAndKeepsAKnownEntry)
{
    dir.Write("kept/level.ql", "<a/>");
    dir.Write("later/level.ql", "<b/>");
    fs::create_symlink(dir / "missing.ql", dir / "dangling.ql");
    fs::create_symlink(dir / "missing.txt", dir / "ignored.txt");
    ResourceSystem* system;
    {
        tarsel::test::StdoutCapture out;
        system = Start();
        const std::string text = out.Text();
        EXPECT_THAT(text, HasSubstr("Warning: cannot read the write time of \"dangling.ql\""));
        // Files of unknown extensions are never looked at.
        EXPECT_THAT(text, ::testing::Not(HasSubstr("ignored.txt")));
    }
    EXPECT_EQ(system->GetFiles().count("dangling.ql"), 0u);
    EXPECT_EQ(system->GetFiles().at("level.ql").path, "kept/level.ql");

    // The recorded path goes while another file of the same name remains: the entry stays as
    // it was, with a warning and no announcement.
    const auto recorded = system->GetFiles().at("level.ql").lastWrite;
    heard.paths.clear();
    fs::remove("kept/level.ql");
    Touch("later/level.ql");
    tarsel::test::StdoutCapture out;
    system->Rescan();
    EXPECT_THAT(out.Text(), HasSubstr("Warning: cannot read the write time of \"kept/level.ql\""));
    EXPECT_THAT(heard.paths, IsEmpty());
    EXPECT_EQ(system->GetFiles().at("level.ql").path, "kept/level.ql");
    EXPECT_EQ(system->GetFiles().at("level.ql").lastWrite, recorded);
}

TEST_F(ResourceScanTest, ExtensionEventsHearOnlyTheirExtensionUntilShutdown)
{
    dir.Write("levels/Beta.ql", "<level/>");
    ResourceSystem* system = Start();
    Announcements levels, archetypes;
    system->GetExtensionEvent("ql").ConnectSlot(MakeDelegate(&levels, &Announcements::Heard), 0, false);
    system->GetExtensionEvent("arch").ConnectSlot(MakeDelegate(&archetypes, &Announcements::Heard), 0, false);
    // Asking again gives the same event.
    EXPECT_EQ(&system->GetExtensionEvent("ql"), &system->GetExtensionEvent("ql"));

    dir.Write("levels/Gamma.ql", "<level/>");
    dir.Write("archetypes/orb.arch", "<orb/>");
    dir.Write("textures/sky.png", "x");
    Touch("levels/Beta.ql");
    system->Rescan();
    EXPECT_THAT(levels.paths, ElementsAre("levels/Beta.ql", "levels/Gamma.ql"));
    EXPECT_THAT(archetypes.paths, ElementsAre("archetypes/orb.arch"));

    // Shutdown releases the events: their former listeners hear nothing more.
    system->Shutdown();
    dir.Write("levels/Delta.ql", "<level/>");
    system->Rescan();
    EXPECT_THAT(levels.paths, ElementsAre("levels/Beta.ql", "levels/Gamma.ql"));
    EXPECT_EQ(system->GetFiles().count("Delta.ql"), 1u);
}

TEST_F(ResourceScanTest, WalkFollowsLinksAndEndsOnALinkLoop)
{
    tarsel::test::TempDir elsewhere;
    elsewhere.Write("orb.arch", "<orb/>");
    dir.Write("loop/a.ql", "<a/>");
    fs::create_symlink(dir.Path(), dir / "loop/back");
    fs::create_symlink(dir / "loop", dir / "loop/self");
    fs::create_directories(dir / "content/archetypes");
    fs::create_symlink(elsewhere / "orb.arch", dir / "content/archetypes/orb.arch");
    ResourceSystem* system = Start();
    EXPECT_EQ(system->GetFiles().at("a.ql").path, "loop/a.ql");
    EXPECT_EQ(system->GetFiles().at("orb.arch").path, "content/archetypes/orb.arch");
    EXPECT_EQ(system->GetFiles().at("orb.arch").lastWrite, fs::last_write_time(elsewhere / "orb.arch"));
    EXPECT_EQ(heard.paths.size(), 2u);
}

TEST(AssetPathTest, SplitsNestedAndBarePaths)
{
    const AssetPath nested("sounds/sfx/game_over.ogg");
    EXPECT_EQ(nested.directory, "sounds/sfx");
    EXPECT_EQ(nested.fileName, "game_over.ogg");
    EXPECT_EQ(nested.extension, ".ogg");
    EXPECT_EQ(nested.fullPath, "sounds/sfx/game_over.ogg");

    // Without a separator the path is its own folder.
    const AssetPath bare("game_over.ogg");
    EXPECT_EQ(bare.directory, "game_over.ogg");
    EXPECT_EQ(bare.fileName, "game_over.ogg");
    EXPECT_EQ(bare.extension, ".ogg");
    EXPECT_EQ(bare.fullPath, "game_over.ogg");

    // Cut at the first NUL; a backslash separates too; no dot, no extension.
    const AssetPath cut(std::string("music\\theme.mp3\0.wav", 21));
    EXPECT_EQ(cut.fullPath, "music\\theme.mp3");
    EXPECT_EQ(cut.directory, "music");
    EXPECT_EQ(cut.fileName, "theme.mp3");
    EXPECT_EQ(cut.extension, ".mp3");
    EXPECT_EQ(AssetPath("sounds/README").extension, "");
}

} // namespace
} // namespace quellor
