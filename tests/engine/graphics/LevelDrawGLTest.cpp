// End to end on OpenGL: a level placing a lit model, a hidden one, a light and other graphics
// components loads through the object system into a graphics system on the test context; a
// few frames later the back buffer shows the lit model and not the hidden one.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "renderer/Camera.h"
#include "tests/support/GLContextFixture.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quellor::test {
namespace {

namespace fs = std::filesystem;

const char* kLevel = R"(<level>
  <box><components>
    <Transform3D><m_scaleX><float value="2"/></m_scaleX><m_scaleY><float value="2"/></m_scaleY>
      <m_scaleZ><float value="2"/></m_scaleZ></Transform3D>
    <GraphicsComponent3D><m_modelName><string value="cube.model"/></m_modelName>
      <m_materialName><string value="white.mat"/></m_materialName></GraphicsComponent3D>
  </components></box>
  <hidden><components>
    <Transform3D><m_x><float value="-3"/></m_x></Transform3D>
    <GraphicsComponent3D><m_modelName><string value="cube.model"/></m_modelName>
      <m_materialName><string value="white.mat"/></m_materialName>
      <m_visibleScreen1><bool value="0"/></m_visibleScreen1></GraphicsComponent3D>
  </components></hidden>
  <light><components>
    <Transform3D><m_y><float value="5"/></m_y></Transform3D>
    <DirectionalLightComponent><m_direction><Vec4><x><float value="-0.3"/></x><y><float value="-1"/></y>
      <z><float value="-0.5"/></z></Vec4></m_direction></DirectionalLightComponent>
    <PointLightComponent><m_radius><float value="3"/></m_radius></PointLightComponent>
  </components></light>
  <puff><components>
    <Transform3D><m_z><float value="-20"/></m_z></Transform3D>
    <EmitterComponent><m_particleEmitterFile><string value="missing.pe"/></m_particleEmitterFile></EmitterComponent>
    <DecalComponent/>
    <BillboardedQuadComponent/>
    <SpotLightComponent/>
  </components></puff>
  <weather><components>
    <Transform3D/>
    <FogComponent><m_globalDensity><float value="0"/></m_globalDensity><m_heightDensity><float value="0"/></m_heightDensity></FogComponent>
    <SunComponent><m_direction><Vec4><y><float value="-1"/></y></Vec4></m_direction></SunComponent>
  </components></weather>
</level>
)";

class LevelDrawGLTest : public tarsel::test::GLContextFixture {
protected:
    std::string Content(const std::string& relative) const
    {
        return (tarsel::test::ContentDir() / relative).string();
    }

    // Back-buffer pixel of a world point seen by screen 0's camera.
    std::array<int, 2> Project(GraphicsSystem& graphics, float x, float y, float z)
    {
        ZOR::RenderSystem::Screen& s = graphics.GetScreen(0);
        const ZOR::Camera& camera = s.GetActiveCamera();
        const ZOR::float4 clip = camera.GetProjectionMatrix() * (camera.GetViewMatrix() * ZOR::float4(x, y, z, 1.0f));
        const ZOR::Viewport& v = s.GetViewport();
        return {v.x + static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(v.size.width)),
                v.y + static_cast<int>((0.5f - 0.5f * clip.y / clip.w) * static_cast<float>(v.size.height))};
    }

    static int Luma(const ZOR::DXRenderContext::ReadBackData& data, std::array<int, 2> p)
    {
        const std::size_t offset = (static_cast<std::size_t>(p[1]) * data.size.width + static_cast<std::size_t>(p[0])) * 4;
        if (p[0] < 0 || p[1] < 0 || offset + 4 > data.bytes.size())
            return -1;
        return (data.bytes[offset] + data.bytes[offset + 1] + data.bytes[offset + 2]) / 3;
    }
};

TEST_F(LevelDrawGLTest, ALevelsLitModelShowsAndItsHiddenOneDoesNot)
{
    RegisterEngineTypes();
    Display().modes = {{320, 180, 60, 0}};
    WriteConfig("[ZOR_CONFIG]\nWIDTH=320\nHEIGHT=180\n");
    // The working directory: the shaders, a white texture and material, and the level.
    const fs::path root = Folder() / "game";
    fs::create_directories(root / "levels");
    fs::copy(Content("shaders"), root / "shaders", fs::copy_options::recursive);
    tarsel::tools::Image white{4, 4, std::vector<std::uint8_t>(64, 255)};
    std::ofstream(root / "white.png", std::ios::binary) << tarsel::tools::WritePng(white);
    tarsel::tools::MaterialDescription material;
    material.textures[0] = "white.png";
    material.shininess = 20.0f;
    ASSERT_TRUE(tarsel::tools::WriteMaterial(material, (root / "white.mat").string()));
    std::ofstream(root / "levels" / "lit.ql") << kLevel;
    tarsel::test::WorkingDirectory cwd(root);

    // The engine goes before the fixture's context, also when an assertion ends the test early:
    // the graphics system frees its GPU resources on that context.
    struct EngineScope {
        ~EngineScope() { Engine::DestroyInstance(); }
    } engineScope;
    Engine* engine = Engine::Instance();
    {
        std::shared_ptr<ZOR::RenderContext> context(&UninitializedContext(), [](ZOR::RenderContext*) {});
        auto* graphics = new GraphicsSystem(context, Window().GetHWND());
        engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
        auto* objects = static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));
        engine->AddSystem("GraphicsSystem", graphics, "default");
        ASSERT_TRUE(graphics->GetInitializeResult());
        ASSERT_TRUE(graphics->LoadModel(Content("models/cube.model")));
        ASSERT_TRUE(graphics->LoadTexture((root / "white.png").string()));
        ASSERT_TRUE(graphics->LoadMaterial((root / "white.mat").string()));
        graphics->EnableEffect(ZOR::RenderSystem::Lighting, -1);
        graphics->SetGlobalAmbient(0.1f, 0.1f, 0.1f);
        ZOR::Camera& camera = graphics->GetActiveCamera(0);
        camera.SetPosition(ZOR::float3(0, 3, 8));
        camera.LookAt(ZOR::float3(0, -3, -8), ZOR::float3(0, 1, 0));

        objects->LoadLevel("lit.ql");
        ASSERT_NE(engine->GetEntity("box", "default"), nullptr);
        auto* box = engine->GetEntity("box", "default")->GetComponent<GraphicsComponent3D>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->GetModel(), graphics->GetModel("cube.model"));
        EXPECT_EQ(box->GetMaterial(), graphics->GetMaterial("white.mat"));
        for (int frame = 0; frame < 4; ++frame)
            engine->Update(1.0f / 60.0f);

        ZOR::DXRenderContext::ReadBackData image;
        ASSERT_TRUE(Context().ReadBack(Context().GetBackBuffer(), image));
        const int centre = Luma(image, Project(*graphics, 0.0f, 1.0f, 0.0f));   // the lit top face
        const int hidden = Luma(image, Project(*graphics, -3.0f, 0.0f, 0.0f));  // the hidden cube
        const int empty = Luma(image, Project(*graphics, 3.0f, 0.0f, 0.0f));    // nothing, mirrored
        std::printf("luma: model %d, hidden model %d, background %d\n", centre, hidden, empty);
        EXPECT_GT(centre, empty + 60) << "centre " << centre << ", background " << empty;
        EXPECT_NEAR(hidden, empty, 6) << "the cube hidden on screen 1 shows";
    }
}

} // namespace
} // namespace quellor::test
