#include "tests/frontend/MenuLevelFixture.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/LoadAssets.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "engine/Transform3D.h"
#include "engine/WaitFrame.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/MenuScreen.h"
#include "tests/frontend/ScreenFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tarsel::test {

namespace fs = std::filesystem;

void WriteMenuLevelFixtures(const fs::path& folder)
{
    WriteMenuSounds(folder);
    WriteQuitButton(folder);
    std::vector<std::string> materials = {"arrow_menu.mat",     "arrow_menu_selected.mat", "dojo_xbox_menu.mat",
                                          "dojo_keyboard_menu.mat", "test_menu.mat",       "green.mat",
                                          "black.mat",          "text_menu.mat",           "text_menu_selected.mat",
                                          "credits_bg.mat"};
    for (int page = 1; page <= 8; ++page)
        materials.push_back("credits_" + std::to_string(page) + ".mat");
    for (const std::string& material : materials)
        ASSERT_TRUE(tools::WriteMaterial({}, (folder / "materials" / material).string())) << material;
}

FlowSetup MenuLevelSetup(std::function<quellor::Action*()> screen, std::vector<std::string> removed)
{
    FlowSetup setup;
    setup.writeFixtures = WriteMenuLevelFixtures;
    setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
    setup.startupTree = [screen, removed](Game&) {
        auto* level = new quellor::Invoke([removed] {
            quellor::Engine* engine = quellor::Engine::Instance();
            engine->GetSystem<quellor::ObjectSystem>("default")->LoadLevel("MainMenuTest.ql");
            quellor::MenuScreen::StartMenuTheme(engine->GetSystem<quellor::SoundSystem>("default"));
            for (const std::string& name : removed)
                if (quellor::Entity* entity = engine->GetEntity(name, "default"))
                    entity->Destroy();
        });
        return quellor::MakeSequence(new quellor::LoadAssets, level, new quellor::WaitFrame(1), screen());
    };
    return setup;
}

FlowSetup MainMenuSetup()
{
    FlowSetup setup;
    setup.writeFixtures = WriteMenuLevelFixtures;
    setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
    setup.screen = [] { return new quellor::MainMenu(true); };
    return setup;
}

quellor::MenuScreen* FindScreen(FlowGame& game, const std::string& name)
{
    return game.FindScreen(name);
}

bool RunUntilMainMenuReady(FlowGame& game)
{
    return game.RunUntil([&] {
        quellor::MenuScreen* menu = FindScreen(game, "MainMenu");
        return menu && menu->IsReady();
    }, 600);
}

void SetSeededConfigValue(const FlowGame& game, const std::string& key, const std::string& value)
{
    std::istringstream lines(game.ReadConfig());
    std::string text;
    std::string line;
    while (std::getline(lines, line))
        text += (line.rfind(key + "=", 0) == 0 ? key + "=" + value : line) + "\n";
    WriteFixtureFile(game.GetDocuments() / "Corvath/Tarsel/config.ini", text);
}

std::vector<quellor::Entity*> LiveEntitiesNamed(const std::string& prefix)
{
    std::vector<quellor::Entity*> found;
    quellor::Space* space = quellor::Engine::Instance()->GetSpace("default");
    for (const auto& [name, entity] : space->GetEntityMap())
        if (name.rfind(prefix, 0) == 0 && !entity->IsDestroyed())
            found.push_back(entity);
    auto x = [](quellor::Entity* entity) {
        const auto* transform = entity->GetComponent<quellor::Transform3D>();
        return transform ? transform->m_x : 0.0f;
    };
    std::sort(found.begin(), found.end(), [&](quellor::Entity* a, quellor::Entity* b) { return x(a) < x(b); });
    return found;
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
