// Cameras: CameraSystem::Update on the shared arena (GameplayScene.h) with four players of
// four teams, their third-person cameras on four screens (each casting its aim ray against the
// 100 static bodies and the players, and keeping its reticle and charge ring centred), and a
// 20-node camera path playing on screen 0. The graphics system holds the offscreen OpenGL
// context but does not draw. µs per frame; the counter tells how many of the timed camera
// updates found an enemy under the reticle, so that the rays are seen to hit.
#include "GameplayScene.h"

#include "bench/BenchMain.h"
#include "bench/gameplay_bench/InContentFolder.h"
#include "bench/gpu/GpuRig.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/cameras/AutomatedCameraComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/PhysicsSystem3D.h"
#include "tests/support/gameplay/PlayerBuilder.h"

#include <cmath>
#include <string>

namespace {

constexpr int kPathNodes = 20;
constexpr int kPlayers = 4;
const char* const kTeams[kPlayers] = {"red", "orange", "purple", "green"};
constexpr float kDt = 1.0f / 60.0f;
constexpr float kPi = 3.14159265f;

void BM_CameraSystemUpdate(benchmark::State& state)
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
    quellor::CameraSystem* cameras = systems.cameras;
    quellor::GraphicsSystem* graphics = systems.graphics;
    for (int screen = 1; screen < kPlayers; ++screen)
        graphics->AddScreen(true);

    // One person in each quarter of the arena, looking toward its middle.
    std::vector<quellor::ThirdPersonCameraComponent*> people;
    for (int i = 0; i < kPlayers; ++i) {
        const float x = i % 2 ? 20.0f : -20.0f;
        const float z = i / 2 ? 20.0f : -20.0f;
        tarsel::test::PlayerBuild build;
        build.team = kTeams[i];
        build.controllerID = i;
        quellor::Entity* player = tarsel::test::BuildPlayer(*engine, "player" + std::to_string(i), x, 3.5f, z, build);
        auto* camera = player->AddComponent<quellor::ThirdPersonCameraComponent>(true);
        camera->SetTarget(player);
        camera->SetScreenID(i);
        camera->Rotate(std::atan2(-x, -z), -0.2f);
        people.push_back(camera);
    }
    // The path circles the arena looking inward: half a second's hold, a second's travel.
    for (int i = 0; i < kPathNodes; ++i) {
        const float around = 2.0f * kPi * static_cast<float>(i) / kPathNodes;
        quellor::Entity* node = engine->CreateEntity("pathNode" + std::to_string(i), "default");
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
    // The bodies take their places and file their colliders where the rays find them.
    physics->Update(kDt);
    physics->Update(kDt);

    int frame = 0;
    double enemySightings = 0.0;
    for (auto _ : state) {
        // The aim sweeps to and fro, so the rays cross boxes, players and open air.
        const float sweep = 0.02f * std::sin(static_cast<float>(frame++) * 0.05f);
        for (quellor::ThirdPersonCameraComponent* camera : people)
            camera->Rotate(sweep, 0.0f);
        cameras->Update(kDt);
        for (const quellor::ThirdPersonCameraComponent* camera : people)
            enemySightings += camera->IsEnemyReticleShown() ? 1.0 : 0.0;
    }
    state.counters["third_person_cameras"] = static_cast<double>(people.size());
    state.counters["path_nodes"] = kPathNodes;
    state.counters["enemy_sightings"] = enemySightings;
    quellor::Engine::DestroyInstance();
}

} // namespace

BENCHMARK(BM_CameraSystemUpdate)->Unit(benchmark::kMicrosecond);
