#include "tests/frontend/MenuLevelFixture.h"

#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Invoke.h"
#include "engine/LoadAssets.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "frontend/screens/MenuScreen.h"
#include "tests/support/WavWriter.h"
#include "tools/writers/MaterialWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tarsel::test {

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

void WriteMenuLevelFixtures(const fs::path& folder)
{
    const std::string tone = MakeWav(441);
    for (const char* effect : {"menu_highlight.ogg", "menu_select.ogg"})
        WriteFile(folder / "sounds/sfx" / effect, tone);
    for (const char* song : {"theme_menu.ogg", "theme_gameplay.ogg"})
        WriteFile(folder / "sounds/music" / song, tone);
    std::vector<std::string> materials = {"arrow_menu.mat",     "arrow_menu_selected.mat", "dojo_xbox_menu.mat",
                                          "dojo_keyboard_menu.mat", "test_menu.mat",       "green.mat",
                                          "black.mat",          "text_menu.mat",           "text_menu_selected.mat",
                                          "credits_bg.mat"};
    for (int page = 1; page <= 8; ++page)
        materials.push_back("credits_" + std::to_string(page) + ".mat");
    fs::create_directories(folder / "materials");
    for (const std::string& material : materials)
        ASSERT_TRUE(tools::WriteMaterial({}, (folder / "materials" / material).string())) << material;
}

FlowSetup MenuLevelSetup(std::function<quellor::Action*()> screen, ConfigSeed seed)
{
    FlowSetup setup;
    setup.config = seed;
    setup.writeFixtures = WriteMenuLevelFixtures;
    setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
    setup.startupTree = [screen](Game&) {
        auto* level = new quellor::Invoke([] {
            quellor::Engine* engine = quellor::Engine::Instance();
            engine->GetSystem<quellor::ObjectSystem>("default")->LoadLevel("MainMenuTest.ql");
            quellor::MenuScreen::StartMenuTheme(engine->GetSystem<quellor::SoundSystem>("default"));
        });
        return quellor::MakeSequence(new quellor::LoadAssets, level, screen());
    };
    return setup;
}

std::optional<std::string> ConfigValue(const std::string& config, const std::string& key)
{
    std::istringstream lines(config);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return std::nullopt;
}

} // namespace tarsel::test
