#pragma once
// The configuration file as the option screens write it: the render context's one Config, the
// object that SetFullscreen and SetDisplayMode also save through, so that no other copy of the
// file ever overwrites what a screen wrote.
#include <string>

namespace ZOR {
class Config;
}

namespace quellor {

// The render context's configuration; null without a render context.
ZOR::Config* GetScreenConfig();

// Writes one setting into the configuration (nothing without a render context).
void WriteScreenSetting(const std::string& section, const std::string& key, bool value);
void WriteScreenSetting(const std::string& section, const std::string& key, const std::string& value);

// Saves the configuration under its own file name. A failed save keeps the old file and logs
// a warning naming the path; the change stays in memory for this run. False on failure.
bool SaveScreenConfig();

} // namespace quellor
