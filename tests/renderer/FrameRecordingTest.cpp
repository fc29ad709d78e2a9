// The frame on a recording render context: which passes run, with which shaders, targets and
// draws, for the gating switches, the batcher, culling per screen and the text buffers.
#include "renderer/DirectionalLight.h"
#include "renderer/Font.h"
#include "renderer/Material.h"
#include "renderer/Model.h"
#include "renderer/PointLight.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable3D.h"
#include "renderer/Renderable3DSkinned.h"
#include "renderer/Text.h"
#include "tests/renderer/RecordingFrameTest.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <thread>

namespace {

using ZOR::float3;
using ZOR::RenderSystem;

class FrameRecordingTest : public tarsel::test::RecordingFrameTest {
protected:
    ~FrameRecordingTest() override
    {
        for (auto& model : models)
            system.RemoveRenderable(model.get());
    }

    ZOR::Renderable3D& AddCube(const float3& at, ZOR::Material* material = nullptr, bool instanced = false)
    {
        models.push_back(std::make_unique<ZOR::Renderable3D>());
        ZOR::Renderable3D& cube = *models.back();
        system.AddRenderable(&cube);
        cube.SetModel("cube.model");
        if (material)
            cube.SetMaterial(material);
        cube.SetInstanced(instanced);
        cube.SetWorldMatrix(ZOR::float4x4(1, 0, 0, at.x, 0, 1, 0, at.y, 0, 0, 1, at.z, 0, 0, 0, 1));
        system.ResolveOctree();
        return cube;
    }
    ZOR::Material* NewMaterial(const std::string& name)
    {
        system.LoadMaterial(name);
        return system.GetMaterial(name);
    }
    void Frame(float dt = 1.0f / 60.0f)
    {
        context->ClearCalls();
        system.Update(dt);
    }
    std::size_t Count(const std::string& call) const { return context->Count(call); }
    std::size_t CountExact(const std::string& call) const
    {
        const auto calls = context->Calls();
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
    }
    std::uint32_t CubeVertices() { return system.GetModel("cube.model")->GetVertexCount(); }
    std::uint32_t SphereVertices() { return system.GetModel("sphere.model")->GetVertexCount(); }

    std::vector<std::unique_ptr<ZOR::Renderable3D>> models;
};

TEST_F(FrameRecordingTest, InstancedModelsOfThreeMaterialsDrawInThreeBatchesAndTwelvePointLightsInOne)
{
    ZOR::Material* materials[3] = {NewMaterial("a.mat"), NewMaterial("b.mat"), NewMaterial("c.mat")};
    for (int i = 0; i < 7; ++i)
        AddCube(float3(static_cast<float>(i % 3) - 1.0f, 0, static_cast<float>(i) * -0.5f), materials[i % 3], true);
    std::vector<std::unique_ptr<ZOR::PointLight>> lights;
    for (int i = 0; i < 12; ++i) {
        lights.push_back(std::make_unique<ZOR::PointLight>());
        lights.back()->SetPosition(static_cast<float>(i) * 0.2f, 0.5f, 0);
        lights.back()->SetRadius(1.0f);
        system.AddRenderable(lights.back().get());
    }
    system.ResolveOctree();
    system.EnableEffect(RenderSystem::Lighting, -1);
    Frame();

    const std::string v = std::to_string(CubeVertices());
    // Sorted by key, one batch per material (3, 2 and 2 cubes), the batches back to back.
    std::vector<std::string> draws;
    for (const std::string& call : context->Calls())
        if (call.rfind("DrawInstanced(" + v + ",", 0) == 0)
            draws.push_back(call);
    ASSERT_EQ(draws.size(), 3u);
    std::uint32_t first = 0;
    for (const std::string& call : draws) {
        unsigned vertices = 0, count = 0, start = 0, firstInstance = 0;
        ASSERT_EQ(std::sscanf(call.c_str(), "DrawInstanced(%u, %u, %u, %u)", &vertices, &count, &start, &firstInstance), 4);
        EXPECT_EQ(firstInstance, first);
        first += count;
    }
    EXPECT_EQ(first, 7u);

    EXPECT_EQ(system.GetPointLightInstances().GetCapacity(), 15u);
    EXPECT_EQ(CountExact("DrawInstanced(" + std::to_string(SphereVertices()) + ", 12, 0, 0)"), 1u);
    for (auto& light : lights)
        system.RemoveRenderable(light.get());
}

TEST_F(FrameRecordingTest, LightingOnSomeScreensOnlyRunsNoLightPassAndComposesWithoutLighting)
{
    AddCube(float3(0, 0, 0));
    ZOR::DirectionalLight sun;
    system.AddRenderable(&sun);
    system.EnableEffect(RenderSystem::Lighting, 0);
    system.EnableEffect(RenderSystem::Lighting, 1);
    Frame();
    EXPECT_EQ(CountExact(Ps("ZOR_DirectionalLight.ps")), 0u);
    EXPECT_EQ(CountExact(Ps("ZOR_FinalPass.ps")), 0u);
    EXPECT_EQ(CountExact(Ps("ZOR_FinalPassNoLighting.ps")), 1u);

    system.EnableEffect(RenderSystem::Lighting, -1);
    Frame();
    EXPECT_EQ(CountExact(Ps("ZOR_DirectionalLight.ps")), 1u);
    EXPECT_EQ(CountExact(Ps("ZOR_FinalPass.ps")), 1u);
    EXPECT_EQ(CountExact("Draw(3, 0)"), 1u + 1u + 1u + 1u) << "sun, compose, copy, fade";
}

TEST_F(FrameRecordingTest, ShadowsOffOnOneScreenDropTheShadowMapButTheBlurStaysWhereOn)
{
    AddCube(float3(0, 0, 0));
    system.AddScreen(true);
    system.EnableEffect(RenderSystem::Shadows, -1);
    Frame();
    const std::string shadowMap = "BindRenderTarget(" + Name(system.GetShadowMap()) + ")";
    EXPECT_EQ(CountExact(shadowMap), 1u);
    EXPECT_EQ(CountExact(Vs("ZOR_Renderable3DShadow.vs")), 4u) << "two geometry passes on each of two screens";
    EXPECT_EQ(CountExact("BindRenderTargets(3, pointer)"), 4u);
    EXPECT_EQ(CountExact(Ps("ZOR_BilateralBlur.ps")), 2u);

    system.DisableEffect(RenderSystem::Shadows, 1);
    Frame();
    EXPECT_EQ(CountExact(shadowMap), 0u);
    EXPECT_EQ(CountExact(Vs("ZOR_Renderable3DShadow.vs")), 0u);
    EXPECT_EQ(CountExact(Vs("ZOR_ShadowPass.vs")), 0u);
    EXPECT_EQ(CountExact(Vs("ZOR_Renderable3D.vs")), 4u);
    EXPECT_EQ(CountExact("BindRenderTargets(3, pointer)"), 0u);
    EXPECT_EQ(CountExact("BindRenderTargets(2, pointer)"), 4u);
    EXPECT_EQ(CountExact(Ps("ZOR_BilateralBlur.ps")), 1u) << "screen 0 still blurs its (cleared) shadow term";
}

TEST_F(FrameRecordingTest, AnEmptyScreenStillClearsAndCopiesButComposesNothing)
{
    Frame();
    const RenderSystem::Screen& screen = system.GetScreen(0);
    EXPECT_EQ(CountExact("ClearRenderTarget(" + Name(screen.GetRenderTarget(6)) + ", 1, 1, 1, 1)"), 1u);
    EXPECT_EQ(CountExact("ClearRenderTarget(" + Name(screen.GetRenderTarget(0)) + ", 0, 0, 0, 0)"), 1u);
    EXPECT_EQ(CountExact("ClearDepthBuffer(" + Name(screen.GetDepthBuffer(0)) + ")"), 1u);
    EXPECT_EQ(CountExact(Ps("ZOR_FinalPassNoLighting.ps")), 0u);
    EXPECT_EQ(CountExact(Ps("ZOR_Renderable3D.ps")), 0u);
    EXPECT_EQ(CountExact("BindRenderTarget(" + Name(system.GetCompositeTarget()) + ")"), 1u + 2u)
        << "the screen copy, then the sprite and text passes";
    EXPECT_EQ(CountExact("Draw(3, 0)"), 2u) << "the copy and the fade";
    EXPECT_EQ(Count("SwapBuffers"), 1u);
}

TEST_F(FrameRecordingTest, ARenderableHiddenOnAScreenIsDrawnOnlyOnTheOthers)
{
    ZOR::Renderable3D& cube = AddCube(float3(0, 0, 0));
    system.AddScreen(true);
    const std::string draw = "Draw(" + std::to_string(CubeVertices()) + ", 0)";
    Frame();
    EXPECT_EQ(CountExact(draw), 2u);
    cube.SetVisible(false, 1);
    Frame();
    EXPECT_EQ(CountExact(draw), 1u);
    cube.SetVisible(false, 0);
    Frame();
    EXPECT_EQ(CountExact(draw), 0u);
}

TEST_F(FrameRecordingTest, CullingFollowsRenderablesIntoAndOutOfPartsOfTheTreeThatHeldNothing)
{
    const auto place = [this](ZOR::Renderable3D& cube, const float3& at) {
        cube.SetWorldMatrix(ZOR::float4x4(1, 0, 0, at.x, 0, 1, 0, at.y, 0, 0, 1, at.z, 0, 0, 0, 1));
        cube.Update(0.0f);
        cube.Invalidate();
    };
    ZOR::Renderable3D& a = AddCube(float3(0, 0, 0));
    ZOR::Renderable3D& b = AddCube(float3(100, 100, 100)); // behind every camera, alone in its corner
    Frame();
    EXPECT_EQ(system.GetVisibleList(), std::vector<ZOR::Renderable*>{&a});

    // b comes into view next to a; then a leaves for the corner b left.
    place(b, float3(1, 0, 0));
    Frame();
    EXPECT_EQ(system.GetVisibleList().size(), 2u);
    place(a, float3(100, 100, 100));
    Frame();
    EXPECT_EQ(system.GetVisibleList(), std::vector<ZOR::Renderable*>{&b});
    place(a, float3(-1, 0, 0));
    Frame();
    EXPECT_EQ(system.GetVisibleList().size(), 2u);

    system.RemoveRenderable(&a);
    system.RemoveRenderable(&b);
    Frame();
    EXPECT_TRUE(system.GetVisibleList().empty());
}

TEST_F(FrameRecordingTest, ADirectionalLightHiddenOnScreenZeroIsDrawnNowhere)
{
    AddCube(float3(0, 0, 0));
    system.AddScreen(true);
    system.EnableEffect(RenderSystem::Lighting, -1);
    ZOR::DirectionalLight sun;
    system.AddRenderable(&sun);
    const std::string lightCopy = "CopyData(" + Name(system.GetConstantBuffer(5)) + ", pointer, 32)";
    Frame();
    EXPECT_EQ(CountExact(lightCopy), 2u);
    sun.SetVisible(false, 0);
    Frame();
    EXPECT_EQ(CountExact(lightCopy), 0u);
    system.RemoveRenderable(&sun);
}

TEST_F(FrameRecordingTest, OneFullScreenViewUsesTheStoredAspectAndAZeroFrameTimeWritesNoInfinity)
{
    context->SetCurrentDisplayMode(ZOR::DisplayMode({800, 600}, 60));
    context->SetFullscreen(true);
    system.UpdateScreenLayout(true);
    system.CreateScreenTargets();
    Frame(0.0f);
    const ZOR::float4x4& projection = system.GetScreen(0).GetActiveCamera().GetProjectionMatrix();
    EXPECT_NEAR(projection.m[5] / projection.m[0], 1280.0f / 720.0f, 1e-4f);
    const auto block = context->LastCopy(system.GetConstantBuffer(0));
    ASSERT_EQ(block.size(), 80u);
    float inverseFrameTime = -1.0f;
    std::memcpy(&inverseFrameTime, block.data() + 72, 4);
    EXPECT_EQ(inverseFrameTime, 0.0f);

    system.AddScreen(true);
    Frame(0.5f);
    const ZOR::float4x4& two = system.GetScreen(0).GetActiveCamera().GetProjectionMatrix();
    EXPECT_NEAR(two.m[5] / two.m[0], 800.0f / 300.0f, 1e-3f) << "two screens use their viewport";
}

TEST_F(FrameRecordingTest, TextBuffersAreRemadeWhenTextGrowsRefilledWhenItFitsAndEmptyTextDrawsNothing)
{
    ASSERT_TRUE(system.LoadFont(tarsel::test::ContentDir().string() + "/fonts/font_32.bff"));
    ZOR::Text text;
    system.AddRenderable(&text);
    text.SetFont("font_32.bff");
    text.SetFontTexture("font_32.dds");
    text.SetValue("");
    Frame();
    EXPECT_FALSE(text.GetVertexBuffer());
    EXPECT_EQ(Count("CreateVertexBuffer"), 0u);

    // Two values in one frame: the buffer is made for the last, longer one.
    text.SetValue("ab");
    text.SetValue("abcd");
    Frame();
    ASSERT_TRUE(text.GetVertexBuffer());
    EXPECT_EQ(text.GetBufferVertexCount(), 24u);
    EXPECT_EQ(CountExact("Draw(24, 0)"), 1u);

    text.SetValue("xy");
    Frame();
    EXPECT_EQ(Count("CreateVertexBuffer"), 0u) << "a shorter text refills the buffer it has";
    EXPECT_EQ(CountExact("CopyData(" + Name(text.GetVertexBuffer()) + ", pointer, 192)"), 1u);
    EXPECT_EQ(CountExact("Draw(12, 0)"), 1u);

    text.SetValue("abcdefgh");
    Frame();
    EXPECT_EQ(Count("CreateVertexBuffer"), 1u);
    EXPECT_EQ(text.GetBufferVertexCount(), 48u);

    text.SetValue("");
    Frame();
    EXPECT_EQ(Count("CreateVertexBuffer"), 0u);
    EXPECT_EQ(Count("Draw(48"), 0u);
    system.RemoveRenderable(&text);
}

TEST_F(FrameRecordingTest, ATextWithoutAFontTextureBindsNoneAndOneFontTextureIsBoundOncePerRun)
{
    ASSERT_TRUE(system.LoadFont(tarsel::test::ContentDir().string() + "/fonts/font_32.bff"));
    ZOR::Text texts[3];
    const char* fontTextures[] = {"", "font_32.dds", "font_32.dds"};
    for (int i = 0; i < 3; ++i) {
        system.AddRenderable(&texts[i]);
        texts[i].SetFont("font_32.bff");
        texts[i].SetFontTexture(fontTextures[i]);
        texts[i].SetValue("ab");
    }
    Frame();
    const auto calls = context->Calls();
    const auto pass = std::find(calls.begin(), calls.end(), Vs("ZOR_Text.vs"));
    const auto fade = std::find(pass, calls.end(), Ps("ZOR_Fade.ps"));
    ASSERT_NE(fade, calls.end());
    // The text without a font texture comes first in the sorted list and draws with whatever is
    // bound; the other two share one bind.
    EXPECT_EQ(std::count_if(pass, fade, [](const std::string& call) { return call.rfind("BindTexture(0, ", 0) == 0; }), 1);
    EXPECT_EQ(std::count(pass, fade, "Draw(12, 0)"), 3);
    for (ZOR::Text& text : texts)
        system.RemoveRenderable(&text);
}

TEST_F(FrameRecordingTest, ASkinnedModelWithoutAPoseIsDrawnInItsBindPose)
{
    // A model without a skeleton leaves the controller without a pose.
    ZOR::Renderable3DSkinned skinned;
    system.AddRenderable(&skinned);
    skinned.SetModel("cube.model");
    skinned.Update(0.0f);
    system.ResolveOctree();
    ASSERT_TRUE(skinned.GetAnimationController().GetMatrixList().empty());
    Frame();
    const auto bones = context->LastCopy(system.GetConstantBuffer(3));
    ASSERT_EQ(bones.size(), 80u * 64u);
    const ZOR::float4x4 identity;
    for (unsigned b = 0; b < 80; ++b)
        EXPECT_EQ(std::memcmp(bones.data() + b * 64, identity.m, 64), 0) << "bone " << b;
    system.RemoveRenderable(&skinned);
}

TEST_F(FrameRecordingTest, ANaNWorldMatrixOrAnEmptyModelIsCulledWithoutDrawing)
{
    const float nan = std::nanf("");
    ZOR::Renderable3D& bad = AddCube(float3(0, 0, 0));
    bad.SetWorldMatrix(ZOR::float4x4(nan, 0, 0, 0, 0, nan, 0, 0, 0, 0, nan, 0, 0, 0, 0, 1));
    bad.Update(0.0f);
    system.ResolveOctree();
    Frame();
    EXPECT_TRUE(system.GetVisibleList().empty());
    EXPECT_EQ(CountExact("Draw(" + std::to_string(CubeVertices()) + ", 0)"), 0u);
    EXPECT_EQ(Count("SwapBuffers"), 1u);
}

TEST_F(FrameRecordingTest, FramesRunWhileALoaderThreadAddsMaterialsUnderProtection)
{
    AddCube(float3(0, 0, 0));
    system.ProtectResourceAcquisitions(true);
    std::thread loader([this] {
        for (int i = 0; i < 300; ++i)
            system.LoadMaterial("loaded" + std::to_string(i) + ".mat");
    });
    for (int frame = 0; frame < 40; ++frame)
        system.Update(1.0f / 60.0f);
    loader.join();
    system.ProtectResourceAcquisitions(false);
    EXPECT_EQ(system.GetMaterialSnapshot().size(), 300u + 1u);
    context->ClearCalls();
    system.Update(1.0f / 60.0f);
    EXPECT_EQ(Count("SwapBuffers"), 1u);
}

} // namespace
