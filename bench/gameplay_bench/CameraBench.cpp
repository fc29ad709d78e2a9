// Cameras: CameraSystem::Update on the shared arena, with the four players' third-person
// cameras on four screens (each casting its aim ray against the 100 still boxes and the players,
// and keeping its reticle and charge ring centred) and a 20-node camera path playing on
// screen 0. The graphics system holds the offscreen OpenGL context but does not draw. µs per
// frame; the counter tells how many of the timed camera updates found an enemy under the
// reticle, so that the rays are seen to hit.
#include "bench/BenchMain.h"
#include "bench/gameplay_bench/ArenaScene.h"
#include "bench/gameplay_bench/InContentFolder.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/cameras/AutomatedCameraComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kPathNodes = 20;
constexpr float kDt = 1.0f / 60.0f;
constexpr float kPi = 3.14159265f;

// The reticle and ring archetypes, written once into a folder removed at exit.
const fs::path& ReticleFolder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / ("tarsel-bench-cameras-" + std::to_string(getpid()));
        fs::create_directories(path);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(ReticleFolder(), ec);
        });
        for (const char* name : {"reticle", "reticuleRing"})
            std::ofstream(path / (std::string(name) + ".arch"))
                << "<archetype><Transform2D/><GraphicsComponent2D><m_materialName><string value=\"" << name
                << ".mat\"/></m_materialName></GraphicsComponent2D></archetype>\n";
        return path;
    }();
    return folder;
}

void BM_CameraSystemUpdate(benchmark::State& state)
{
    gpubench::Rig& rig = gpubench::RigFor(320, 180);
    if (!rig.ok) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    gameplaybench::InContentFolder inContent;
    gameplaybench::ArenaScene scene(rig);
    for (const char* name : {"reticle.arch", "reticuleRing.arch"})
        scene.resources->CheckFile((ReticleFolder() / name).string());
    for (int screen = 1; screen < gameplaybench::ArenaScene::kPlayers; ++screen)
        scene.graphics->AddScreen(true);

    // Each person looks toward the middle of the arena.
    std::vector<quellor::ThirdPersonCameraComponent*> people;
    for (std::size_t i = 0; i < scene.players.size(); ++i) {
        quellor::Entity* player = scene.players[i];
        auto* camera = player->AddComponent<quellor::ThirdPersonCameraComponent>(true);
        camera->SetTarget(player);
        camera->SetScreenID(static_cast<int>(i));
        const quellor::Transform3D* at = player->GetComponent<quellor::Transform3D>();
        camera->Rotate(std::atan2(-at->m_x, -at->m_z), -0.2f);
        people.push_back(camera);
    }
    // The path circles the arena looking inward: half a second's hold, a second's travel.
    for (int i = 0; i < kPathNodes; ++i) {
        const float around = 2.0f * kPi * static_cast<float>(i) / kPathNodes;
        quellor::Entity* node = scene.engine->CreateEntity("pathNode" + std::to_string(i), "default");
        auto* t = node->AddComponent<quellor::Transform3D>(true);
        t->SetPosition(80.0f * std::cos(around), 30.0f, 80.0f * std::sin(around));
        const float yaw = kPi - around; // turns the local +X toward the middle
        t->m_rotation = quellor::Quat(0.0f, std::sin(yaw * 0.5f), 0.0f, std::cos(yaw * 0.5f));
        auto* camera = new quellor::AutomatedCameraComponent;
        camera->m_priority = i;
        camera->m_waitTime = 0.5f;
        camera->m_timeToNextNode = 1.0f;
        node->AddComponent(quellor::AutomatedCameraComponent::ID, camera, true);
    }
    scene.cameras->SetAutomatedCameraDisabled(false);

    int frame = 0;
    double enemySightings = 0.0;
    for (auto _ : state) {
        // The aim sweeps to and fro, so the rays cross boxes, players and open air.
        const float sweep = 0.02f * std::sin(static_cast<float>(frame++) * 0.05f);
        for (quellor::ThirdPersonCameraComponent* camera : people)
            camera->Rotate(sweep, 0.0f);
        scene.cameras->Update(kDt);
        for (const quellor::ThirdPersonCameraComponent* camera : people)
            enemySightings += camera->IsEnemyReticleShown() ? 1.0 : 0.0;
    }
    state.counters["third_person_cameras"] = static_cast<double>(people.size());
    state.counters["path_nodes"] = kPathNodes;
    state.counters["enemy_sightings"] = enemySightings;
}

} // namespace

BENCHMARK(BM_CameraSystemUpdate)->Unit(benchmark::kMicrosecond);
