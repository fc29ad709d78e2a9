#include "GameplayScene.h"

#include "bench/gpu/GpuRig.h"
#include "engine/Engine.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "gameplay/cameras/CameraSystem.h"
#include "physics/PhysicsSystem3D.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace tarselbench {

using quellor::scenes::StaticBox;
using ZOR::float3;
using ZOR::float3x3;

namespace {

constexpr int kCrates = 40;
constexpr int kRamps = 20;

float3x3 AboutY(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return float3x3(c, 0.0f, s, 0.0f, 1.0f, 0.0f, -s, 0.0f, c);
}

float3x3 AboutZ(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return float3x3(c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f);
}

float3x3 Times(const float3x3& a, const float3x3& b)
{
    float3x3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i * 3 + j] = a.m[i * 3] * b.m[j] + a.m[i * 3 + 1] * b.m[3 + j] + a.m[i * 3 + 2] * b.m[6 + j];
    return r;
}

} // namespace

quellor::scenes::Scene3D GameplayScene()
{
    quellor::scenes::Scene3D scene;
    quellor::scenes::SceneRandom3D random(20261207u);
    scene.bodies.push_back(quellor::scenes::Floor(50.0f));
    // Crates resting on the floor.
    for (int i = 0; i < kCrates; ++i) {
        const float3 half(random.Range(0.3f, 2.0f), random.Range(0.2f, 1.5f), random.Range(0.3f, 2.0f));
        scene.bodies.push_back(StaticBox(float3(random.Range(-40.0f, 40.0f), half.y, random.Range(-40.0f, 40.0f)),
                                         half, AboutY(random.Range(0.0f, 3.14159f))));
    }
    // Ramps 10 to 30 degrees steep, turned any way about y, their low edges in the floor.
    for (int i = 0; i < kRamps; ++i) {
        const float slope = random.Range(0.17f, 0.52f);
        const float3x3 turn = Times(AboutY(random.Range(0.0f, 6.28318f)), AboutZ(slope));
        const float3 half(5.0f, 0.5f, 3.0f);
        scene.bodies.push_back(StaticBox(float3(random.Range(-40.0f, 40.0f), 5.0f * std::sin(slope) - 0.5f,
                                                random.Range(-40.0f, 40.0f)),
                                         half, turn));
    }
    // Walls for the rest.
    while (static_cast<int>(scene.bodies.size()) < kGameplaySceneBodies) {
        const float3 half(0.5f, random.Range(2.0f, 6.0f), random.Range(3.0f, 8.0f));
        scene.bodies.push_back(StaticBox(float3(random.Range(-45.0f, 45.0f), half.y, random.Range(-45.0f, 45.0f)),
                                         half, AboutY(random.Range(0.0f, 3.14159f))));
    }
    return scene;
}

namespace {

std::filesystem::path FolderPath()
{
    return std::filesystem::temp_directory_path() / ("tarsel-bench-gameplay-" + std::to_string(getpid()));
}

} // namespace

const std::filesystem::path& BenchFolder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = FolderPath();
        std::filesystem::create_directories(path);
        // Computed afresh: the static may be gone when the handler runs.
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(FolderPath(), ec);
        });
        for (const char* name : {"reticle", "reticuleRing"})
            std::ofstream(path / (std::string(name) + ".arch"))
                << "<archetype><Transform2D/><GraphicsComponent2D><m_materialName><string value=\"" << name
                << ".mat\"/></m_materialName></GraphicsComponent2D></archetype>\n";
        return path;
    }();
    return folder;
}

GameplayRig MakeGameplayRig(gpubench::Rig& gpu)
{
    quellor::RegisterGameplayTypes();
    GameplayRig rig;
    rig.engine = quellor::Engine::Instance();
    rig.physics = static_cast<quellor::PhysicsSystem3D*>(
        rig.engine->AddSystem("PhysicsSystem3D", new quellor::PhysicsSystem3D, "default"));
    rig.resources = static_cast<quellor::ResourceSystem*>(
        rig.engine->AddSystem("ResourceSystem", new quellor::ResourceSystem, "default"));
    rig.objects = static_cast<quellor::ObjectSystem*>(
        rig.engine->AddSystem("ObjectSystem", new quellor::ObjectSystem, "default"));
    rig.cameras = static_cast<quellor::CameraSystem*>(
        rig.engine->AddSystem("CameraSystem", new quellor::CameraSystem, "default"));
    std::shared_ptr<ZOR::RenderContext> context(gpu.context.get(), [](ZOR::RenderContext*) {});
    rig.graphics = static_cast<quellor::GraphicsSystem*>(rig.engine->AddSystem(
        "GraphicsSystem", new quellor::GraphicsSystem(context, gpu.window->GetHWND()), "default"));
    quellor::scenes::BuildScene3D(*rig.physics->GetWorld(), GameplayScene());
    for (const char* name : {"reticle.arch", "reticuleRing.arch"})
        rig.resources->CheckFile((BenchFolder() / name).string());
    return rig;
}

} // namespace tarselbench
