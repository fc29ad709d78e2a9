#include "GameFrame.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/Collider3D.h"
#include "physics/MeshColliderComponent3D.h"
#include "physics/MeshColliderGeometry3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RegisterPhysicsTypes.h"
#include "physics/RigidBodyComponent3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "tools/writers/FileWriting.h"
#include "tools/writers/ShapeBuilder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <random>
#include <string>
#include <vector>

namespace tarselbench {

namespace {

using Clock = std::chrono::steady_clock;
using ZOR::float3;
using quellor::Vec4;

constexpr int kIslands = 12;
constexpr int kPiecesPerIsland = 25;

// An island of 25 pieces: a 4 x 4 grid of slabs, ramps and columns on top, a few ledges.
std::string IslandShape(int seed)
{
    namespace tt = tarsel::tools;
    std::vector<tt::ShapePiece> pieces;
    for (int x = 0; x < 4; ++x)
        for (int z = 0; z < 4; ++z)
            pieces.push_back(tt::BoxPiece(float3(x * 4.0f - 6.0f, -1.0f, z * 4.0f - 6.0f), float3(2.0f, 1.0f, 2.0f)));
    for (int i = 0; i < 3; ++i)
        pieces.push_back(tt::WedgePiece(float3(-4.0f + 4.0f * i, 1.0f, 9.0f), float3(1.5f, 1.0f, 1.0f)));
    for (int i = 0; i < 3; ++i)
        pieces.push_back(tt::PrismPiece(float3(-5.0f + 5.0f * i, 2.0f, -9.0f), 1.0f, 2.0f, 6 + (seed + i) % 4));
    for (int i = 0; i < 3; ++i)
        pieces.push_back(tt::OrientedBoxPiece(float3(9.0f, 0.5f, -4.0f + 4.0f * i), float3(1.5f, 0.5f, 1.0f),
                                              tt::RotationY(0.3f * static_cast<float>(i + seed))));
    return tt::WriteShape(pieces);
}

float Millis(Clock::duration d)
{
    return std::chrono::duration<float, std::milli>(d).count();
}

void Report(const char* what, std::vector<float> ms)
{
    if (ms.empty())
        return;
    const float worst = *std::max_element(ms.begin(), ms.end());
    std::nth_element(ms.begin(), ms.begin() + static_cast<long>(ms.size() / 2), ms.end());
    std::printf("| %-44s | %9.3f | %9.3f |\n", what, ms[ms.size() / 2], worst);
}

} // namespace

void GameFrameScene(bool smoke)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tarsel-game-frame-" + std::to_string(::getpid()));
    for (int i = 0; i < kIslands; ++i)
        tarsel::tools::WriteFileIfChanged(folder / "shapes" / ("island" + std::to_string(i) + ".shape"), IslandShape(i));
    std::filesystem::current_path(folder);

    quellor::RegisterPhysicsTypes();
    quellor::Engine* engine = quellor::Engine::Instance();
    auto* system = static_cast<quellor::PhysicsSystem3D*>(
        engine->AddSystem("PhysicsSystem3D", new quellor::PhysicsSystem3D, "default"));
    engine->AddSystem(quellor::ResourceSystem::ID, new quellor::ResourceSystem, "default");
    system->SetGravity(Vec4(0.0f, -10.0f, 0.0f, 0.0f));

    auto body = [&](const std::string& name, const float3& p, int type) {
        quellor::Entity* entity = engine->CreateEntity(name, "default");
        entity->AddComponent<quellor::Transform3D>(true)->SetPosition(p.x, p.y, p.z);
        entity->AddComponent(quellor::RigidBodyComponent3D::ID, (new quellor::RigidBodyComponent3D)->SetType(type), true);
        return entity;
    };
    // Islands in a 4 x 3 grid, 30 apart.
    for (int i = 0; i < kIslands; ++i) {
        quellor::Entity* island = body("island" + std::to_string(i), float3((i % 4) * 30.0f, (i % 3) * 2.0f, (i / 4) * 30.0f), 0);
        auto* mesh = new quellor::MeshColliderComponent3D;
        mesh->SetMesh("island" + std::to_string(i) + ".shape");
        island->AddComponent(quellor::MeshColliderComponent3D::ID, mesh, true);
    }
    // Players: type-2 boxes standing on the islands, each with a sensor box under its feet.
    std::vector<quellor::RigidBodyComponent3D*> players, sensors;
    for (int i = 0; i < 8; ++i) {
        const float3 at((i % 4) * 30.0f, (i % 3) * 2.0f + 1.0f, (i / 4) * 30.0f);
        quellor::Entity* player = body("player" + std::to_string(i), at, 2);
        player->AddComponent<quellor::BoxColliderComponent3D>(true)->SetHalfExtents(Vec4(0.5f, 1.0f, 0.5f, 0.0f));
        players.push_back(player->GetRigidBody());
        quellor::Entity* feet = body("feet" + std::to_string(i), at - float3(0.0f, 1.0f, 0.0f), 2);
        auto* sensor = feet->AddComponent<quellor::BoxColliderComponent3D>(true);
        sensor->SetHalfExtents(Vec4(0.4f, 0.1f, 0.4f, 0.0f));
        sensor->SetSensor(true);
        sensors.push_back(feet->GetRigidBody());
    }
    // Pick-ups: static sensor spheres over the islands.
    for (int i = 0; i < 20; ++i) {
        quellor::Entity* orb = body("orb" + std::to_string(i),
                                    float3((i % 4) * 30.0f - 5.0f + static_cast<float>(i % 5) * 2.5f, 2.5f,
                                           (i % 3) * 30.0f + 4.0f),
                                    0);
        auto* sphere = orb->AddComponent<quellor::SphereColliderComponent3D>(true);
        sphere->SetRadius(0.75f);
        sphere->SetSensor(true);
    }

    std::mt19937 random(20261207u);
    std::uniform_real_distribution<float> across(-10.0f, 100.0f), unit(-1.0f, 1.0f);
    const int frames = smoke ? 10 : 600;
    std::vector<float> updates, rays;
    int hits = 0;
    for (int frame = 0; frame < frames; ++frame) {
        // Players run in circles over their islands; their sensors follow.
        for (std::size_t i = 0; i < players.size(); ++i) {
            const float angle = 0.02f * static_cast<float>(frame) + static_cast<float>(i);
            const float3 at(static_cast<float>(i % 4) * 30.0f + 6.0f * std::cos(angle),
                            static_cast<float>(i % 3) * 2.0f + 1.0f,
                            static_cast<float>(i / 4) * 30.0f + 6.0f * std::sin(angle));
            if (frame > 0) {
                players[i]->SetPosition(Vec4(at.x, at.y, at.z, 1.0f));
                sensors[i]->SetPosition(Vec4(at.x, at.y - 1.0f, at.z, 1.0f));
            }
        }
        const Clock::time_point start = Clock::now();
        system->Update(1.0f / 60.0f);
        const Clock::time_point updated = Clock::now();
        for (int r = 0; r < 150; ++r) {
            const float3 origin(across(random), 15.0f, across(random) * 0.7f);
            const float3 direction = r % 3 == 0 ? float3(unit(random), 0.0f, unit(random)) : float3(0.0f, -1.0f, 0.0f);
            hits += system->RayCast(origin, direction, 40.0f).hit;
        }
        const Clock::time_point cast = Clock::now();
        if (frame > 0) { // the first update builds every collider
            updates.push_back(Millis(updated - start));
            rays.push_back(Millis(cast - updated));
        }
    }

    std::size_t pieces = 0;
    for (const auto* collider : system->GetColliders()) {
        if (auto* mesh = dynamic_cast<const quellor::MeshColliderComponent3D*>(collider))
            pieces += static_cast<quellor::MeshColliderGeometry3D*>(mesh->GetCollider()->m_geometry)->m_colliders.size();
    }
    std::printf("\nGame-like frame: %zu mesh pieces on %d islands, 8 type-2 player boxes with 8 floor sensor boxes,\n"
                "20 sensor spheres, 150 rays a frame (%d hits in all), gravity -10, %d frames after the first.\n\n",
                pieces, kIslands, hits, frames - 1);
    std::printf("| %-44s | %9s | %9s |\n", "per frame", "median ms", "worst ms");
    Report("PhysicsSystem3D::Update (1/60 s)", updates);
    Report("150 PhysicsSystem3D::RayCast", rays);

    quellor::Engine::DestroyInstance();
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace tarselbench
