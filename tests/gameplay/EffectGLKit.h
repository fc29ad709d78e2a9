#pragma once
// The gameplay effects' OpenGL scene: an engine with the graphics system on the fixture's
// 320x180 context (its object, resource and action systems too), the built content's shaders
// and cube in a working folder of its own, a black wall far behind the origin (a frame draws its
// passes only when a model is in view), lighting on (the dynamic meshes are drawn in the lit
// frame's forward pass) and screen 0's camera at (0, 0, 12) looking down -z. Tests add their
// textures with AddTexture and read frames back with Frame.
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "renderer/Camera.h"
#include "tests/support/ContentDir.h"
#include "tests/support/GLContextFixture.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace quellor::test {

// A w x h image of one grey value, opaque.
inline tarsel::tools::Image PlainImage(std::uint32_t w, std::uint32_t h, std::uint8_t value)
{
    tarsel::tools::Image image{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4, value)};
    for (std::size_t i = 3; i < image.rgba.size(); i += 4)
        image.rgba[i] = 255;
    return image;
}

// A 16 x 4 strip of the grey value in its first quarter along u and black elsewhere, opaque.
inline tarsel::tools::Image QuarterStrip(std::uint8_t value)
{
    tarsel::tools::Image image = PlainImage(16, 4, 0);
    for (std::uint32_t y = 0; y < 4; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            for (std::uint32_t c = 0; c < 3; ++c)
                image.rgba[(y * 16 + x) * 4 + c] = value;
    return image;
}

class EffectGLTest : public tarsel::test::GLContextFixture {
protected:
    using Image = ZOR::DXRenderContext::ReadBackData;

    void SetUp() override
    {
        namespace fs = std::filesystem;
        RegisterGameplayTypes();
        Display().modes = {{320, 180, 60, 0}};
        WriteConfig("[ZOR_CONFIG]\nWIDTH=320\nHEIGHT=180\nANISOTROPY=1\n");
        root = Folder() / "game";
        fs::create_directories(root);
        fs::copy(tarsel::test::ContentDir() / "shaders", root / "shaders", fs::copy_options::recursive);
        std::ofstream(root / "black.png", std::ios::binary) << tarsel::tools::WritePng(PlainImage(4, 4, 0));
        tarsel::tools::MaterialDescription material;
        material.textures[0] = "black.png";
        ASSERT_TRUE(tarsel::tools::WriteMaterial(material, (root / "black.mat").string()));
        cwd = std::make_unique<tarsel::test::WorkingDirectory>(root);

        engine = Engine::Instance();
        std::shared_ptr<ZOR::RenderContext> context(&UninitializedContext(), [](ZOR::RenderContext*) {});
        graphics = new GraphicsSystem(context, Window().GetHWND());
        engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
        engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default");
        engine->AddSystem(ActionSystem::ID, new ActionSystem, "default");
        engine->AddSystem("GraphicsSystem", graphics, "default");
        ASSERT_TRUE(graphics->GetInitializeResult());
        ASSERT_TRUE(graphics->LoadTexture((root / "black.png").string()));
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

    // Writes the image as a DDS file of that name into the working folder and loads it.
    void AddTexture(const std::string& name, const tarsel::tools::Image& image)
    {
        std::ofstream(root / name, std::ios::binary) << tarsel::tools::WriteDds(image, tarsel::tools::DdsFormat::RGBA8);
        ASSERT_TRUE(graphics->LoadTexture((root / name).string())) << name;
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
    static int CentreLuma(const Image& data)
    {
        return Luma(data, static_cast<int>(data.size.width / 2), static_cast<int>(data.size.height / 2));
    }

    std::filesystem::path root;
    std::unique_ptr<tarsel::test::WorkingDirectory> cwd;
    Engine* engine = nullptr;
    GraphicsSystem* graphics = nullptr;
};

} // namespace quellor::test
