#pragma once
// The menu level the option screens work in, for their flow tests: the fixture level
// "MainMenuTest.ql" (tests/frontend/fixtures), the sound cues and themes, and every material
// the screens set, written into the harness's working directory. A screen under test starts
// after the loading screen, once the level is loaded and the menu theme plays.
#include "tests/support/flow/FlowGame.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tarsel::test {

void WriteMenuLevelFixtures(const std::filesystem::path& folder);

// Loading screen, then the level and the theme, then the screen.
FlowSetup MenuLevelSetup(std::function<quellor::Action*()> screen, ConfigSeed seed = ConfigSeed::Test);

// The value of the first "KEY=" line of config.ini text; nullopt when there is none.
std::optional<std::string> ConfigValue(const std::string& config, const std::string& key);

} // namespace tarsel::test
