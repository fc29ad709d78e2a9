#pragma once
// A game world for tests: a temporary working folder (the resource system scans it) and a
// fresh engine whose space "default" holds the program's systems in the program's update order,
// with no window, no GPU and no sound device: Input on a scripted source, the sound system on a
// recording backend (unmuted), the graphics system on a recording render context given a
// display mode (else no screen is laid out). Frames run with a fixed dt; nothing sleeps.
//
// A suite that needs a system of a later library adds it at its place in the order:
//     class AITest : public GameWorldTest {
//         std::vector<GameWorld::Extra> ExtraSystems() const override
//         { return {{"ResourceSystem", "AISystem", [] { return new quellor::AISystem; }}}; }
//     };
// (the extra goes right before the named system; an empty name puts it last).
#include "tests/support/RecordingAudioBackend.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class ScriptedInputSource;
}

namespace quellor {
class ActionSystem;
class CameraSystem;
class Engine;
class Entity;
class FeatherSystem;
class GameLogicSystem;
class GraphicsSystem;
class Input;
class ObjectSystem;
class ResourceSystem;
class PhysicsSystem3D;
class PlayerDataComponent;
class SoundSystem;
class SpawnPointComponent;
class System;
} // namespace quellor

namespace tarsel::test {

class GameWorld {
public:
    static constexpr float kDt = 1.0f / 60.0f;

    // A system added right before the system named `before` ("" for last).
    struct Extra {
        std::string before;
        std::string name;
        std::function<quellor::System*()> make;
    };

    // Registers the gameplay types, makes the folder the working directory and builds the
    // engine with its systems (the extras at their places).
    explicit GameWorld(std::vector<Extra> extras = {});
    // Destroys the engine, then gives the working directory back.
    ~GameWorld();
    GameWorld(const GameWorld&) = delete;
    GameWorld& operator=(const GameWorld&) = delete;

    // One engine frame of kDt (or dt) seconds, `frames` times.
    void Step(int frames = 1);
    void StepDt(float dt);

    // An entity of "default", with a Transform3D at (x, y, z) when placed.
    quellor::Entity* Spawn(const std::string& name);
    quellor::Entity* Spawn(const std::string& name, float x, float y, float z);
    // A player entity (Transform3D and PlayerDataComponent) not yet joined.
    quellor::Entity* MakePlayer(const std::string& name, const std::string& team, int controllerID,
                                float x = 0.0f, float y = 0.0f, float z = 0.0f);
    // MakePlayer, then joined as a person (controllerID 0-3) or a computer player (-1).
    quellor::Entity* JoinPlayer(const std::string& name, const std::string& team, int controllerID,
                                float x = 0.0f, float y = 0.0f, float z = 0.0f);
    quellor::SpawnPointComponent* AddSpawnPoint(const std::string& name, const std::string& team, float x, float y,
                                                float z);
    static quellor::PlayerDataComponent* DataOf(quellor::Entity* player);
    // An entity with a Transform2D and a TextComponent in the built content's "font_64.bff".
    quellor::Entity* SpawnText(const std::string& name);

    // Loads an effect under "sfx/<name>" on the recording backend (no file is read).
    void LoadEffect(const std::string& name);
    // Whether the recording backend was asked to play that effect (by its sfx path).
    bool Played(const std::string& name) const;
    std::size_t PlayCount(const std::string& name) const;

    // Writes a file under the working folder.
    void WriteFile(const std::string& relative, const std::string& text) const;
    // Writes "levels/<name>", rescans the folder and loads the level into "default".
    void LoadLevel(const std::string& name, const std::string& text);

    quellor::Engine* engine = nullptr;
    std::shared_ptr<platform::ScriptedInputSource> keys;
    std::shared_ptr<RecordingRenderContext> context;
    std::shared_ptr<RecordingAudioBackend::Record> audio;
    quellor::Input* input = nullptr;
    quellor::PhysicsSystem3D* physics = nullptr;
    quellor::ResourceSystem* resources = nullptr;
    quellor::ObjectSystem* objects = nullptr;
    quellor::ActionSystem* actions = nullptr;
    quellor::CameraSystem* cameras = nullptr; // its path off, as at start-up
    quellor::FeatherSystem* feathers = nullptr;
    quellor::GameLogicSystem* logic = nullptr;
    quellor::SoundSystem* sound = nullptr;
    quellor::GraphicsSystem* graphics = nullptr;

private:
    void AddExtrasBefore(const std::string& name);

    std::filesystem::path m_content; // absolute: the working directory changes
    TempDir m_folder;
    WorkingDirectory m_workingDirectory;
    std::vector<Extra> m_extras;
};

// The world as a gtest fixture: built in SetUp, torn down in TearDown.
class GameWorldTest : public ::testing::Test {
protected:
    void SetUp() override { world = std::make_unique<GameWorld>(ExtraSystems()); }
    void TearDown() override { world.reset(); }

    // Systems of later libraries, at their places.
    virtual std::vector<GameWorld::Extra> ExtraSystems() const { return {}; }

    std::unique_ptr<GameWorld> world;
};

} // namespace tarsel::test
