#pragma once
// The engine's part of the configuration file: where config.ini lives, the defaults a first run
// writes, and the sound, effect and quality settings read back once every system exists.
#include "renderer/Config.h"
#include "renderer/RenderSystem.h"

#include <optional>
#include <string>

namespace quellor {

class SoundSystem;

// The full path of config.ini in the documents folder's "Corvath/Tarsel", creating both
// folders. A folder that cannot be made is reported with a warning; the path is still returned.
std::string GetConfigPath();

// The configuration read from path. When the file is missing (or the path names a folder), the
// renderer's and the engine's defaults are written to a new file; when it cannot be written, a
// warning names the path and the defaults stay in memory. An existing file is never rewritten.
ZOR::Config LoadConfig(const std::string& path);

// The engine sections as read back: a missing key reads false or empty.
struct EngineSettings {
    bool muteAll = false;
    bool muteMusic = false;
    bool lighting = false;
    bool bloom = false;
    bool shadows = false;
    bool godRays = false;
    bool ssao = false;
    bool depthOfField = false;
    std::string graphics; // upper-cased
    std::string particle; // upper-cased
};

EngineSettings ReadEngineSettings(const ZOR::INIFile& config);

// The quality level a stored name maps to, upper-cased first: "LOW" 0, anything containing "MED"
// 1, "HIGH" 2, "ULTRA" 3; no level for anything else.
std::optional<ZOR::RenderSystem::Quality> QualityFromName(const std::string& name);

// Upper-cases byte by byte; bytes outside ASCII are left as they are.
std::string UpperCase(std::string text);

// Mutes to the sound system, the six effects (all screens) and the two qualities to the render
// system, in the order they are read. Either target may be null and is then skipped.
void ApplyEngineSettings(const EngineSettings& settings, SoundSystem* sound, ZOR::RenderSystem* render);

} // namespace quellor
