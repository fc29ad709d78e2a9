// The weapons' effects on OpenGL: the lift beam and the shot's tube, drawn additively, light the
// pixels they cover, and the beam's texture repeats outside u 0 to 1 (its bands scroll there).
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "gameplay/effects/SnapshotFxComponent.h"
#include "renderer/Camera.h"
#include "tests/support/ContentDir.h"
#include "tests/support/GLContextFixture.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

namespace quellor::test {
namespace {

namespace fs = std::filesystem;
using ZOR::float2;
using ZOR::float3;
using Image = ZOR::DXRenderContext::ReadBackData;

// A 16 x 4 texture of the grey value in its first quarter along u and black elsewhere, opaque.
tarsel::tools::Image QuarterStrip(std::uint8_t value)
{
    tarsel::tools::Image image{16, 4, std::vector<std::uint8_t>(16 * 4 * 4, 0)};
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 16; ++x) {
            std::uint8_t* p = &image.rgba[(y * 16 + x) * 4];
            p[0] = p[1] = p[2] = x < 4 ? value : 0;
            p[3] = 255;
        }
    return image;
}

class WeaponGLTest : public tarsel::test::GLContextFixture {
protected:
    void SetUp() override
    {
        RegisterGameplayTypes();
        Display().modes = {{320, 180, 60, 0}};
        WriteConfig("[ZOR_CONFIG]\nWIDTH=320\nHEIGHT=180\nANISOTROPY=1\n");
        root = Folder() / "game";
        fs::create_directories(root);
        fs::copy(tarsel::test::ContentDir() / "shaders", root / "shaders", fs::copy_options::recursive);
        // Plain light grey for the beam and the tube.
        tarsel::tools::Image grey{4, 4, std::vector<std::uint8_t>(64, 200)};
        for (std::size_t i = 3; i < grey.rgba.size(); i += 4)
            grey.rgba[i] = 255;
        std::ofstream(root / "shot_lift.dds", std::ios::binary)
            << tarsel::tools::WriteDds(grey, tarsel::tools::DdsFormat::RGBA8);
        std::ofstream(root / "shot_pop.dds", std::ios::binary)
            << tarsel::tools::WriteDds(grey, tarsel::tools::DdsFormat::RGBA8);
        std::ofstream(root / "strip.dds", std::ios::binary)
            << tarsel::tools::WriteDds(QuarterStrip(200), tarsel::tools::DdsFormat::RGBA8);
        tarsel::tools::Image black{4, 4, std::vector<std::uint8_t>(64, 0)};
        for (std::size_t i = 3; i < black.rgba.size(); i += 4)
            black.rgba[i] = 255;
        std::ofstream(root / "black.png", std::ios::binary) << tarsel::tools::WritePng(black);
        tarsel::tools::MaterialDescription material;
        material.textures[0] = "black.png";
        ASSERT_TRUE(tarsel::tools::WriteMaterial(material, (root / "black.mat").string()));
        cwd = std::make_unique<tarsel::test::WorkingDirectory>(root);

        engine = Engine::Instance();
        std::shared_ptr<ZOR::RenderContext> context(&UninitializedContext(), [](ZOR::RenderContext*) {});
        graphics = new GraphicsSystem(context, Window().GetHWND());
        engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
        engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default");
        // The beam's fade is tweened on its entity's flow.
        engine->AddSystem(ActionSystem::ID, new ActionSystem, "default");
        engine->AddSystem("GraphicsSystem", graphics, "default");
        ASSERT_TRUE(graphics->GetInitializeResult());
        for (const char* name : {"shot_lift.dds", "shot_pop.dds", "strip.dds", "black.png"})
            ASSERT_TRUE(graphics->LoadTexture((root / name).string())) << name;
        ASSERT_TRUE(graphics->LoadModel((tarsel::test::ContentDir() / "models/cube.model").string()));
        ASSERT_TRUE(graphics->LoadMaterial((root / "black.mat").string()));
        // A frame draws its passes only when a model is in view: a black wall far behind.
        Entity* wall = engine->CreateEntity("wall", "default");
        auto* place = wall->AddComponent<Transform3D>(true);
        place->SetPosition(0.0f, 0.0f, -40.0f);
        place->SetScale(60.0f, 60.0f, 1.0f);
        auto* model = new GraphicsComponent3D;
        model->m_modelName = "cube.model";
        model->m_materialName = "black.mat";
        wall->AddComponent(GraphicsComponent3D::ID, model, true);
        graphics->EnableEffect(ZOR::RenderSystem::Lighting, -1);
        ZOR::Camera& camera = graphics->GetActiveCamera(0);
        camera.SetPosition(float3(0.0f, 0.0f, 12.0f));
        camera.LookAt(float3(0.0f, 0.0f, -1.0f), float3(0.0f, 1.0f, 0.0f));
    }
    // The engine goes before the fixture's context: its graphics system frees GPU resources there.
    void TearDown() override
    {
        Engine::DestroyInstance();
        cwd.reset();
    }

    Image Frame(int frames = 4)
    {
        for (int frame = 0; frame < frames; ++frame)
            engine->Update(1.0f / 60.0f);
        Image image;
        EXPECT_TRUE(Context().ReadBack(Context().GetBackBuffer(), image));
        return image;
    }
    static int Luma(const Image& data, int x, int y)
    {
        const std::size_t offset = (static_cast<std::size_t>(y) * data.size.width + static_cast<std::size_t>(x)) * 4;
        if (offset + 4 > data.bytes.size())
            return -1;
        return (data.bytes[offset] + data.bytes[offset + 1] + data.bytes[offset + 2]) / 3;
    }
    static int Centre(const Image& data)
    {
        return Luma(data, static_cast<int>(data.size.width / 2), static_cast<int>(data.size.height / 2));
    }
    static int Corner(const Image& data) { return Luma(data, 20, 20); }

    template <typename T>
    T* Effect(const std::string& name)
    {
        Entity* entity = engine->CreateEntity(name, "default");
        return entity->AddComponent<T>(true);
    }

    fs::path root;
    std::unique_ptr<tarsel::test::WorkingDirectory> cwd;
    Engine* engine = nullptr;
    GraphicsSystem* graphics = nullptr;
};

TEST_F(WeaponGLTest, TheBeamAndTheTubeLightTheirPixels)
{
    const int empty = Centre(Frame());
    // Upright, the beam is a straight tube through the middle of the view.
    auto* beam = Effect<LiftFxComponent>("liftFx");
    beam->m_start = float3(0.0f, -6.0f, 0.0f);
    beam->m_end = float3(0.0f, 6.0f, 0.0f);
    beam->FadeIn(0.05f);
    const int lifted = Centre(Frame(8));
    EXPECT_GT(lifted, empty + 20) << "beam " << lifted << ", background " << empty;
    engine->GetEntity("liftFx", "default")->Destroy();
    EXPECT_NEAR(Centre(Frame()), empty, 6);

    auto* tube = Effect<SnapshotFxComponent>("snapshotFx");
    tube->m_radius = SnapshotFxComponent::kOpenRadius;
    tube->m_from = float3(-6.0f, 0.0f, 0.0f);
    tube->m_to = float3(6.0f, 0.0f, 0.0f);
    const int shot = Centre(Frame());
    EXPECT_GT(shot, empty + 20) << "tube " << shot << ", background " << empty;
    // Collapsed, it leaves the view as it was.
    tube->m_radius = 0.0f;
    EXPECT_NEAR(Centre(Frame()), empty, 6);
}

TEST_F(WeaponGLTest, TheBeamTextureRepeatsOutsideZeroToOne)
{
    // A quad facing the camera drawn as the beam draws: additive, no culling.
    auto* quad = Effect<DynamicMeshComponent>("quad");
    quad->SetTexture("strip.dds");
    quad->SetBlendMode(ZOR::BlendMode::Additive);
    quad->SetCullMode(ZOR::CullMode::None);
    const auto draw = [&](float u0, float u1) {
        quad->Clear();
        quad->Push(float3(-2.0f, -2.0f, 0.0f), float2(u0, 1.0f), 1.0f);
        quad->Push(float3(2.0f, -2.0f, 0.0f), float2(u1, 1.0f), 1.0f);
        quad->Push(float3(2.0f, 2.0f, 0.0f), float2(u1, 0.0f), 1.0f);
        quad->Push(float3(-2.0f, -2.0f, 0.0f), float2(u0, 1.0f), 1.0f);
        quad->Push(float3(2.0f, 2.0f, 0.0f), float2(u1, 0.0f), 1.0f);
        quad->Push(float3(-2.0f, 2.0f, 0.0f), float2(u0, 0.0f), 1.0f);
        return Centre(Frame());
    };
    const int bright = draw(0.05f, 0.2f);
    const int dark = draw(0.55f, 0.7f);
    EXPECT_GT(bright, dark + 40) << "bright quarter " << bright << ", dark part " << dark;
    // The same windows whole turns away on either side.
    for (const float turns : {2.0f, -3.0f}) {
        EXPECT_NEAR(draw(0.05f + turns, 0.2f + turns), bright, 6) << turns;
        EXPECT_NEAR(draw(0.55f + turns, 0.7f + turns), dark, 6) << turns;
    }
}

} // namespace
} // namespace quellor::test
