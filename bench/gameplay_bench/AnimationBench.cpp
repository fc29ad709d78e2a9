// Character animation: four generated characters with the 94-clip library, moving, aiming and
// firing on a scripted 600-frame loop, on the offscreen OpenGL context. Two figures, in µs per
// frame: the four AnimationControllerComponent updates (every blend-space weight set by name,
// eight of them non-zero) and GraphicsSystem::UpdateSkinned posing the four (94 clips playing,
// eight weighted). bench_assets' BM_ControllerUpdate_94Clips8Weighted is the same pose on one
// bare controller.
#include "bench/BenchMain.h"
#include "bench/gameplay_bench/InContentFolder.h"
#include "bench/gpu/GpuRig.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/PlayerDataComponent.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/ClipLibraryWriter.h"
#include "tools/writers/ModelWriter.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tarsel::tools;

constexpr int kCharacters = 4;
constexpr int kScriptFrames = 600;
constexpr float kDt = 1.0f / 60.0f;

// The character model and its clip library, written once into a folder removed at exit.
const fs::path& Assets()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / ("tarsel-bench-gameplay-" + std::to_string(getpid()));
        fs::create_directories(path);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(Assets(), ec);
        });
        std::ofstream(path / "base_idle.model", std::ios::binary) << WriteModel(character::BuildModel());
        character::WriteLibrary(path);
        return path;
    }();
    return folder;
}

// Four characters in one engine, each with its skinned model, player data and controller.
struct Characters {
    quellor::Engine* engine = nullptr;
    quellor::GraphicsSystem* graphics = nullptr;
    std::vector<quellor::AnimationControllerComponent*> controllers;
    std::vector<quellor::PlayerDataComponent*> players;
    int frame = 0;

    bool Build(gpubench::Rig& rig)
    {
        engine = quellor::Engine::Instance();
        std::shared_ptr<ZOR::RenderContext> context(rig.context.get(), [](ZOR::RenderContext*) {});
        graphics = new quellor::GraphicsSystem(context, rig.window->GetHWND());
        engine->AddSystem("GraphicsSystem", graphics, "default");
        if (!graphics->LoadModel((Assets() / "base_idle.model").string()))
            return false;
        for (const std::string& name : character::LibraryNames())
            if (!graphics->LoadAnimation((Assets() / name).string()))
                return false;
        for (int i = 0; i < kCharacters; ++i) {
            quellor::Entity* entity = engine->CreateEntity("character" + std::to_string(i), "default");
            entity->AddComponent<quellor::Transform3D>(true)->SetPosition(static_cast<float>(i) * 20.0f, 0.0f, 0.0f);
            auto* skinned = entity->AddComponent<quellor::GraphicsComponent3DSkinned>(false);
            skinned->m_modelName = "base_idle.model";
            skinned->Initialize();
            players.push_back(entity->AddComponent<quellor::PlayerDataComponent>(true));
            controllers.push_back(entity->AddComponent<quellor::AnimationControllerComponent>(true));
        }
        return true;
    }

    // This frame's inputs: each character circles at its own pace with its aim turning the other
    // way, looks up and down, jumps now and then, fires an orb every second and holds the lift
    // beam for a third of each 10 s.
    void Script()
    {
        const int f = frame++ % kScriptFrames;
        for (int i = 0; i < kCharacters; ++i) {
            const float t = static_cast<float>(f) * kDt * (1.0f + 0.25f * static_cast<float>(i));
            quellor::AnimationControllerComponent* c = controllers[static_cast<std::size_t>(i)];
            const bool still = (f / 90 + i) % 4 == 0;
            c->SetMoveX(still ? 0.0f : std::cos(t));
            c->SetMoveY(still ? 0.0f : std::sin(t));
            c->SetAimX(-std::cos(-0.5f * t));
            c->SetAimY(-std::sin(-0.5f * t));
            c->SetAimPitch(0.6f * std::sin(0.7f * t));
            if ((f + 15 * i) % 60 == 0)
                c->SetOrbBlast(0.5f, 0.3f);
            if ((f + 50 * i) % kScriptFrames < kScriptFrames / 3)
                c->SetLiftBlast(0.15f);
            players[static_cast<std::size_t>(i)]->m_onGround = (f + 40 * i) % 120 >= 30;
        }
    }

    ~Characters() { quellor::Engine::DestroyInstance(); }
};

// Runs the scripted frames, each the controllers' updates then the skinned update; the part
// asked for is the iteration's time.
void RunFrames(benchmark::State& state, bool timeControllers)
{
    gpubench::Rig& rig = gpubench::RigFor(320, 180);
    if (!rig.ok) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    gameplaybench::InContentFolder inContent;
    Characters characters;
    if (!characters.Build(rig)) {
        state.SkipWithError("the character's assets did not load");
        return;
    }
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        characters.Script();
        const Clock::time_point start = Clock::now();
        for (quellor::AnimationControllerComponent* c : characters.controllers)
            c->Update(kDt);
        const Clock::time_point weighted = Clock::now();
        characters.graphics->UpdateSkinned(kDt);
        const Clock::time_point posed = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(timeControllers ? weighted - start : posed - weighted).count());
    }
    state.counters["characters"] = kCharacters;
}

void BM_AnimationControllerComponents(benchmark::State& state)
{
    RunFrames(state, true);
}

void BM_UpdateSkinned(benchmark::State& state)
{
    RunFrames(state, false);
}

} // namespace

// The first of the 600 frames starts the 94 clips on each character, as in play.
BENCHMARK(BM_AnimationControllerComponents)->Iterations(kScriptFrames)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateSkinned)->Iterations(kScriptFrames)->UseManualTime()->Unit(benchmark::kMicrosecond);
