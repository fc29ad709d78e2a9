// Where config.ini lives, what a first run writes, and how the engine's sections are read back
// and applied to the sound and render systems.
#include "engine/Settings.h"
#include "engine/SoundSystem.h"
#include "platform/Files.h"
#include "renderer/RenderSystem.h"
#include "tests/support/RecordingAudioBackend.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace quellor;
using tarsel::test::TempDir;

namespace {

const char* const kFirstRunText = "[EFFECTS]\n"
                                  "LIGHTING=1\nBLOOM=1\nSHADOWS=1\nGOD_RAYS=1\nSSAO=0\nDEPTH_OF_FIELD=0\n"
                                  "[QUALITY]\n"
                                  "GRAPHICS=ULTRA\nPARTICLE=ULTRA\n"
                                  "[SOUND]\n"
                                  "MUTE_MUSIC=0\nMUTE_ALL=0\n"
                                  "[ZOR_CONFIG]\n"
                                  "ANISOTROPY=16\nWIDTH=0\nHEIGHT=0\nFULLSCREEN=1\nCOMPATIBILITY=DIRECTX10.1\nVSYNC=1\n";

class SettingsApplyTest : public testing::Test {
protected:
    SettingsApplyTest()
        : context(std::make_shared<tarsel::test::RecordingRenderContext>()), render(context, window),
          sound(std::make_unique<tarsel::test::RecordingAudioBackend>())
    {
    }

    // Applies what a config.ini with this text reads as.
    void ApplyFile(const std::string& text)
    {
        folder.Write("config.ini", text);
        ZOR::Config config(LoadConfig((folder / "config.ini").string()));
        ApplyEngineSettings(ReadEngineSettings(config), &sound, &render);
    }

    bool On(ZOR::RenderSystem::Effect effect) { return render.EffectEnabled(effect, ZOR::RenderSystem::All); }

    TempDir folder;
    std::shared_ptr<tarsel::test::RecordingRenderContext> context;
    platform::NativeWindow* window = nullptr;
    ZOR::RenderSystem render;
    SoundSystem sound;
};

} // namespace

TEST(DocumentsFolder, TarselDocumentsThenXdgThenHome)
{
    setenv("TARSEL_DOCUMENTS", "/tmp/documents-a", 1);
    setenv("XDG_DOCUMENTS_DIR", "/tmp/documents-b", 1);
    setenv("HOME", "/tmp/home-c", 1);
    EXPECT_EQ(platform::DocumentsFolder(), std::filesystem::path("/tmp/documents-a"));
    unsetenv("TARSEL_DOCUMENTS");
    EXPECT_EQ(platform::DocumentsFolder(), std::filesystem::path("/tmp/documents-b"));
    setenv("XDG_DOCUMENTS_DIR", "", 1);
    EXPECT_EQ(platform::DocumentsFolder(), std::filesystem::path("/tmp/home-c/Documents"));
}

TEST(ConfigFile, FirstRunCreatesBothFoldersAndTheDefaults)
{
    TempDir documents(true);
    const std::string path = GetConfigPath();
    EXPECT_EQ(path, (documents.Path() / "Corvath" / "Tarsel" / "config.ini").string());
    EXPECT_TRUE(std::filesystem::is_directory(documents / "Corvath/Tarsel"));
    EXPECT_FALSE(std::filesystem::exists(path));

    ZOR::Config config = LoadConfig(path);
    EXPECT_EQ(documents.Read("Corvath/Tarsel/config.ini"), kFirstRunText);
    EXPECT_TRUE(config.GetFullscreen());
    EXPECT_EQ(config.GetCompatibilityMode(), ZOR::CompatibilityMode::DirectX10_1);

    // A second run reads the file and leaves it as it was.
    documents.Write("Corvath/Tarsel/config.ini", "[QUALITY]\nGRAPHICS=low\n");
    ZOR::Config again = LoadConfig(path);
    EXPECT_EQ(documents.Read("Corvath/Tarsel/config.ini"), "[QUALITY]\nGRAPHICS=low\n");
    EXPECT_EQ(again.Read<std::string>("QUALITY", "GRAPHICS"), "low");
}

TEST(ConfigFile, AFolderNamedConfigIniWarnsAndKeepsTheDefaultsInMemory)
{
    TempDir documents(true);
    std::filesystem::create_directories(documents / "Corvath/Tarsel/config.ini");
    tarsel::test::StdoutCapture out;
    ZOR::Config config = LoadConfig(GetConfigPath());
    const std::string text = out.Text();
    EXPECT_NE(text.find("Warning: "), std::string::npos) << text;
    EXPECT_NE(text.find("config.ini"), std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::is_directory(documents / "Corvath/Tarsel/config.ini"));
    const EngineSettings settings = ReadEngineSettings(config);
    EXPECT_TRUE(settings.lighting);
    EXPECT_FALSE(settings.ssao);
    EXPECT_EQ(settings.graphics, "ULTRA");
}

TEST(ConfigFile, DocumentsThatAreAFileWarnAboutTheFolder)
{
    TempDir scratch;
    scratch.Write("not-a-folder", "x");
    setenv("TARSEL_DOCUMENTS", (scratch / "not-a-folder").c_str(), 1);
    tarsel::test::StdoutCapture out;
    const std::string path = GetConfigPath();
    ZOR::Config config = LoadConfig(path);
    const std::string text = out.Text();
    EXPECT_NE(text.find("Warning: cannot create the folder"), std::string::npos) << text;
    EXPECT_TRUE(ReadEngineSettings(config).bloom);
}

TEST(QualityNames, MapByUpperCasedNameOrNotAtAll)
{
    EXPECT_EQ(QualityFromName("low"), ZOR::RenderSystem::Low);
    EXPECT_EQ(QualityFromName("medium"), ZOR::RenderSystem::Medium);
    EXPECT_EQ(QualityFromName("xxMeDyy"), ZOR::RenderSystem::Medium);
    EXPECT_EQ(QualityFromName("High"), ZOR::RenderSystem::High);
    EXPECT_EQ(QualityFromName("Ultra"), ZOR::RenderSystem::Ultra);
    for (const char* junk : {"", "lowest", "HIGHER", " ULTRA", "ultra\xff", "\xe9lev\xe9", "\x80\x81"})
        EXPECT_FALSE(QualityFromName(junk).has_value()) << junk;
    EXPECT_EQ(UpperCase("a\xe9z"), "A\xe9Z");
}

TEST_F(SettingsApplyTest, DefaultsReachTheRenderAndSoundSystems)
{
    render.SetGraphicsQuality(ZOR::RenderSystem::Low);
    render.EnableEffect(ZOR::RenderSystem::SSAO, ZOR::RenderSystem::All);
    ApplyFile(kFirstRunText);
    for (auto effect : {ZOR::RenderSystem::Lighting, ZOR::RenderSystem::Bloom, ZOR::RenderSystem::Shadows,
                        ZOR::RenderSystem::GodRays})
        EXPECT_TRUE(On(effect)) << effect;
    EXPECT_FALSE(On(ZOR::RenderSystem::SSAO));
    EXPECT_FALSE(On(ZOR::RenderSystem::DepthOfField));
    EXPECT_EQ(render.GetGraphicsQuality(), ZOR::RenderSystem::Ultra);
    EXPECT_FALSE(sound.IsMuteAll()); // the system starts muted until the settings arrive
    EXPECT_FALSE(sound.IsMuteMusic());
}

TEST_F(SettingsApplyTest, AFileWithoutTheEngineSectionsTurnsEffectsOffAndKeepsQualities)
{
    render.EnableEffect(ZOR::RenderSystem::Lighting, ZOR::RenderSystem::All);
    render.SetGraphicsQuality(ZOR::RenderSystem::High);
    render.SetParticleQuality(ZOR::RenderSystem::Low);
    const std::string text = "[ZOR_CONFIG]\nWIDTH=640\n";
    ApplyFile(text);
    EXPECT_EQ(folder.Read("config.ini"), text); // not rewritten
    for (auto effect : {ZOR::RenderSystem::Lighting, ZOR::RenderSystem::Bloom, ZOR::RenderSystem::Shadows,
                        ZOR::RenderSystem::GodRays, ZOR::RenderSystem::SSAO, ZOR::RenderSystem::DepthOfField})
        EXPECT_FALSE(On(effect)) << effect;
    EXPECT_EQ(render.GetGraphicsQuality(), ZOR::RenderSystem::High);
    EXPECT_EQ(render.GetParticleQuality(), ZOR::RenderSystem::Low);
    EXPECT_FALSE(sound.IsMuteAll());
    EXPECT_FALSE(sound.IsMuteMusic());
}

TEST_F(SettingsApplyTest, NamesMutesAndSwitchesFromTheFile)
{
    ApplyFile("[EFFECTS]\nSSAO=1\nBLOOM=0\n[QUALITY]\nGRAPHICS=medium\nPARTICLE=Ultra\n"
              "[SOUND]\nMUTE_ALL=1\nMUTE_MUSIC=1\n");
    EXPECT_TRUE(On(ZOR::RenderSystem::SSAO));
    EXPECT_FALSE(On(ZOR::RenderSystem::Bloom));
    EXPECT_EQ(render.GetGraphicsQuality(), ZOR::RenderSystem::Medium);
    EXPECT_EQ(render.GetParticleQuality(), ZOR::RenderSystem::Ultra);
    EXPECT_TRUE(sound.IsMuteAll());
    EXPECT_TRUE(sound.IsMuteMusic());

    render.SetGraphicsQuality(ZOR::RenderSystem::Low);
    ApplyFile("[QUALITY]\nGRAPHICS=\xc3\x9cLTRA\nPARTICLE=junk\n");
    EXPECT_EQ(render.GetGraphicsQuality(), ZOR::RenderSystem::Low);
    EXPECT_EQ(render.GetParticleQuality(), ZOR::RenderSystem::Ultra);
}
