#include "tests/support/gameplay/GameWorld.h"

#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/graphics/TextComponent.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "gameplay/SpawnPointComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "physics/PhysicsSystem3D.h"
#include "platform/ScriptedInputSource.h"
#include "tests/support/ContentDir.h"

#include <algorithm>

namespace tarsel::test {

namespace {
constexpr const char* kSpace = "default";
}

GameWorld::GameWorld(std::vector<Extra> extras)
    : m_content(std::filesystem::absolute(ContentDir()))
    , m_workingDirectory(m_folder.Path())
    , m_extras(std::move(extras))
{
    quellor::RegisterGameplayTypes();
    engine = quellor::Engine::Instance();
    keys = std::make_shared<platform::ScriptedInputSource>();
    context = std::make_shared<RecordingRenderContext>();
    context->SetDisplayModes({ZOR::DisplayMode({1280, 720}, 60)});
    context->SetCurrentDisplayMode(ZOR::DisplayMode({1280, 720}, 60));
    auto backend = std::make_unique<RecordingAudioBackend>();
    audio = backend->GetRecord();

    // The order of Game::AddSystems.
    AddExtrasBefore("Input");
    input = static_cast<quellor::Input*>(engine->AddSystem("Input", new quellor::Input(keys), kSpace));
    AddExtrasBefore("PhysicsSystem3D");
    physics = static_cast<quellor::PhysicsSystem3D*>(
        engine->AddSystem("PhysicsSystem3D", new quellor::PhysicsSystem3D, kSpace));
    AddExtrasBefore("ResourceSystem");
    resources = static_cast<quellor::ResourceSystem*>(
        engine->AddSystem("ResourceSystem", new quellor::ResourceSystem, kSpace));
    AddExtrasBefore("ObjectSystem");
    objects = static_cast<quellor::ObjectSystem*>(engine->AddSystem("ObjectSystem", new quellor::ObjectSystem, kSpace));
    AddExtrasBefore("ActionSystem");
    actions = static_cast<quellor::ActionSystem*>(engine->AddSystem("ActionSystem", new quellor::ActionSystem, kSpace));
    AddExtrasBefore("CameraSystem");
    cameras = static_cast<quellor::CameraSystem*>(engine->AddSystem("CameraSystem", new quellor::CameraSystem, kSpace));
    cameras->SetAutomatedCameraDisabled(true);
    AddExtrasBefore("FeatherSystem");
    feathers = static_cast<quellor::FeatherSystem*>(
        engine->AddSystem("FeatherSystem", new quellor::FeatherSystem, kSpace));
    AddExtrasBefore("GameLogicSystem");
    logic = static_cast<quellor::GameLogicSystem*>(
        engine->AddSystem("GameLogicSystem", new quellor::GameLogicSystem, kSpace));
    AddExtrasBefore("SoundSystem");
    sound = static_cast<quellor::SoundSystem*>(
        engine->AddSystem("SoundSystem", new quellor::SoundSystem(std::move(backend)), kSpace));
    sound->SetMuteAll(false); // a new sound system is muted until the settings arrive
    AddExtrasBefore("GraphicsSystem");
    graphics = static_cast<quellor::GraphicsSystem*>(
        engine->AddSystem("GraphicsSystem", new quellor::GraphicsSystem(context, nullptr), kSpace));
    AddExtrasBefore("");
}

GameWorld::~GameWorld()
{
    quellor::Engine::DestroyInstance();
}

void GameWorld::AddExtrasBefore(const std::string& name)
{
    for (Extra& extra : m_extras)
        if (extra.before == name && extra.make)
            engine->AddSystem(extra.name, extra.make(), kSpace);
}

void GameWorld::Step(int frames)
{
    for (int i = 0; i < frames; ++i)
        engine->Update(kDt);
}

void GameWorld::StepDt(float dt)
{
    engine->Update(dt);
}

quellor::Entity* GameWorld::Spawn(const std::string& name)
{
    return engine->CreateEntity(name, kSpace);
}

quellor::Entity* GameWorld::Spawn(const std::string& name, float x, float y, float z)
{
    quellor::Entity* entity = Spawn(name);
    entity->AddComponent<quellor::Transform3D>(true)->SetPosition(x, y, z);
    return entity;
}

quellor::Entity* GameWorld::MakePlayer(const std::string& name, const std::string& team, int controllerID, float x,
                                       float y, float z)
{
    quellor::Entity* player = Spawn(name, x, y, z);
    auto* data = player->AddComponent<quellor::PlayerDataComponent>(true);
    data->playerTeam = team;
    data->controllerID = controllerID;
    return player;
}

quellor::Entity* GameWorld::JoinPlayer(const std::string& name, const std::string& team, int controllerID, float x,
                                       float y, float z)
{
    quellor::Entity* player = MakePlayer(name, team, controllerID, x, y, z);
    logic->AddPlayer(controllerID, player, controllerID < 0, true);
    return player;
}

quellor::SpawnPointComponent* GameWorld::AddSpawnPoint(const std::string& name, const std::string& team, float x,
                                                       float y, float z)
{
    quellor::Entity* entity = Spawn(name, x, y, z);
    auto* point = new quellor::SpawnPointComponent;
    point->m_team = team;
    entity->AddComponent(quellor::SpawnPointComponent::ID, point, true);
    return point;
}

quellor::PlayerDataComponent* GameWorld::DataOf(quellor::Entity* player)
{
    return player ? player->GetComponent<quellor::PlayerDataComponent>() : nullptr;
}

quellor::Entity* GameWorld::SpawnText(const std::string& name)
{
    static const std::string kFont = "font_64.bff";
    if (!graphics->GetFont(kFont))
        graphics->LoadFont((m_content / "fonts" / kFont).string());
    quellor::Entity* entity = Spawn(name);
    entity->AddComponent<quellor::Transform2D>(true);
    auto* text = new quellor::TextComponent;
    text->m_fontName = kFont;
    entity->AddComponent(quellor::TextComponent::ID, text, true);
    return entity;
}

void GameWorld::LoadEffect(const std::string& name)
{
    sound->LoadSound("sfx/" + name);
}

std::size_t GameWorld::PlayCount(const std::string& name) const
{
    std::size_t count = 0;
    for (const auto& [id, path] : audio->loaded) {
        if (path != "sfx/" + name)
            continue;
        const std::string prefix = "play " + std::to_string(id) + " ";
        count += static_cast<std::size_t>(std::count_if(audio->calls.begin(), audio->calls.end(),
                                                        [&](const std::string& call) { return call.starts_with(prefix); }));
    }
    return count;
}

bool GameWorld::Played(const std::string& name) const
{
    return PlayCount(name) > 0;
}

void GameWorld::WriteFile(const std::string& relative, const std::string& text) const
{
    m_folder.Write(relative, text);
}

void GameWorld::LoadLevel(const std::string& name, const std::string& text)
{
    WriteFile("levels/" + name, text);
    resources->ScanDirectory("");
    objects->LoadLevel(name);
}

} // namespace tarsel::test
