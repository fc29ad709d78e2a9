// Whole frames of the render system on the OpenGL back end (llvmpipe when headless) at 1280x720:
// 200 models (instanced in three materials, plain ones, four skinned), a shadowed sun, 20 point
// and 2 spot lights, sprites and four texts, on 1 and 4 screens, with every effect off and with
// lighting and shadows on. Prints CPU ms per frame (mean, max), the GPU time of each pass from
// timestamp queries, draw calls per frame, and the ratio to an empty frame. No package renders
// this frame, so the empty frame is the only peer. Last, the scene with 500 particles and every
// screen effect on, at 4 and 1 screens. --smoke: three frames of each configuration.
#include "bench/GpuPassTimer.h"
#include "platform/Display.h"
#include "renderer/Camera.h"
#include "renderer/DirectionalLight.h"
#include "renderer/Material.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/PointLight.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable2D.h"
#include "renderer/Renderable3D.h"
#include "renderer/Renderable3DSkinned.h"
#include "renderer/SpotLight.h"
#include "renderer/Text.h"
#include "renderer/Window.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using ZOR::float3;
using ZOR::RenderSystem;

fs::path ContentDir()
{
    if (const char* dir = std::getenv("TARSEL_CONTENT_DIR"))
        return dir;
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "content";
}

ZOR::float4x4 TranslateScale(const float3& t, const float3& s)
{
    return ZOR::float4x4(s.x, 0, 0, t.x, 0, s.y, 0, t.y, 0, 0, s.z, t.z, 0, 0, 0, 1);
}

struct Figures {
    double meanMs = 0.0;
    double maxMs = 0.0;
    double drawCalls = 0.0;
};

// The display offers the mode the benchmark renders at, whatever the headless driver lists.
class BenchDisplay : public platform::Display {
public:
    BenchDisplay() { platform::Display::Install(this); }
    ~BenchDisplay() override { platform::Display::Install(nullptr); }
    bool GetModes(std::vector<platform::DisplayModeDesc>& modes, std::string&) override
    {
        modes = {{1280, 720, 60, 0}};
        return true;
    }
    bool GetDesktopMode(platform::DisplayModeDesc& mode, std::string&) override
    {
        mode = {1280, 720, 60, 0};
        return true;
    }
};

class Bench {
public:
    Bench(RenderSystem& system, ZOR::DXRenderContext& context, std::vector<ZOR::Renderable3DSkinned*> skinned)
        : m_system(system), m_context(context), m_skinned(std::move(skinned))
    {
    }

    // CPU time of Update (which presents) over frames, with the profiler off.
    Figures Run(int warmup, int frames)
    {
        for (int i = 0; i < warmup; ++i)
            Step();
        Figures figures;
        const std::uint64_t draws = m_context.GetDrawCallCount();
        for (int i = 0; i < frames; ++i) {
            const double ms = Step();
            figures.meanMs += ms;
            figures.maxMs = std::max(figures.maxMs, ms);
        }
        figures.meanMs /= frames;
        figures.drawCalls = static_cast<double>(m_context.GetDrawCallCount() - draws) / frames;
        return figures;
    }

    // The pass split of frames with the timestamp profiler attached.
    void Profile(int frames)
    {
        tarselbench::GpuPassTimer timer;
        m_system.SetPassProfiler(&timer);
        for (int i = 0; i < frames; ++i) {
            Step();
            timer.EndFrame();
        }
        m_system.SetPassProfiler(nullptr);
        if (timer.Broken())
            std::printf("    GPU per pass: this context keeps no timestamps\n");
        else
            timer.Print();
    }

private:
    double Step()
    {
        const float dt = 1.0f / 60.0f;
        for (ZOR::Renderable3DSkinned* model : m_skinned)
            model->Update(dt);
        const auto start = Clock::now();
        m_system.Update(dt);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

    RenderSystem& m_system;
    ZOR::DXRenderContext& m_context;
    std::vector<ZOR::Renderable3DSkinned*> m_skinned;
};

void SetCamera(RenderSystem& system, int screen, const float3& eye, const float3& target)
{
    ZOR::Camera& camera = system.GetScreen(screen).GetActiveCamera();
    camera.SetPosition(eye);
    camera.LookAt(target - eye, float3(0, 1, 0));
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    bool smoke = false;
    for (int i = 1; i < argc; ++i)
        smoke = smoke || std::strcmp(argv[i], "--smoke") == 0;
    const int warmup = smoke ? 1 : 20;
    const int frames = smoke ? 2 : 200;
    const int profiled = smoke ? 1 : 50;

    const fs::path content = ContentDir();
    const fs::path folder = fs::temp_directory_path() / ("frame_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    // Plain filtering: llvmpipe filters anisotropically in software at many times the cost of
    // the rest of the frame, which would hide everything else; its cost is measured apart below.
    std::ofstream(folder / "config.ini") << "[ZOR_CONFIG]\nWIDTH=1280\nHEIGHT=720\nANISOTROPY=1\n";
    {
        tarsel::tools::Image white{4, 4, std::vector<std::uint8_t>(64, 255)};
        std::ofstream(folder / "white.png", std::ios::binary) << tarsel::tools::WritePng(white);
    }

    BenchDisplay display;
    ZOR::Window window("frame_bench", ZOR::Dimension(1280, 720), false);
    auto system = std::make_unique<RenderSystem>(ZOR::Config((folder / "config.ini").string()), window.GetHWND());
    system->SetShaderPath((content / "shaders").string() + "/");
    if (!window.IsAlive() || !system->Initialize()) {
        std::printf("frame_bench: OpenGL 4.5 could not start (set SDL_VIDEODRIVER=offscreen when headless)\n");
        fs::remove_all(folder);
        return 1;
    }
    auto* context = dynamic_cast<ZOR::DXRenderContext*>(system->GetRenderContext());
    if (context == nullptr) {
        std::printf("frame_bench: not the OpenGL render context\n");
        fs::remove_all(folder);
        return 1;
    }
    const ZOR::Dimension size = context->GetTextureSize(context->GetBackBuffer());
    std::printf("frame_bench on %s, back buffer %ux%u, %d frames a configuration%s\n",
                context->GetGraphicsCardInfo().c_str(), size.width, size.height, frames, smoke ? " (smoke)" : "");

    bool loaded = true;
    for (const char* model : {"cube.model", "sphere.model", "base_idle.model"})
        loaded = system->LoadModel((content / "models" / model).string()) && loaded;
    loaded = system->LoadAnimation((content / "animations" / "idle_base.anim").string()) && loaded;
    loaded = system->LoadFont((content / "fonts" / "font_32.bff").string()) && loaded;
    loaded = system->LoadTexture((content / "textures" / "fonts" / "font_32.dds").string()) && loaded;
    loaded = system->LoadTexture((folder / "white.png").string()) && loaded;
    if (!loaded) {
        std::printf("frame_bench: the generated content is missing under %s\n", content.c_str());
        fs::remove_all(folder);
        return 1;
    }
    const auto material = [&](const std::string& name, float r, float g, float b) {
        tarsel::tools::MaterialDescription description;
        description.textures[0] = "white.png";
        description.diffuse = ZOR::Color(r, g, b, 1.0f);
        description.shininess = 20.0f;
        tarsel::tools::WriteMaterial(description, (folder / name).string());
        system->LoadMaterial((folder / name).string());
        return system->GetMaterial(name);
    };
    system->SetOctree(200.0f, 1.5f, 4);
    system->SetViewPlanes(0.5f, 200.0f);
    system->SetGlobalAmbient(0.2f, 0.2f, 0.2f);
    system->SetOrthographicProjectionSize(ZOR::float2(1280.0f, 720.0f));

    // The empty frame first: nothing added at all.
    Bench empty(*system, *context, {});
    const Figures baseline = empty.Run(warmup, frames);
    std::printf("empty frame: %.3f ms mean, %.3f ms max, %.1f draw calls\n", baseline.meanMs, baseline.maxMs,
                baseline.drawCalls);

    ZOR::Material* sky = material("sky.mat", 0.35f, 0.55f, 0.9f);
    system->GetSkySphere().SetMaterial(sky);
    system->GetSkySphere().SetWorldMatrix(TranslateScale(float3(0, 0, 0), float3(150, 150, 150)));
    system->DrawSkySphere(true);

    std::vector<std::unique_ptr<ZOR::Renderable3D>> models;
    const auto addModel = [&](const char* name, const ZOR::float4x4& world, ZOR::Material* m, bool instanced) {
        models.push_back(std::make_unique<ZOR::Renderable3D>());
        ZOR::Renderable3D& model = *models.back();
        system->AddRenderable(&model);
        model.SetModel(name);
        model.SetMaterial(m);
        model.SetInstanced(instanced);
        model.SetWorldMatrix(world);
        model.Update(0.0f);
    };
    addModel("cube.model", TranslateScale(float3(0, -0.5f, 0), float3(60, 1, 60)), material("ground.mat", 0.8f, 0.8f, 0.8f),
             false);
    ZOR::Material* instancedMaterials[3] = {material("red.mat", 0.9f, 0.2f, 0.2f), material("green.mat", 0.2f, 0.9f, 0.2f),
                                            material("blue.mat", 0.2f, 0.2f, 0.9f)};
    // 180 instanced cubes on a 15 x 12 grid, 16 plain spheres, 4 skinned characters: 200 models.
    for (int i = 0; i < 180; ++i) {
        const float x = static_cast<float>(i % 15) * 3.0f - 21.0f;
        const float z = static_cast<float>(i / 15) * 3.0f - 18.0f;
        addModel("cube.model", TranslateScale(float3(x, 0.5f, z), float3(1, 1, 1)), instancedMaterials[i % 3], true);
    }
    ZOR::Material* plain = material("plain.mat", 0.9f, 0.9f, 0.6f);
    for (int i = 0; i < 16; ++i) {
        const float angle = static_cast<float>(i) * 0.3926991f;
        addModel("sphere.model", TranslateScale(float3(24 * std::cos(angle), 1, 24 * std::sin(angle)), float3(1, 1, 1)),
                 plain, false);
    }
    std::vector<std::unique_ptr<ZOR::Renderable3DSkinned>> characters;
    std::vector<ZOR::Renderable3DSkinned*> skinned;
    ZOR::Material* skin = material("skin.mat", 0.8f, 0.6f, 0.5f);
    for (int i = 0; i < 4; ++i) {
        characters.push_back(std::make_unique<ZOR::Renderable3DSkinned>());
        ZOR::Renderable3DSkinned& c = *characters.back();
        system->AddRenderable(&c);
        c.SetModel("base_idle.model");
        c.SetMaterial(skin);
        c.SetWorldMatrix(TranslateScale(float3(static_cast<float>(i) * 4.0f - 6.0f, 0, 20), float3(1, 1, 1)));
        c.GetAnimationController().AddAnimation(system->GetAnimation("idle_base.anim"));
        c.GetAnimationController().PlayAnimation("idle_base.anim");
        c.Update(0.0f);
        skinned.push_back(&c);
    }

    ZOR::DirectionalLight sun;
    const float3 direction = float3(0.5f, -1.0f, 0.3f) * (1.0f / std::sqrt(1.34f));
    sun.SetDirection(direction);
    sun.SetColor(1.0f, 0.95f, 0.85f);
    system->AddRenderable(&sun);
    RenderSystem::ShadowCaster& caster = system->GetShadowCaster();
    caster.camera.SetPosition(direction * -60.0f);
    caster.camera.LookAt(direction, float3(0, 1, 0));
    caster.camera.SetProjectionMatrix(0.9f, 1.0f, 20.0f, 120.0f);
    caster.nearFar = ZOR::float2(20.0f, 120.0f);

    std::vector<std::unique_ptr<ZOR::PointLight>> points;
    for (int i = 0; i < 20; ++i) {
        points.push_back(std::make_unique<ZOR::PointLight>());
        ZOR::PointLight& light = *points.back();
        light.SetPosition(static_cast<float>(i % 5) * 9.0f - 18.0f, 1.5f, static_cast<float>(i / 5) * 9.0f - 13.5f);
        light.SetColor(0.3f + 0.035f * static_cast<float>(i), 0.6f, 1.0f - 0.035f * static_cast<float>(i));
        light.SetRadius(6.0f);
        light.SetIntensity(2.0f);
        light.Update(0.0f);
        system->AddRenderable(&light);
    }
    ZOR::SpotLight spots[2];
    for (int i = 0; i < 2; ++i) {
        spots[i].SetPosition(i == 0 ? -10.0f : 10.0f, 8.0f, 0.0f);
        spots[i].SetDirection(0, -1, 0);
        spots[i].SetColor(1, 1, 1);
        spots[i].SetRadius(12.0f);
        spots[i].SetIntensity(3.0f);
        spots[i].SetConeAngles(20.0f, 30.0f);
        system->AddRenderable(&spots[i]);
    }
    system->ResolveOctree();

    std::vector<std::unique_ptr<ZOR::Renderable2D>> sprites;
    ZOR::Material* spriteMaterials[2] = {material("sprite_a.mat", 1, 1, 1), material("sprite_b.mat", 1, 0.8f, 0.2f)};
    for (int i = 0; i < 24; ++i) {
        sprites.push_back(std::make_unique<ZOR::Renderable2D>());
        ZOR::Renderable2D& sprite = *sprites.back();
        system->AddRenderable(&sprite);
        sprite.SetMaterial(spriteMaterials[i % 2]);
        sprite.SetZLayer(static_cast<unsigned>(i % 3));
        sprite.SetScreenID(i % 6 == 0 ? -1 : 5);
        sprite.SetPosition(static_cast<float>(i % 8) * 40.0f + 20.0f, static_cast<float>(i / 8) * 40.0f + 20.0f);
        sprite.SetSize(32, 32);
        sprite.SetAlpha(0.8f);
    }
    ZOR::Text texts[4];
    const char* values[4] = {"Player 1  3 points", "Player 2  5 points", "01:59", "Round 2 of 5"};
    for (int i = 0; i < 4; ++i) {
        system->AddRenderable(&texts[i]);
        texts[i].SetFont("font_32.bff");
        texts[i].SetFontTexture("font_32.dds");
        texts[i].SetValue(values[i]);
        texts[i].SetColor(1, 1, 1, 1);
        texts[i].SetPosition(40.0f, 300.0f + 40.0f * static_cast<float>(i));
        texts[i].SetScreenID(i == 2 ? -1 : 5);
    }

    const float3 eyes[4] = {float3(0, 14, 30), float3(30, 10, 0), float3(-25, 12, -25), float3(0, 30, 1)};
    for (int s = 0; s < 4; ++s) {
        if (s > 0)
            system->AddScreen(true);
        SetCamera(*system, s, eyes[s], float3(0, 0, 0));
    }
    for (int s = 1; s < 4; ++s)
        system->RemoveScreen(true);

    Bench bench(*system, *context, skinned);
    for (const int screens : {1, 4}) {
        while (static_cast<int>(system->GetActiveScreens()) < screens)
            system->AddScreen(true);
        for (const bool effects : {false, true}) {
            for (const RenderSystem::Effect effect : {RenderSystem::Lighting, RenderSystem::Shadows}) {
                if (effects)
                    system->EnableEffect(effect, -1);
                else
                    system->DisableEffect(effect, -1);
            }
            const Figures f = bench.Run(warmup, frames);
            std::printf("%d screen%s, %s: %.3f ms mean, %.3f ms max, %.1f draw calls, %.1fx the empty frame\n",
                        screens, screens == 1 ? "" : "s", effects ? "lighting+shadows" : "effects off", f.meanMs,
                        f.maxMs, f.drawCalls, f.meanMs / std::max(baseline.meanMs, 1e-6));
            bench.Profile(profiled);
        }
    }

    // The same scene with a 500-particle emitter and every screen effect (1-9) on.
    ZOR::ParticleEmitter emitter;
    system->AddRenderable(&emitter);
    emitter.SetParticleTypeCount(2);
    const ZOR::Color ember(1.0f, 0.6f, 0.2f, 1.0f);
    emitter.SetParticleType(0, "white.png", ZOR::BlendMode::Alpha, ember, ember);
    emitter.SetParticleType(1, "white.png", ZOR::BlendMode::Additive, ember, ember);
    emitter.SetEmitterType(ZOR::ParticleEmitter::BOX);
    emitter.SetBox(ZOR::AABB(float3(-3, 0, -3), float3(3, 4, 3)));
    emitter.SetMaxParticles(500);
    emitter.SetLifespan(100.0f, 100.0f);
    emitter.SetSpawnInterval(0.0f, 0.0f);
    emitter.SetScale(0.3f, 0.3f);
    emitter.Emit(true);
    emitter.Update(1e-4f);
    emitter.Update(1e-4f);
    system->ResolveOctree();
    for (std::uint32_t effect = RenderSystem::Lighting; effect <= RenderSystem::EdgeDetection; ++effect)
        system->EnableEffect(static_cast<RenderSystem::Effect>(effect), -1);
    for (const int screens : {4, 1}) {
        while (static_cast<int>(system->GetActiveScreens()) > screens)
            system->RemoveScreen(true);
        const Figures f = bench.Run(warmup, frames);
        std::printf("%d screen%s, 500 particles, effects 1-9: %.3f ms mean, %.3f ms max, %.1f draw calls, %.1fx the "
                    "empty frame\n",
                    screens, screens == 1 ? "" : "s", f.meanMs, f.maxMs, f.drawCalls,
                    f.meanMs / std::max(baseline.meanMs, 1e-6));
        bench.Profile(profiled);
    }
    system->RemoveRenderable(&emitter);
    for (std::uint32_t effect = RenderSystem::Lighting; effect <= RenderSystem::EdgeDetection; ++effect)
        system->DisableEffect(static_cast<RenderSystem::Effect>(effect), -1);

    // llvmpipe filters anisotropically in software and has been seen to stall at 16x: measured in
    // full runs only, so that a smoke run cannot hang.
    if (!smoke) {
        context->SetAnisotropy(ZOR::Anisotropy::X16);
        const Figures aniso = bench.Run(2, 10);
        std::printf("1 screen, effects off, 16x anisotropic filtering: %.3f ms mean, %.3f ms max\n", aniso.meanMs,
                    aniso.maxMs);
    }

    for (auto& model : models)
        system->RemoveRenderable(model.get());
    for (auto& c : characters)
        system->RemoveRenderable(c.get());
    for (auto& light : points)
        system->RemoveRenderable(light.get());
    for (ZOR::SpotLight& spot : spots)
        system->RemoveRenderable(&spot);
    system->RemoveRenderable(&sun);
    for (auto& sprite : sprites)
        system->RemoveRenderable(sprite.get());
    for (ZOR::Text& text : texts)
        system->RemoveRenderable(&text);
    system.reset();
    fs::remove_all(folder);
    return 0;
}
