// The graphics system's per-frame work before the renderer draws (the components refreshed
// from their transforms, the lights set, the shadow caster's bounds), with 1 000 and 4 000
// static models plus 100 point lights, on the offscreen OpenGL context. Time per frame in µs.
#include "bench/BenchMain.h"
#include "bench/gpu/GpuRig.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/PointLightComponent.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path ContentDir()
{
    const char* dir = std::getenv("TARSEL_CONTENT_DIR");
    return dir ? dir : "content";
}

void GraphicsSystemUpdate(benchmark::State& state)
{
    const int models = static_cast<int>(state.range(0));
    gpubench::Rig& rig = gpubench::RigFor(320, 180);
    if (!rig.ok) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    // The system finds its shaders under the working directory, as the game does.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::error_code error;
    std::filesystem::current_path(ContentDir(), error);

    quellor::Engine* engine = quellor::Engine::Instance();
    std::shared_ptr<ZOR::RenderContext> context(rig.context.get(), [](ZOR::RenderContext*) {});
    auto* graphics = new quellor::GraphicsSystem(context, rig.window->GetHWND());
    engine->AddSystem("GraphicsSystem", graphics, "default");
    graphics->LoadModel((ContentDir() / "models" / "cube.model").string());

    std::vector<quellor::Transform3D*> transforms;
    for (int i = 0; i < models + 100; ++i) {
        quellor::Entity* entity = engine->CreateEntity("e" + std::to_string(i), "default");
        auto* t = entity->AddComponent<quellor::Transform3D>(true);
        t->SetPosition(static_cast<float>(i % 64) * 3.0f - 96.0f, 0.0f, static_cast<float>(i / 64) * 3.0f - 96.0f);
        transforms.push_back(t);
        if (i < models) {
            auto* model = entity->AddComponent<quellor::GraphicsComponent3D>(false);
            model->m_modelName = "cube.model";
            model->Initialize();
        } else {
            auto* light = entity->AddComponent<quellor::PointLightComponent>(true);
            light->SetRadius(6.0f);
        }
    }
    // Two updates: every light has found its transform and handed on its values.
    graphics->UpdateComponents(1.0f / 60.0f);
    graphics->UpdateComponents(1.0f / 60.0f);

    float phase = 0.0f;
    for (auto _ : state) {
        // Everything moves a little, as in play: the octree re-files what crossed a cell.
        phase += 0.01f;
        for (quellor::Transform3D* t : transforms)
            t->m_y = phase;
        graphics->UpdateComponents(1.0f / 60.0f);
        // The renderer would empty the drawer after drawing.
        graphics->GetDebugDrawer(true).Clear();
    }
    state.counters["components"] = static_cast<double>(models);
    state.counters["point_lights"] = 100;

    quellor::Engine::DestroyInstance();
    std::filesystem::current_path(previous, error);
}

} // namespace

BENCHMARK(GraphicsSystemUpdate)->Arg(1000)->Arg(4000)->Unit(benchmark::kMicrosecond);
