#pragma once
#include "renderer/INIFile.h"
#include "renderer/dx11/DisplaySettings.h"
#include "renderer/math/Dimension.h"

#include <string>

namespace ZOR {

// The renderer's display configuration, kept in the section "ZOR_CONFIG" of an INI file.
// Every save operation writes the whole file back at once under its own file name.
class Config : public INIFile {
public:
    // Loads path (a missing file leaves every setting at its default).
    explicit Config(const std::string& path);

    const Dimension& GetResolution() const { return m_resolution; }
    bool GetFullscreen() const { return m_fullscreen; }
    bool GetVsync() const { return m_vsync; }
    CompatibilityMode GetCompatibilityMode() const { return m_compatibilityMode; }
    MSAALevel GetMSAALevel() const { return m_msaaLevel; }
    Anisotropy GetAnisotropy() const { return m_anisotropy; }

    void SaveResolution(const Dimension& resolution);
    void SaveFullscreen(bool fullscreen);
    void SaveVsync(bool vsync);
    // A value outside the known modes is kept but writes no key.
    void SaveCompatibilityMode(const CompatibilityMode& mode);
    // A value above 16x is kept but writes no key.
    void SaveAnisotropy(const Anisotropy& anisotropy);
    // The file has no key for multisampling: this changes nothing.
    void SaveMSAALevel(const MSAALevel& level);

private:
    Dimension m_resolution;
    bool m_fullscreen = false;
    bool m_vsync = false;
    CompatibilityMode m_compatibilityMode = CompatibilityMode::DirectX10_0;
    MSAALevel m_msaaLevel = MSAALevel::Samples1;
    Anisotropy m_anisotropy = Anisotropy::X16;
};

} // namespace ZOR
