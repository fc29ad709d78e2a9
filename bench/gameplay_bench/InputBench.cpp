// People's input (the input section): four people cloned from a player archetype on the shared arena
// (GameplayScene.h), one pad each, set up by their ShooterInput and given control. Each frame
// the pads' sticks sweep and the right triggers stay held (the charge path runs, nothing is
// fired), the input system polls and the cameras and motors move; timed are the four
// ShooterInput updates and the four aim-assist updates (five rays each, 20 a frame), µs per
// frame. The graphics system holds the offscreen OpenGL context but does not draw. No peer.
#include "GameplayScene.h"

#include "bench/BenchMain.h"
#include "bench/gameplay_bench/InContentFolder.h"
#include "bench/gpu/GpuRig.h"
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/AimAssistComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/ShooterInput.h"
#include "gameplay/cameras/CameraSystem.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "platform/ScriptedInputSource.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kPeople = 4;
const char* const kTeams[kPeople] = {"red", "orange", "purple", "green"};
constexpr float kDt = 1.0f / 60.0f;

// The player archetype, written once beside the reticle archetypes.
const fs::path& ArchetypeFile()
{
    static const fs::path file = [] {
        const fs::path& folder = tarselbench::BenchFolder();
        std::ofstream(folder / "beta_player.arch")
            << "<BetaPlayer><Transform3D/><RigidBodyComponent3D/><PlayerDataComponent/><CharacterMotor3D/>"
               "<GraphicsComponent3DSkinned><m_modelName><string value=\"base_idle.model\"/></m_modelName>"
               "</GraphicsComponent3DSkinned><AnimationControllerComponent/>"
               "<LiftComponent><m_playerLiftForce><float value=\"10\"/></m_playerLiftForce></LiftComponent>"
               "<SnapshotComponent/><ActionComponent><m_name><string value=\"ShooterInput\"/></m_name></ActionComponent></BetaPlayer>\n";
        return folder / "beta_player.arch";
    }();
    return file;
}

quellor::ShooterInput* InputOf(quellor::Entity& player)
{
    quellor::ShooterInput* found = nullptr;
    if (auto* actions = player.GetComponent<quellor::ActionComponent>())
        actions->GetActionList().VisitActions([&](const quellor::Action& action) {
            if (const auto* input = dynamic_cast<const quellor::ShooterInput*>(&action))
                found = const_cast<quellor::ShooterInput*>(input);
        });
    return found;
}

void BM_ShooterInputAndAimAssist(benchmark::State& state)
{
    gpubench::Rig& rig = gpubench::RigFor(320, 180);
    if (!rig.ok) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    gameplaybench::InContentFolder inContent;
    const tarselbench::GameplayRig systems = tarselbench::MakeGameplayRig(rig);
    quellor::Engine* engine = systems.engine;
    quellor::PhysicsSystem3D* physics = systems.physics;
    quellor::ObjectSystem* objects = systems.objects;
    quellor::CameraSystem* cameras = systems.cameras;
    auto keys = std::make_shared<platform::ScriptedInputSource>();
    auto* input = static_cast<quellor::Input*>(engine->AddSystem("Input", new quellor::Input(keys), "default"));
    auto* actions =
        static_cast<quellor::ActionSystem*>(engine->AddSystem("ActionSystem", new quellor::ActionSystem, "default"));
    engine->AddSystem("GameLogicSystem", new quellor::GameLogicSystem, "default");
    cameras->SetAutomatedCameraDisabled(true);
    systems.graphics->LoadModel("models/base_idle.model");
    systems.resources->CheckFile(ArchetypeFile().string());

    // One person in each quarter of the arena, standing on the floor.
    std::vector<quellor::Entity*> people;
    for (int i = 0; i < kPeople; ++i) {
        keys->SetPadConnected(i, true);
        quellor::Entity* player = objects->Clone("beta_player.arch", "person" + std::to_string(i), "default");
        if (!player) {
            state.SkipWithError("the player archetype did not clone");
            quellor::Engine::DestroyInstance();
            return;
        }
        auto* data = player->GetComponent<quellor::PlayerDataComponent>();
        data->playerTeam = kTeams[i];
        data->controllerID = i;
        const float x = i % 2 ? 12.0f : -12.0f;
        const float z = i / 2 ? 12.0f : -12.0f;
        player->GetComponent<quellor::Transform3D>()->SetPosition(x, 3.5f, z);
        player->GetComponent<quellor::RigidBodyComponent3D>()->SetPosition(quellor::Vec4(x, 3.5f, z, 1.0f));
        people.push_back(player);
    }
    actions->Update(kDt); // the set-ups run
    std::vector<quellor::ShooterInput*> shooters;
    std::vector<quellor::AimAssistComponent*> assists;
    std::vector<quellor::CharacterMotor3D*> motors;
    for (quellor::Entity* player : people) {
        player->GetComponent<quellor::PlayerDataComponent>()->canControl = true;
        shooters.push_back(InputOf(*player));
        assists.push_back(player->GetComponent<quellor::AimAssistComponent>());
        motors.push_back(player->GetComponent<quellor::CharacterMotor3D>());
        if (!shooters.back() || !shooters.back()->IsInitialized() || !assists.back() || !motors.back()) {
            state.SkipWithError("a person was not set up");
            quellor::Engine::DestroyInstance();
            return;
        }
    }
    physics->Update(kDt);
    physics->Update(kDt);

    using Clock = std::chrono::steady_clock;
    int frame = 0;
    double targets = 0.0;
    for (auto _ : state) {
        // Sticks sweep: the people walk in circles and turn their views.
        const float t = static_cast<float>(frame++) * 0.05f;
        for (int pad = 0; pad < kPeople; ++pad) {
            const float phase = t + static_cast<float>(pad);
            keys->SetPadAxis(pad, platform::PadAxis::LeftX, static_cast<int>(30000.0f * std::cos(phase)));
            keys->SetPadAxis(pad, platform::PadAxis::LeftY, static_cast<int>(30000.0f * std::sin(phase)));
            keys->SetPadAxis(pad, platform::PadAxis::RightX, static_cast<int>(20000.0f * std::sin(phase * 0.5f)));
            keys->SetPadAxis(pad, platform::PadAxis::RightTrigger, 255);
        }
        input->Update(kDt);
        physics->Update(kDt);
        const Clock::time_point start = Clock::now();
        for (quellor::ShooterInput* shooter : shooters)
            shooter->Update(kDt);
        for (quellor::AimAssistComponent* assist : assists)
            assist->Update(kDt);
        const Clock::time_point end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        for (const quellor::AimAssistComponent* assist : assists)
            targets += assist->GetTarget() ? 1.0 : 0.0;
        for (quellor::CharacterMotor3D* motor : motors)
            motor->Update(kDt);
        cameras->Update(kDt);
    }
    state.counters["people"] = kPeople;
    state.counters["rays_per_frame"] = static_cast<double>(kPeople * quellor::AimAssistComponent::kRayCount);
    state.counters["targets_found"] = targets;
    quellor::Engine::DestroyInstance();
}

} // namespace

BENCHMARK(BM_ShooterInputAndAimAssist)->UseManualTime()->Unit(benchmark::kMicrosecond);
