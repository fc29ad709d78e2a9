// The orb weapon: (a) OrbComponent::Update with 32 free orbs of one shooter high above the
// shared arena (GameplayScene.h), each casting its five look-ahead rays a second of flight
// ahead and finding nothing, µs per frame; (b) rebuilding one orb's three meshes (two spheres
// and the shell of 600 vertices each, the cone of 60: 1,860 vertices), µs per rebuild. The game
// world of the tests stands in for the game: a recording render context, no GPU.
#include "GameplayScene.h"

#include "bench/BenchMain.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/OrbComponent.h"
#include "gameplay/OrbEmitters.h"
#include "gameplay/effects/OrbConeComponent.h"
#include "gameplay/effects/OrbLightningComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "engine/ActionComponent.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/ContentDir.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tests/support/gameplay/PlayerBuilder.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/ModelWriter.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kOrbs = 32;
constexpr float kDt = 1.0f / 60.0f;
constexpr float kHigh = 150.0f; // above every box of the arena

// The emitter files and the character model in the world's working folder.
void StockWorld(tarsel::test::GameWorld& world)
{
    for (const std::string* file :
         {&quellor::OrbEmitters::kBlastFile, &quellor::OrbEmitters::kInnerFile, &quellor::OrbEmitters::kOuterFile}) {
        std::ifstream in(tarsel::test::ContentDir() / *file);
        std::ostringstream text;
        text << in.rdbuf();
        world.WriteFile(*file, text.str());
    }
    quellor::OrbEmitters::Reset();
    world.WriteFile("models/base_idle.model", tarsel::tools::WriteModel(tarsel::tools::character::BuildModel()));
    world.graphics->LoadModel("models/base_idle.model");
}

void BM_OrbUpdate(benchmark::State& state)
{
    tarsel::test::GameWorld world;
    StockWorld(world);
    quellor::scenes::BuildScene3D(*world.physics->GetWorld(), tarselbench::GameplayScene());
    quellor::Entity* shooter = tarsel::test::BuildPlayer(*world.engine, "shooter", 0.0f, 3.5f, 0.0f);
    auto* skinned = new quellor::GraphicsComponent3DSkinned;
    skinned->m_modelName = "base_idle.model";
    shooter->AddComponent(quellor::GraphicsComponent3DSkinned::ID, skinned, true);
    shooter->AddComponent<quellor::ActionComponent>(true);
    auto* weapon = shooter->AddComponent<quellor::OrbComponent>(true);
    weapon->m_orbLifeTime = 1.0e9f;
    world.Step(2);
    // On a ring above the arena, flying outward, apart from each other: nothing lies a second
    // of flight ahead and nothing touches them.
    for (int i = 0; i < kOrbs; ++i) {
        const float around = 6.2831855f * static_cast<float>(i) / kOrbs;
        weapon->SpawnOrb(quellor::Vec4(std::cos(around), 0.0f, std::sin(around), 0.0f), 0.0f, nullptr);
        const quellor::OrbRecord& orb = weapon->GetOrbs().back();
        orb.orb.Get()->GetComponent<quellor::RigidBodyComponent3D>()->SetPosition(
            quellor::Vec4(40.0f * std::cos(around), kHigh, 40.0f * std::sin(around), 1.0f));
    }
    world.Step(2);

    for (auto _ : state)
        weapon->Update(kDt);

    int locked = 0;
    for (const quellor::OrbRecord& orb : weapon->GetOrbs())
        locked += orb.target.Get() ? 1 : 0;
    state.counters["orbs"] = static_cast<double>(weapon->GetOrbs().size());
    state.counters["rays_per_frame"] = 5.0 * static_cast<double>(weapon->GetOrbs().size());
    state.counters["locked"] = locked;
}

void BM_OrbMeshRebuild(benchmark::State& state)
{
    tarsel::test::GameWorld world;
    quellor::Entity* orb = world.Spawn("orb", 10.0f, 20.0f, 30.0f);
    orb->AddComponent<quellor::RigidBodyComponent3D>(true)->SetLinearVelocity(quellor::Vec4(0.0f, 0.0f, 200.0f, 0.0f));
    auto* ball = orb->AddComponent<quellor::OrbMeshComponent>(true);
    auto* shell = orb->AddComponent<quellor::OrbLightningComponent>(true);
    auto* cone = orb->AddComponent<quellor::OrbConeComponent>(true);
    for (auto _ : state) {
        ball->Update(kDt);
        shell->Update(kDt);
        cone->Update(kDt);
        benchmark::DoNotOptimize(ball->Vertices().data());
    }
    state.counters["vertices"] = ball->NumVerts() + shell->NumVerts() + cone->NumVerts();
}

} // namespace

BENCHMARK(BM_OrbUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrbMeshRebuild)->Unit(benchmark::kMicrosecond);
