#include "renderer/Config.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using tarsel::test::TempDir;
using ZOR::Anisotropy;
using ZOR::CompatibilityMode;
using ZOR::Config;
using ZOR::Dimension;
using ZOR::MSAALevel;

Config LoadConfig(const TempDir& dir, const std::string& text)
{
    dir.Write("config.ini", text);
    return Config((dir / "config.ini").string());
}

TEST(Config, MissingFileGivesDefaultsAndSavesGoNowhere)
{
    TempDir dir;
    Config config((dir / "config.ini").string());
    EXPECT_EQ(config.GetResolution().width, 0u);
    EXPECT_EQ(config.GetResolution().height, 0u);
    EXPECT_FALSE(config.GetFullscreen());
    EXPECT_FALSE(config.GetVsync());
    EXPECT_EQ(config.GetCompatibilityMode(), CompatibilityMode::DirectX10_0);
    EXPECT_EQ(config.GetMSAALevel(), MSAALevel::Samples1);
    EXPECT_EQ(config.GetAnisotropy(), Anisotropy::X16);
    EXPECT_EQ(config.GetFileName(), "");

    // The file name stays empty, so the write-back fails quietly until a Save names a path.
    config.SaveAnisotropy(Anisotropy::X16);
    config.SaveResolution(Dimension(0, 0));
    config.SaveFullscreen(true);
    config.SaveMSAALevel(MSAALevel::Samples1);
    config.SaveCompatibilityMode(CompatibilityMode::DirectX10_1);
    config.SaveVsync(true);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    EXPECT_TRUE(config.GetVsync());
    EXPECT_TRUE(config.GetFullscreen());

    ASSERT_TRUE(config.Save((dir / "config.ini").string()));
    EXPECT_EQ(dir.Read("config.ini"),
              "[ZOR_CONFIG]\nANISOTROPY=16\nWIDTH=0\nHEIGHT=0\nFULLSCREEN=1\nCOMPATIBILITY=DIRECTX10.1\nVSYNC=1\n");
    Config back((dir / "config.ini").string());
    EXPECT_EQ(back.GetCompatibilityMode(), CompatibilityMode::DirectX10_1);
    EXPECT_TRUE(back.GetFullscreen());
    EXPECT_TRUE(back.GetVsync());
    EXPECT_EQ(back.GetAnisotropy(), Anisotropy::X16);
}

TEST(Config, ReadsEverySetting)
{
    TempDir dir;
    Config config = LoadConfig(dir,
                               "[ZOR_CONFIG]\nWIDTH=1280\nHEIGHT=720\nFULLSCREEN=1\nVSYNC=0\n"
                               "COMPATIBILITY=DIRECTX9.2\nANISOTROPY=8\n");
    EXPECT_EQ(config.GetResolution().width, 1280u);
    EXPECT_EQ(config.GetResolution().height, 720u);
    EXPECT_TRUE(config.GetFullscreen());
    EXPECT_FALSE(config.GetVsync());
    EXPECT_EQ(config.GetCompatibilityMode(), CompatibilityMode::DirectX9_2);
    EXPECT_EQ(config.GetAnisotropy(), Anisotropy::X8);
    EXPECT_EQ(config.GetFileName(), (dir / "config.ini").string());
}

TEST(Config, CompatibilityTextMustMatchExactly)
{
    const char* texts[] = {"DIRECTX9.1", "DIRECTX9.2", "DIRECTX9.3", "DIRECTX10.0", "DIRECTX10.1", "DIRECTX11.0"};
    for (unsigned i = 0; i < 6; ++i) {
        TempDir dir;
        Config config = LoadConfig(dir, std::string("[ZOR_CONFIG]\nCOMPATIBILITY=") + texts[i] + "\n");
        EXPECT_EQ(config.GetCompatibilityMode(), static_cast<CompatibilityMode>(i)) << texts[i];
    }
    for (const char* other : {"directx11.0", " DIRECTX11.0", "DIRECTX11.0 ", "DIRECTX12.0", "5", ""}) {
        TempDir dir;
        Config config = LoadConfig(dir, std::string("[ZOR_CONFIG]\nCOMPATIBILITY=") + other + "\n");
        EXPECT_EQ(config.GetCompatibilityMode(), CompatibilityMode::DirectX10_0) << '"' << other << '"';
    }
    // Only the renderer's own section counts.
    TempDir dir;
    Config elsewhere = LoadConfig(dir, "[OTHER]\nCOMPATIBILITY=DIRECTX11.0\n");
    EXPECT_EQ(elsewhere.GetCompatibilityMode(), CompatibilityMode::DirectX10_0);
}

TEST(Config, AnisotropyLevelsMapToValuesAndAnythingElseIsSixteen)
{
    const struct {
        const char* text;
        Anisotropy expected;
    } cases[] = {
        {"1", Anisotropy::X1}, {"2", Anisotropy::X2}, {"4", Anisotropy::X4}, {"8", Anisotropy::X8},
        {"16", Anisotropy::X16}, {"3", Anisotropy::X16}, {"0", Anisotropy::X16}, {"-1", Anisotropy::X16},
        {"32", Anisotropy::X16}, {"abc", Anisotropy::X16}, {"8x", Anisotropy::X8},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Config config = LoadConfig(dir, std::string("[ZOR_CONFIG]\nANISOTROPY=") + c.text + "\n");
        EXPECT_EQ(config.GetAnisotropy(), c.expected) << c.text;
    }
}

TEST(Config, SaveVsyncRewritesTheFileKeepingEverythingElse)
{
    TempDir dir;
    Config config = LoadConfig(dir,
                               "; written by hand\n[SOUND]\nMUTE_ALL=0\n[ZOR_CONFIG]\nWIDTH=800\nVSYNC=0\n"
                               "HEIGHT=600\n[EFFECTS]\nBLOOM=1\n");
    config.SaveVsync(true);
    EXPECT_TRUE(config.GetVsync());
    EXPECT_EQ(dir.Read("config.ini"),
              "[EFFECTS]\nBLOOM=1\n[SOUND]\nMUTE_ALL=0\n[ZOR_CONFIG]\nWIDTH=800\nVSYNC=1\nHEIGHT=600\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "config.ini.tmp"));
}

TEST(Config, SaveOperationsWriteTheirKeys)
{
    TempDir dir;
    Config config = LoadConfig(dir, "[ZOR_CONFIG]\nFULLSCREEN=1\n");
    config.SaveResolution(Dimension(1920, 1080));
    config.SaveFullscreen(false);
    config.SaveCompatibilityMode(CompatibilityMode::DirectX11_0);
    config.SaveAnisotropy(Anisotropy::X2);
    EXPECT_EQ(dir.Read("config.ini"),
              "[ZOR_CONFIG]\nFULLSCREEN=0\nWIDTH=1920\nHEIGHT=1080\nCOMPATIBILITY=DIRECTX11.0\nANISOTROPY=2\n");
    Config back((dir / "config.ini").string());
    EXPECT_EQ(back.GetResolution().width, 1920u);
    EXPECT_EQ(back.GetResolution().height, 1080u);
    EXPECT_EQ(back.GetAnisotropy(), Anisotropy::X2);
    EXPECT_EQ(back.GetCompatibilityMode(), CompatibilityMode::DirectX11_0);
}

TEST(Config, SaveMSAALevelChangesNothing)
{
    TempDir dir;
    const std::string text = "; comment stays\n[ZOR_CONFIG]\nWIDTH=640\n";
    Config config = LoadConfig(dir, text);
    config.SaveMSAALevel(MSAALevel::Samples8);
    EXPECT_EQ(config.GetMSAALevel(), MSAALevel::Samples1);
    EXPECT_EQ(dir.Read("config.ini"), text);
    EXPECT_EQ(config.Read<std::string>("ZOR_CONFIG", "MSAA"), "");
}

TEST(Config, OutOfRangeValuesAreStoredButWriteNoKey)
{
    TempDir dir;
    Config config = LoadConfig(dir, "[ZOR_CONFIG]\nANISOTROPY=4\nCOMPATIBILITY=DIRECTX9.3\n");
    dir.Write("config.ini", "stale");
    config.SaveAnisotropy(static_cast<Anisotropy>(5));
    EXPECT_EQ(config.GetAnisotropy(), static_cast<Anisotropy>(5));
    // The file is still saved, with the old keys.
    EXPECT_EQ(dir.Read("config.ini"), "[ZOR_CONFIG]\nANISOTROPY=4\nCOMPATIBILITY=DIRECTX9.3\n");

    dir.Write("config.ini", "stale");
    config.SaveCompatibilityMode(static_cast<CompatibilityMode>(6));
    EXPECT_EQ(config.GetCompatibilityMode(), static_cast<CompatibilityMode>(6));
    EXPECT_EQ(dir.Read("config.ini"), "[ZOR_CONFIG]\nANISOTROPY=4\nCOMPATIBILITY=DIRECTX9.3\n");
}

TEST(Config, CopiesCarryTheFileAndWriteItBack)
{
    TempDir dir;
    Config original = LoadConfig(dir, "[ZOR_CONFIG]\nWIDTH=1024\nHEIGHT=768\n[QUALITY]\nGRAPHICS=HIGH\n");
    Config copy = original;
    copy.SaveFullscreen(true);
    EXPECT_FALSE(original.GetFullscreen());
    EXPECT_TRUE(copy.GetFullscreen());
    EXPECT_EQ(copy.GetResolution().width, 1024u);
    EXPECT_EQ(dir.Read("config.ini"), "[QUALITY]\nGRAPHICS=HIGH\n[ZOR_CONFIG]\nWIDTH=1024\nHEIGHT=768\nFULLSCREEN=1\n");
}

} // namespace
