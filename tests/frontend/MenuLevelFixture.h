#pragma once
// The menu level the option screens work in, for their flow tests: the fixture level
// "MainMenuTest.ql" (tests/frontend/fixtures), the sound cues and themes, the main menu's quit
// button, and every material the screens set, written into the harness's working directory. A screen under test starts
// after the loading screen, once the level is loaded and the menu theme plays.
#include "tests/support/flow/FlowGame.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quellor {
class MenuScreen;
}

namespace tarsel::test {

void WriteMenuLevelFixtures(const std::filesystem::path& folder);

// Loading screen, then the level and the theme, then the screen. The level entities named in
// `removed` are gone (destroyed a frame before the screen starts).
FlowSetup MenuLevelSetup(std::function<quellor::Action*()> screen, std::vector<std::string> removed = {});

// Loading screen, then MainMenu(true), which loads the level and starts the theme.
FlowSetup MainMenuSetup();

// The screen of that type running in the action system, or null.
quellor::MenuScreen* FindScreen(FlowGame& game, const std::string& name);

// Runs frames until a main menu runs and is ready; false after 600 frames.
bool RunUntilMainMenuReady(FlowGame& game);

// Sets the value of every "KEY=" line of the seeded config.ini (between the harness's set-up and
// Start).
void SetSeededConfigValue(const FlowGame& game, const std::string& key, const std::string& value);

// The entities of "default" whose names start with the prefix and that are not queued for
// destruction, ordered along world x.
std::vector<quellor::Entity*> LiveEntitiesNamed(const std::string& prefix);

// The value of the first "KEY=" line of config.ini text; nullopt when there is none.
std::optional<std::string> ConfigValue(const std::string& config, const std::string& key);

} // namespace tarsel::test
