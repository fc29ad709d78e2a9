#include "renderer/Config.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace ZOR {

namespace {

const char* const kSection = "ZOR_CONFIG";

// Compared exactly, case included.
constexpr std::array<const char*, 6> kCompatibilityTexts = {
    "DIRECTX9.1", "DIRECTX9.2", "DIRECTX9.3", "DIRECTX10.0", "DIRECTX10.1", "DIRECTX11.0",
};

} // namespace

Config::Config(const std::string& path) : INIFile(path)
{
    m_resolution.width = Read<unsigned int>(kSection, "WIDTH");
    m_resolution.height = Read<unsigned int>(kSection, "HEIGHT");
    m_fullscreen = Read<bool>(kSection, "FULLSCREEN");
    m_vsync = Read<bool>(kSection, "VSYNC");

    const std::string compatibility = Read<std::string>(kSection, "COMPATIBILITY");
    for (std::size_t i = 0; i < kCompatibilityTexts.size(); ++i)
        if (compatibility == kCompatibilityTexts[i])
            m_compatibilityMode = static_cast<CompatibilityMode>(i);

    // Only 1, 2, 4 and 8 name a lower level; anything else, a missing key included, is 16x.
    const int anisotropy = Read<int>(kSection, "ANISOTROPY");
    m_anisotropy = Anisotropy::X16;
    for (std::size_t i = 0; i + 1 < kAnisotropyLevels.size(); ++i)
        if (anisotropy == static_cast<int>(kAnisotropyLevels[i]))
            m_anisotropy = static_cast<Anisotropy>(i);
}

void Config::SaveResolution(const Dimension& resolution)
{
    m_resolution = resolution;
    Write<unsigned int>(kSection, "WIDTH", resolution.width);
    Write<unsigned int>(kSection, "HEIGHT", resolution.height);
    Save(GetFileName());
}

void Config::SaveFullscreen(bool fullscreen)
{
    m_fullscreen = fullscreen;
    Write<bool>(kSection, "FULLSCREEN", fullscreen);
    Save(GetFileName());
}

void Config::SaveVsync(bool vsync)
{
    m_vsync = vsync;
    Write<bool>(kSection, "VSYNC", vsync);
    Save(GetFileName());
}

void Config::SaveCompatibilityMode(const CompatibilityMode& mode)
{
    m_compatibilityMode = mode;
    const auto index = static_cast<std::uint32_t>(mode);
    if (index < kCompatibilityTexts.size())
        Write(kSection, "COMPATIBILITY", kCompatibilityTexts[index]);
    Save(GetFileName());
}

void Config::SaveAnisotropy(const Anisotropy& anisotropy)
{
    m_anisotropy = anisotropy;
    const auto index = static_cast<std::uint32_t>(anisotropy);
    if (index < kAnisotropyLevels.size())
        Write<int>(kSection, "ANISOTROPY", static_cast<int>(kAnisotropyLevels[index]));
    Save(GetFileName());
}

void Config::SaveMSAALevel(const MSAALevel&)
{
}

} // namespace ZOR
