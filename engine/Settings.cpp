#include "engine/Settings.h"

#include "engine/SoundSystem.h"
#include "platform/Files.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace quellor {

namespace {

void MakeFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    if (!std::filesystem::is_directory(folder))
        std::printf("Warning: cannot create the folder \"%s\"\n", folder.string().c_str());
}

bool IsPlainFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

} // namespace

std::string GetConfigPath()
{
    std::filesystem::path folder = platform::DocumentsFolder() / "Corvath";
    MakeFolder(folder);
    folder /= "Tarsel";
    MakeFolder(folder);
    return (folder / "config.ini").string();
}

ZOR::Config LoadConfig(const std::string& path)
{
    const bool existed = IsPlainFile(path);
    ZOR::Config config(path);
    if (existed)
        return config;

    // Made empty first, so that a path that cannot hold a file is reported once, here.
    bool created = false;
    {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            std::ofstream file(path, std::ios::out | std::ios::binary);
            created = file.is_open();
        }
    }
    if (!created)
        std::printf("Warning: cannot create \"%s\"; the default settings are kept in memory only\n", path.c_str());

    config.SaveAnisotropy(ZOR::Anisotropy::X16);
    config.SaveResolution(ZOR::Dimension{0, 0});
    config.SaveFullscreen(true);
    config.SaveMSAALevel(ZOR::MSAALevel::Samples1);
    config.SaveCompatibilityMode(ZOR::CompatibilityMode::DirectX10_1);
    config.SaveVsync(true);

    config.Write<bool>("EFFECTS", "LIGHTING", true);
    config.Write<bool>("EFFECTS", "BLOOM", true);
    config.Write<bool>("EFFECTS", "SHADOWS", true);
    config.Write<bool>("EFFECTS", "GOD_RAYS", true);
    config.Write<bool>("EFFECTS", "SSAO", false);
    config.Write<bool>("EFFECTS", "DEPTH_OF_FIELD", false);
    config.Write("QUALITY", "GRAPHICS", "ULTRA");
    config.Write("QUALITY", "PARTICLE", "ULTRA");
    config.Write<bool>("SOUND", "MUTE_MUSIC", false);
    config.Write<bool>("SOUND", "MUTE_ALL", false);
    config.Save(path);
    return config;
}

EngineSettings ReadEngineSettings(const ZOR::INIFile& config)
{
    EngineSettings settings;
    settings.muteAll = config.Read<bool>("SOUND", "MUTE_ALL");
    settings.muteMusic = config.Read<bool>("SOUND", "MUTE_MUSIC");
    settings.lighting = config.Read<bool>("EFFECTS", "LIGHTING");
    settings.bloom = config.Read<bool>("EFFECTS", "BLOOM");
    settings.shadows = config.Read<bool>("EFFECTS", "SHADOWS");
    settings.godRays = config.Read<bool>("EFFECTS", "GOD_RAYS");
    settings.ssao = config.Read<bool>("EFFECTS", "SSAO");
    settings.depthOfField = config.Read<bool>("EFFECTS", "DEPTH_OF_FIELD");
    settings.graphics = UpperCase(config.Read<std::string>("QUALITY", "GRAPHICS"));
    settings.particle = UpperCase(config.Read<std::string>("QUALITY", "PARTICLE"));
    return settings;
}

std::string UpperCase(std::string text)
{
    // toupper takes an unsigned char value: a plain char above 0x7F would be negative.
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            c = static_cast<char>(std::toupper(byte));
    }
    return text;
}

std::optional<ZOR::RenderSystem::Quality> QualityFromName(const std::string& name)
{
    const std::string upper = UpperCase(name);
    if (upper == "LOW")
        return ZOR::RenderSystem::Low;
    if (upper.find("MED") != std::string::npos)
        return ZOR::RenderSystem::Medium;
    if (upper == "HIGH")
        return ZOR::RenderSystem::High;
    if (upper == "ULTRA")
        return ZOR::RenderSystem::Ultra;
    return std::nullopt;
}

void ApplyEngineSettings(const EngineSettings& settings, SoundSystem* sound, ZOR::RenderSystem* render)
{
    if (sound) {
        sound->SetMuteAll(settings.muteAll);
        sound->SetMuteMusic(settings.muteMusic);
    }
    if (!render)
        return;
    const std::pair<ZOR::RenderSystem::Effect, bool> effects[] = {
        {ZOR::RenderSystem::Lighting, settings.lighting}, {ZOR::RenderSystem::Bloom, settings.bloom},
        {ZOR::RenderSystem::Shadows, settings.shadows},   {ZOR::RenderSystem::GodRays, settings.godRays},
        {ZOR::RenderSystem::SSAO, settings.ssao},         {ZOR::RenderSystem::DepthOfField, settings.depthOfField},
    };
    for (const auto& [effect, on] : effects) {
        if (on)
            render->EnableEffect(effect, ZOR::RenderSystem::All);
        else
            render->DisableEffect(effect, ZOR::RenderSystem::All);
    }
    if (auto level = QualityFromName(settings.graphics))
        render->SetGraphicsQuality(*level);
    if (auto level = QualityFromName(settings.particle))
        render->SetParticleQuality(*level);
}

} // namespace quellor
