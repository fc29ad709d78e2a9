#include "tests/renderer/FrameTestKit.h"

#include "renderer/Camera.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tarsel::test {

ZOR::float4x4 FrameTest::TranslateScale(const ZOR::float3& t, const ZOR::float3& s)
{
    return ZOR::float4x4(s.x, 0, 0, t.x, 0, s.y, 0, t.y, 0, 0, s.z, t.z, 0, 0, 0, 1);
}

void FrameTest::SetUpScene(const std::string& shaderDir)
{
    Display().modes = {{kWidth, kHeight, 60, 0}};
    WriteConfig("[ZOR_CONFIG]\nWIDTH=320\nHEIGHT=180\n");
    std::shared_ptr<ZOR::RenderContext> context(&UninitializedContext(), [](ZOR::RenderContext*) {});
    system = std::make_unique<ZOR::RenderSystem>(context, Window().GetHWND());
    system->SetShaderPath(shaderDir.empty() ? (ContentDir() / "shaders").string() + "/" : shaderDir);
    ASSERT_TRUE(system->Initialize());
    ASSERT_TRUE(system->LoadModel((ContentDir() / "models/cube.model").string()));
    ASSERT_TRUE(system->LoadModel((ContentDir() / "models/sphere.model").string()));
    tools::Image white{4, 4, std::vector<std::uint8_t>(64, 255)};
    const std::string png = (Folder() / "white.png").string();
    std::ofstream(png, std::ios::binary) << tools::WritePng(white);
    ASSERT_TRUE(system->LoadTexture(png));
    system->SetOctree(200.0f, 1.5f, 4);
    system->SetViewPlanes(0.5f, 200.0f);
    SetCamera(0, ZOR::float3(0, 4, 8), ZOR::float3(0, 0, 0));
}

ZOR::Material* FrameTest::ColourMaterial(const std::string& name, float r, float g, float b)
{
    tools::MaterialDescription description;
    description.textures[0] = "white.png";
    description.diffuse = ZOR::Color(r, g, b, 1.0f);
    description.shininess = 20.0f;
    const std::string path = (Folder() / name).string();
    EXPECT_TRUE(tools::WriteMaterial(description, path));
    system->LoadMaterial(path);
    return system->GetMaterial(name);
}

ZOR::Renderable3D& FrameTest::AddModel(const std::string& model, const ZOR::float4x4& world, ZOR::Material* material)
{
    models.push_back(std::make_unique<ZOR::Renderable3D>());
    ZOR::Renderable3D& renderable = *models.back();
    system->AddRenderable(&renderable);
    renderable.SetModel(model);
    renderable.SetMaterial(material);
    renderable.SetWorldMatrix(world);
    renderable.Update(0.0f);
    system->ResolveOctree();
    return renderable;
}

void FrameTest::SetCamera(unsigned screen, const ZOR::float3& eye, const ZOR::float3& target)
{
    ZOR::Camera& camera = system->GetScreen(static_cast<int>(screen)).GetActiveCamera();
    camera.SetPosition(eye);
    camera.LookAt(target - eye, ZOR::float3(0, 1, 0));
}

void FrameTest::SetSun(const ZOR::float3& direction)
{
    ZOR::RenderSystem::ShadowCaster& caster = system->GetShadowCaster();
    const ZOR::float3 eye = direction * -40.0f;
    caster.camera.SetPosition(eye);
    caster.camera.LookAt(direction, std::abs(direction.y) > 0.99f ? ZOR::float3(0, 0, 1) : ZOR::float3(0, 1, 0));
    caster.camera.SetProjectionMatrix(0.5f, 1.0f, 10.0f, 80.0f);
    caster.nearFar = ZOR::float2(10.0f, 80.0f);
}

ZOR::DXRenderContext::ReadBackData FrameTest::Frame()
{
    system->Update(1.0f / 60.0f);
    return Read(Context().GetBackBuffer());
}

std::array<int, 2> FrameTest::Project(const ZOR::float3& p, unsigned screen)
{
    ZOR::RenderSystem::Screen& s = system->GetScreen(static_cast<int>(screen));
    const ZOR::Camera& camera = s.GetActiveCamera();
    const ZOR::float4 clip = camera.GetProjectionMatrix() * (camera.GetViewMatrix() * ZOR::float4(p.x, p.y, p.z, 1.0f));
    const float x = clip.x / clip.w, y = clip.y / clip.w;
    const ZOR::Viewport& v = s.GetViewport();
    return {v.x + static_cast<int>((x * 0.5f + 0.5f) * static_cast<float>(v.size.width)),
            v.y + static_cast<int>((0.5f - 0.5f * y) * static_cast<float>(v.size.height))};
}

void FrameTest::Screenshot(const ZOR::DXRenderContext::ReadBackData& data, const std::string& name)
{
    const std::filesystem::path folder = ContentDir().parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    tools::Image image{data.size.width, data.size.height, data.bytes};
    for (std::size_t i = 3; i < image.rgba.size(); i += 4)
        image.rgba[i] = 255;
    std::ofstream(folder / (name + ".png"), std::ios::binary) << tools::WritePng(image);
}

} // namespace tarsel::test
