// The orb's meshes on OpenGL: an orb and a charge sphere change the pixels they cover, and a
// texture window past u = 1 (the shell's scroll) samples the texture as its wrapped window does.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "gameplay/effects/OrbChargeComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "renderer/Camera.h"
#include "tests/support/ContentDir.h"
#include "tests/support/GLContextFixture.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quellor::test {
namespace {

namespace fs = std::filesystem;

class OrbGLTest : public tarsel::test::GLContextFixture {
protected:
    void SetUp() override
    {
        RegisterGameplayTypes();
        Display().modes = {{320, 180, 60, 0}};
        WriteConfig("[ZOR_CONFIG]\nWIDTH=320\nHEIGHT=180\n");
        root = Folder() / "game";
        fs::create_directories(root);
        fs::copy(tarsel::test::ContentDir() / "shaders", root / "shaders", fs::copy_options::recursive);
        // Five frames of white, and a strip white in its first quarter only.
        tarsel::tools::Image white{20, 4, std::vector<std::uint8_t>(20 * 4 * 4, 255)};
        for (const char* name : {"pop_sphere_spin.dds", "pop_sphere_charge.dds"})
            std::ofstream(root / name, std::ios::binary) << tarsel::tools::WriteDds(white, tarsel::tools::DdsFormat::RGBA8);
        tarsel::tools::Image quarter{16, 4, std::vector<std::uint8_t>(16 * 4 * 4, 0)};
        for (std::uint32_t y = 0; y < 4; ++y)
            for (std::uint32_t x = 0; x < 4; ++x)
                for (int c = 0; c < 4; ++c)
                    quarter.rgba[(y * 16 + x) * 4 + static_cast<std::uint32_t>(c)] = 255;
        for (std::uint32_t i = 3; i < quarter.rgba.size(); i += 4)
            quarter.rgba[i] = 255;
        std::ofstream(root / "quarter.dds", std::ios::binary) << tarsel::tools::WriteDds(quarter, tarsel::tools::DdsFormat::RGBA8);
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
        engine->AddSystem("GraphicsSystem", graphics, "default");
        ASSERT_TRUE(graphics->GetInitializeResult());
        for (const char* name : {"pop_sphere_spin.dds", "pop_sphere_charge.dds", "quarter.dds", "black.png"})
            ASSERT_TRUE(graphics->LoadTexture((root / name).string())) << name;
        // A frame draws its passes only when a model is in view: a black wall far behind.
        ASSERT_TRUE(graphics->LoadModel((tarsel::test::ContentDir() / "models/cube.model").string()));
        ASSERT_TRUE(graphics->LoadMaterial((root / "black.mat").string()));
        Entity* wall = engine->CreateEntity("wall", "default");
        auto* place = wall->AddComponent<Transform3D>(true);
        place->SetPosition(0.0f, 0.0f, -40.0f);
        place->SetScale(10.0f, 10.0f, 1.0f);
        auto* model = new GraphicsComponent3D;
        model->m_modelName = "cube.model";
        model->m_materialName = "black.mat";
        wall->AddComponent(GraphicsComponent3D::ID, model, true);
        // The dynamic meshes are drawn in the lit frame's forward pass.
        graphics->EnableEffect(ZOR::RenderSystem::Lighting, -1);
        ZOR::Camera& camera = graphics->GetActiveCamera(0);
        camera.SetPosition(ZOR::float3(0.0f, 0.0f, 12.0f));
        camera.LookAt(ZOR::float3(0.0f, 0.0f, -1.0f), ZOR::float3(0.0f, 1.0f, 0.0f));
    }
    // The engine goes before the fixture's context: its graphics system frees GPU resources there.
    void TearDown() override
    {
        Engine::DestroyInstance();
        cwd.reset();
    }

    ZOR::DXRenderContext::ReadBackData Frame()
    {
        for (int frame = 0; frame < 4; ++frame)
            engine->Update(1.0f / 60.0f);
        ZOR::DXRenderContext::ReadBackData image;
        EXPECT_TRUE(Context().ReadBack(Context().GetBackBuffer(), image));
        return image;
    }

    static int Luma(const ZOR::DXRenderContext::ReadBackData& data, int x, int y)
    {
        const std::size_t offset = (static_cast<std::size_t>(y) * data.size.width + static_cast<std::size_t>(x)) * 4;
        if (offset + 4 > data.bytes.size())
            return -1;
        return (data.bytes[offset] + data.bytes[offset + 1] + data.bytes[offset + 2]) / 3;
    }
    int CentreLuma(const ZOR::DXRenderContext::ReadBackData& data) const
    {
        return Luma(data, static_cast<int>(data.size.width / 2), static_cast<int>(data.size.height / 2));
    }

    fs::path root;
    std::unique_ptr<tarsel::test::WorkingDirectory> cwd;
    Engine* engine = nullptr;
    GraphicsSystem* graphics = nullptr;
};

TEST_F(OrbGLTest, OrbAndChargeSphereChangeThePixelsTheyCover)
{
    const int empty = CentreLuma(Frame());
    Entity* orb = engine->CreateEntity("orb", "default");
    orb->AddComponent<Transform3D>(true);
    orb->AddComponent<OrbMeshComponent>(true);
    const int withOrb = CentreLuma(Frame());
    EXPECT_GT(withOrb, empty + 40) << "orb " << withOrb << ", background " << empty;
    orb->Destroy();
    engine->Update(1.0f / 60.0f);
    EXPECT_NEAR(CentreLuma(Frame()), empty, 6);

    Entity* player = engine->CreateEntity("player", "default");
    player->AddComponent<Transform3D>(true);
    auto* charge = player->AddComponent<OrbChargeComponent>(true);
    charge->SetCentre(Vec4(0.0f, 0.0f, 0.0f, 1.0f));
    charge->StartCharge();
    const int withCharge = CentreLuma(Frame());
    EXPECT_GT(withCharge, empty + 20) << "charge " << withCharge << ", background " << empty;
}

TEST_F(OrbGLTest, WindowPastTheTextureEdgeSamplesLikeItsWrappedWindow)
{
    Entity* holder = engine->CreateEntity("holder", "default");
    holder->AddComponent<Transform3D>(true);
    auto* mesh = static_cast<DynamicMeshComponent*>(
        holder->AddComponent("DynamicMeshComponent", new DynamicMeshComponent(600), true));
    mesh->SetTexture("quarter.dds");
    const ZOR::float3x3 still;
    auto draw = [&](float u0) {
        mesh->Clear();
        mesh->Sphere(ZOR::float3(), 3.0f, 1.0f, 10, ZOR::float2(u0, 0.0f), ZOR::float2(u0 + 0.25f, 1.0f), still);
        return Frame();
    };
    // The update of the base class leaves the mesh as built here.
    const auto low = draw(0.0f);
    const auto high = draw(1.0f);
    const auto dark = draw(0.5f);
    ASSERT_EQ(low.bytes.size(), high.bytes.size());
    int differing = 0;
    for (std::size_t i = 0; i < low.bytes.size(); ++i)
        differing += std::abs(static_cast<int>(low.bytes[i]) - static_cast<int>(high.bytes[i])) > 8 ? 1 : 0;
    EXPECT_LT(differing, static_cast<int>(low.bytes.size() / 200)) << "u 1.0-1.25 against u 0.0-0.25";
    EXPECT_GT(CentreLuma(low), CentreLuma(dark) + 40) << "the white quarter shows, the dark half does not";
}

} // namespace
} // namespace quellor::test
