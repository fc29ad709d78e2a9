#include "renderer/BillboardedQuad.h"
#include "renderer/DirectionalLight.h"
#include "renderer/DynamicMesh.h"
#include "renderer/Hash.h"
#include "renderer/Material.h"
#include "renderer/Octree.h"
#include "renderer/PointLight.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable2D.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

using tarsel::test::RecordingRenderContext;
using ZOR::RenderSystem;

class RenderSystemTest : public ::testing::Test {
protected:
    RenderSystemTest() : context(std::make_shared<RecordingRenderContext>()), system(context, window)
    {
        context->SetDisplayModes({ZOR::DisplayMode({800, 600}, 60), ZOR::DisplayMode({1280, 720}, 60)});
        context->SetCurrentDisplayMode(ZOR::DisplayMode({1280, 721}, 60));
    }

    std::size_t CountCalls(const std::string& prefix) const
    {
        const auto calls = context->Calls();
        return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
            return call.rfind(prefix, 0) == 0;
        }));
    }

    platform::NativeWindow* window = nullptr;
    std::shared_ptr<RecordingRenderContext> context;
    RenderSystem system;
};

void ExpectViewport(RenderSystem::Screen& screen, int x, int y, unsigned w, unsigned h)
{
    const ZOR::Viewport& v = screen.GetViewport();
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.size.width, w);
    EXPECT_EQ(v.size.height, h);
    EXPECT_FLOAT_EQ(v.maxDepth, 1.0f);
}

TEST_F(RenderSystemTest, ThreeScreensSplitTheWindowIntoAWideTopAndTwoHalves)
{
    system.AddScreen(false);
    system.AddScreen(true);
    ASSERT_TRUE(system.IsLayoutDirty());
    system.UpdateScreenLayout(true);
    EXPECT_FALSE(system.IsLayoutDirty());
    EXPECT_TRUE(system.AreScreenTargetsDirty());
    ExpectViewport(system.GetScreen(0), 0, 0, 1280, 360);
    ExpectViewport(system.GetScreen(1), 0, 360, 640, 360);
    ExpectViewport(system.GetScreen(2), 640, 360, 640, 360);
    // Windowed aspects from integer halves: the top screen 1280/360, the lower ones 640/360.
    EXPECT_FLOAT_EQ(system.GetScreen(0).GetOrthographicProjectionSize().x, 1280.0f / 360.0f);
    EXPECT_FLOAT_EQ(system.GetScreen(2).GetOrthographicProjectionSize().x, 640.0f / 360.0f);
    EXPECT_FLOAT_EQ(system.GetScreen(1).GetSlidePosition().y, 360.0f);
    EXPECT_FLOAT_EQ(system.GetScreen(1).GetSlideTime(), 0.0f);

    system.SetScreenTweenDuration(0.25f);
    system.UpdateScreenLayout(false);
    EXPECT_FLOAT_EQ(system.GetScreen(2).GetSlideTime(), 0.25f);
}

TEST_F(RenderSystemTest, TwoAndFourScreensAndTheScreenCountLimits)
{
    for (int i = 0; i < 5; ++i)
        system.AddScreen(true);
    EXPECT_EQ(system.GetActiveScreens(), 4u);
    system.UpdateScreenLayout(true);
    ExpectViewport(system.GetScreen(3), 640, 360, 640, 360);
    ExpectViewport(system.GetScreen(1), 640, 0, 640, 360);

    system.RemoveScreen(true);
    system.RemoveScreen(true);
    system.UpdateScreenLayout(true);
    ExpectViewport(system.GetScreen(0), 0, 0, 1280, 360);
    ExpectViewport(system.GetScreen(1), 0, 360, 1280, 360);

    system.RemoveScreen(true);
    system.UpdateScreenLayout(true);
    system.RemoveScreen(true);
    EXPECT_EQ(system.GetActiveScreens(), 1u);
    EXPECT_FALSE(system.IsLayoutDirty()) << "refusing to go below one screen marks nothing";
    EXPECT_THROW(system.GetScreen(4), std::out_of_range);
    EXPECT_THROW(system.GetScreen(-1), std::out_of_range);
}

TEST_F(RenderSystemTest, OneFullScreenScreenTakesTheLastModesAspect)
{
    context->SetCurrentDisplayMode(ZOR::DisplayMode({800, 600}, 60));
    system.SetOrthographicProjectionSize(ZOR::float2(1.0f, 600.0f));
    system.SetFullscreen(true);
    ExpectViewport(system.GetScreen(0), 0, 0, 800, 600);
    EXPECT_FLOAT_EQ(system.GetFullscreenAspectRatio(), 1280.0f / 720.0f);
    EXPECT_FLOAT_EQ(system.GetOrthographicProjectionSize().x, 600.0f * 1280.0f / 720.0f);
    EXPECT_FLOAT_EQ(system.GetScreen(0).GetOrthographicProjectionSize().y, 600.0f);
    // Not instant: the screens take the tween duration.
    EXPECT_FLOAT_EQ(system.GetScreen(0).GetSlideTime(), 1.0f);
    // The orthographic matrix maps the top-left of the 2D space to (-1, 1).
    const ZOR::float4x4& ortho = system.GetOrthographicProjection();
    EXPECT_NEAR(ortho.m[3], -1.0f, 1e-5f);
    EXPECT_NEAR(ortho.m[7], 1.0f, 1e-5f);
}

TEST_F(RenderSystemTest, ALayoutBeforeTheContextStartedIsSkippedNotACrash)
{
    context->SetDisplayModes({});
    system.SetFullscreen(true);
    ExpectViewport(system.GetScreen(0), 0, 0, 0, 0);
    EXPECT_FALSE(system.AreScreenTargetsDirty());
    // Once modes exist the layout goes through.
    context->SetDisplayModes({ZOR::DisplayMode({1280, 720}, 60)});
    system.SetFullscreen(false);
    ExpectViewport(system.GetScreen(0), 0, 0, 1280, 721);
}

TEST_F(RenderSystemTest, AModeWithAnEmptySideGivesFiniteProjections)
{
    context->SetCurrentDisplayMode(ZOR::DisplayMode({0, 0}, 0));
    context->SetDisplayModes({ZOR::DisplayMode({1280, 0}, 60)});
    system.AddScreen(true);
    system.UpdateScreenLayout(true);
    EXPECT_TRUE(std::isfinite(system.GetOrthographicProjectionSize().x));
    EXPECT_TRUE(std::isfinite(system.GetScreen(1).GetOrthographicProjectionSize().x));
    EXPECT_TRUE(std::isfinite(system.GetFullscreenAspectRatio()));
    EXPECT_TRUE(std::isfinite(system.GetOrthographicProjection().m[0]));
}

TEST_F(RenderSystemTest, EffectSwitchesPerScreenAndForAllFour)
{
    system.EnableEffect(RenderSystem::Bloom, -1);
    EXPECT_TRUE(system.EffectEnabled(RenderSystem::Bloom, -1));
    system.DisableEffect(RenderSystem::Bloom, 2);
    EXPECT_FALSE(system.EffectEnabled(RenderSystem::Bloom, -1));
    EXPECT_TRUE(system.EffectEnabled(RenderSystem::Bloom, 0));
    EXPECT_FALSE(system.EffectEnabled(RenderSystem::Bloom, 2));
    EXPECT_FALSE(system.EffectEnabled(RenderSystem::SSAO, 0));
    // Out-of-range screens and effects change nothing.
    system.EnableEffect(RenderSystem::SSAO, 4);
    system.EnableEffect(static_cast<RenderSystem::Effect>(12), 0);
    for (int s = 0; s < 4; ++s)
        EXPECT_FALSE(system.EffectEnabled(RenderSystem::SSAO, s));
}

TEST_F(RenderSystemTest, DisablingShadowsClearsTheShadowMapToOne)
{
    ASSERT_TRUE(system.Initialize());
    ASSERT_TRUE(system.GetShadowMap());
    context->ClearCalls();
    system.DisableEffect(RenderSystem::Shadows, 1);
    const auto calls = context->Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "ClearRenderTarget({3, " + std::to_string(*system.GetShadowMap()) + "}, 1, 1, 1, 1)");
    context->ClearCalls();
    system.DisableEffect(RenderSystem::Bloom, 1);
    EXPECT_TRUE(context->Calls().empty());
}

TEST_F(RenderSystemTest, SettingsLandAtTheirOffsets)
{
    system.SetDefaultSettings();
    RenderSystem::Settings defaults = system.GetSettings();
    system.SetBloomProperties(0.75f, 1.5f, 1.0f);
    EXPECT_EQ(std::memcmp(&defaults, &system.GetSettings(), sizeof(defaults)), 0);

    system.SetBloomProperties(7.0f, 8.0f, 9.0f);
    system.SetGodRayProperties(1.0f, 2.0f, 3.0f, 4.0f, 17);
    system.SetFogColor(0.5f, 0.25f, 0.125f);
    system.SetSSAOProperties(1.0f, 2.0f, 3.0f, 0.007f);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&system.GetSettings());
    const auto at = [bytes](std::size_t offset) {
        float value;
        std::memcpy(&value, bytes + offset, 4);
        return value;
    };
    EXPECT_FLOAT_EQ(at(24), 7.0f);
    EXPECT_FLOAT_EQ(at(16), 8.0f);
    EXPECT_FLOAT_EQ(at(20), 9.0f);
    EXPECT_FLOAT_EQ(at(56), 4.0f);
    std::int32_t samples;
    std::memcpy(&samples, bytes + 60, 4);
    EXPECT_EQ(samples, 17);
    EXPECT_FLOAT_EQ(at(40), 0.007f) << "the fourth SSAO value shares the fade word";
    EXPECT_FLOAT_EQ(at(84), 0.25f);
    EXPECT_FLOAT_EQ(at(92), 1.0f) << "fog alpha";
    EXPECT_FLOAT_EQ(at(64), 2.0f);
}

TEST_F(RenderSystemTest, SunAndAmbientAreWrittenAtOnceWithTheSunsWForcedToOne)
{
    ASSERT_TRUE(system.Initialize());
    const ZOR::Handle sun = system.GetConstantBuffer(10);
    const ZOR::Handle ambient = system.GetConstantBuffer(11);
    system.SetSunPosition(ZOR::float4(1.0f, 2.0f, 3.0f, 0.0f));
    std::vector<std::uint8_t> copy = context->LastCopy(sun);
    ASSERT_EQ(copy.size(), 32u);
    float values[5];
    std::memcpy(values, copy.data(), sizeof(values));
    EXPECT_FLOAT_EQ(values[0], 1.0f);
    EXPECT_FLOAT_EQ(values[2], 3.0f);
    EXPECT_FLOAT_EQ(values[3], 1.0f);
    system.SetSunSize(40.0f);
    copy = context->LastCopy(sun);
    ASSERT_EQ(copy.size(), 32u);
    std::memcpy(values, copy.data(), sizeof(values));
    EXPECT_FLOAT_EQ(values[4], 40.0f);
    EXPECT_FLOAT_EQ(values[1], 2.0f);

    system.SetGlobalAmbient(0.1f, 0.2f, 0.3f);
    copy = context->LastCopy(ambient);
    ASSERT_EQ(copy.size(), 16u);
    std::memcpy(values, copy.data(), 16);
    EXPECT_FLOAT_EQ(values[1], 0.2f);
    EXPECT_FLOAT_EQ(values[3], 1.0f);
}

TEST_F(RenderSystemTest, QualityChangesRecreateTargetsOnlyWhenTheLevelChanges)
{
    system.UpdateScreenLayout(true);
    system.CreateScreenTargets();
    EXPECT_FALSE(system.AreScreenTargetsDirty());
    system.SetGraphicsQuality(RenderSystem::Ultra);
    system.SetParticleQuality(RenderSystem::Ultra);
    EXPECT_FALSE(system.AreScreenTargetsDirty());
    context->ClearCalls();
    system.SetSSAOQuality(RenderSystem::Ultra);
    EXPECT_TRUE(context->Calls().empty());

    system.SetGraphicsQuality(RenderSystem::Medium);
    EXPECT_TRUE(system.AreScreenTargetsDirty());
    EXPECT_EQ(system.GetGraphicsQuality(), RenderSystem::Medium);
}

TEST_F(RenderSystemTest, ScreenTargetsTakeTheirFormatsAndScales)
{
    system.AddScreen(true);
    system.UpdateScreenLayout(true);
    system.SetGraphicsQuality(RenderSystem::High);
    system.SetParticleQuality(RenderSystem::Low);
    context->SetTextureSize(ZOR::Dimension(1024, 288));
    context->ClearCalls();
    system.CreateScreenTargets();
    EXPECT_EQ(CountCalls("CreateRenderTarget("), 2u * 11u + 1u);
    EXPECT_EQ(CountCalls("CreateDepthBuffer("), 4u);
    const auto calls = context->Calls();
    // Screen 0: target 2 at half scale, target 7 at particle x graphics quality, 5 half floats.
    EXPECT_EQ(calls[2], "CreateRenderTarget(null, 1, 2, 0.4, 1280x360)");
    EXPECT_EQ(calls[5], "CreateRenderTarget(null, 1, 18, 0.8, 1280x360)");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "CreateRenderTarget(null, 1, 2, 0.32, 1280x360)"), calls.end());
    EXPECT_EQ(calls.back(), "CreateRenderTarget(null, 0, 2, 1, 0x0)");
    EXPECT_FLOAT_EQ(system.GetScreen(1).GetScaledTargetSize().x, 1024.0f);
    const ZOR::Handle* five = system.GetScreen(0).GetGroupOfFive();
    EXPECT_EQ(five[3], system.GetScreen(0).GetRenderTarget(8));
    EXPECT_EQ(system.GetScreen(0).GetGroupOfThree()[2], system.GetScreen(0).GetRenderTarget(6));
}

TEST_F(RenderSystemTest, SSAOQualityRecreatesOnlyTheActiveScreensSSAOTargets)
{
    system.AddScreen(true);
    system.UpdateScreenLayout(true);
    system.CreateScreenTargets();
    context->ClearCalls();
    system.SetSSAOQuality(RenderSystem::Low);
    const auto calls = context->Calls();
    ASSERT_EQ(calls.size(), 2u) << "screens 2 and 3 are 0x0 and are left alone";
    EXPECT_EQ(calls[0], "CreateRenderTarget({3, 8}, 1, 16, 0.4, 1280x360)");
    EXPECT_EQ(calls[1], "CreateRenderTarget({3, 19}, 1, 16, 0.4, 1280x360)");
}

TEST_F(RenderSystemTest, RenderablesKeepTheirOrderWhenOneIsRemoved)
{
    ZOR::DirectionalLight a, b, c;
    system.AddRenderable(&a);
    system.AddRenderable(&b);
    system.AddRenderable(&c);
    system.AddRenderable(&a);
    system.RemoveRenderable(&a);
    EXPECT_EQ(system.GetDirectionalLightList(), (std::vector<ZOR::DirectionalLight*>{&b, &c, &a}));
    ZOR::DirectionalLight stranger;
    system.RemoveRenderable(&stranger);
    EXPECT_EQ(system.GetDirectionalLightList().size(), 3u);
}

TEST_F(RenderSystemTest, ADynamicMeshGetsItsBufferOnAddAndLosesItOnRemoval)
{
    ZOR::DynamicMesh mesh(90);
    system.AddRenderable(&mesh);
    ASSERT_TRUE(mesh.GetVertexBuffer());
    EXPECT_EQ(context->Calls().back(), "CreateVertexBuffer(null, 2, 2160, null)");
    system.RemoveRenderable(&mesh);
    EXPECT_FALSE(mesh.GetVertexBuffer());
    EXPECT_EQ(context->Calls().back(), "Release({8, 0})");
    EXPECT_TRUE(system.GetDynamicMeshList().empty());
}

TEST_F(RenderSystemTest, RenderablesAddedBeforeTheOctreeAreFiledWhenItIsSet)
{
    ZOR::PointLight light;
    light.SetPosition(1.0f, 2.0f, 3.0f);
    light.SetRadius(1.0f);
    light.Update(0.0f);
    system.AddRenderable(static_cast<ZOR::Renderable*>(&light));
    EXPECT_EQ(system.GetOctreeList().size(), 1u);
    EXPECT_EQ(light.GetOctree(), nullptr);
    system.SetOctree(256.0f, 2.0f, 3);
    ASSERT_NE(light.GetOctree(), nullptr);

    // Rebuilding the tree re-files it; the old nodes are gone.
    system.SetOctree(128.0f, 2.0f, 2);
    ASSERT_NE(light.GetOctree(), nullptr);
    system.RemoveRenderable(static_cast<ZOR::Renderable*>(&light));
    EXPECT_EQ(light.GetOctree(), nullptr);
    EXPECT_TRUE(system.GetOctreeList().empty());
}

TEST_F(RenderSystemTest, InitializeGivesTheSkyTheDefaultMaterialAndASecondCallOnlyWarns)
{
    ASSERT_TRUE(system.Initialize());
    ZOR::Material* fallback = system.GetMaterial("");
    EXPECT_EQ(system.GetSkySphere().GetMaterial(), fallback);
    const ZOR::Handle sky = system.GetPixelShader("ZOR_Sky.ps");
    context->ClearCalls();
    tarsel::test::StdoutCapture out;
    EXPECT_TRUE(system.Initialize());
    EXPECT_TRUE(context->Calls().empty()) << "no shader loaded again, no resource made";
    EXPECT_EQ(system.GetMaterial(""), fallback);
    EXPECT_EQ(system.GetPixelShader("ZOR_Sky.ps"), sky);
    EXPECT_NE(out.Text().find("Warning: The render system is already initialised"), std::string::npos) << out.Text();
}

TEST_F(RenderSystemTest, BeforeInitializeABillboardOrSpriteIsAddedWithoutAMaterial)
{
    system.SetOctree(256.0f, 2.0f, 2);
    ZOR::BillboardedQuad quad;
    ZOR::Renderable2D sprite;
    EXPECT_NO_THROW(system.AddRenderable(static_cast<ZOR::Renderable*>(&quad)));
    system.AddRenderable(&sprite);
    EXPECT_EQ(quad.GetMaterial(), nullptr);
    EXPECT_EQ(sprite.GetMaterial(), nullptr);
    system.RemoveRenderable(static_cast<ZOR::Renderable*>(&quad));
    system.RemoveRenderable(&sprite);
}

TEST_F(RenderSystemTest, ABillboardOrSpriteWithoutMaterialGetsTheDefaultAndItsHash)
{
    ASSERT_TRUE(system.Initialize());
    system.SetOctree(256.0f, 2.0f, 2);
    ZOR::BillboardedQuad quad;
    quad.SetMaterial("anything.mat");
    EXPECT_EQ(quad.GetMaterial(), nullptr) << "no owner yet";
    system.AddRenderable(static_cast<ZOR::Renderable*>(&quad));
    ZOR::Material* fallback = system.GetMaterial("");
    ASSERT_EQ(quad.GetMaterial(), fallback);
    const std::uint32_t id = fallback->GetID();
    std::uint32_t expected = 2166136261u;
    for (int i = 0; i < 4; ++i) {
        expected ^= (id >> (8 * i)) & 0xFFu;
        expected *= 16777619u;
    }
    EXPECT_EQ(quad.GetHash(), expected);
    system.RemoveRenderable(static_cast<ZOR::Renderable*>(&quad));

    ZOR::Renderable2D sprite;
    system.AddRenderable(&sprite);
    EXPECT_EQ(sprite.GetMaterial(), fallback);
    EXPECT_EQ(sprite.GetHash(), expected);
    system.RemoveRenderable(&sprite);
}

TEST(RenderSystemStartTest, AContextThatFailsToStartCreatesNothing)
{
    auto context = std::make_shared<RecordingRenderContext>();
    context->initializeResult = false;
    platform::NativeWindow* window = nullptr;
    RenderSystem system(context, window);
    EXPECT_FALSE(system.Initialize());
    EXPECT_EQ(context->Calls(), (std::vector<std::string>{"SetTargetWindow(null)", "Initialize()"}));
    EXPECT_EQ(system.GetMissingShaders().size(), 51u);
}

TEST(InstanceBufferTest, GrowingKeepsTheRecordsAndRemakesTheBufferInPlace)
{
    RecordingRenderContext context;
    ZOR::InstanceBuffer<ZOR::PointLight::Instance> buffer(10);
    ASSERT_TRUE(buffer.Initialize(&context));
    const ZOR::Handle handle = buffer.GetVertexBuffer();
    for (int i = 0; i < 11; ++i) {
        ZOR::PointLight::Instance record{};
        record.radius = static_cast<float>(i);
        buffer.Append(record);
    }
    EXPECT_EQ(buffer.GetCapacity(), 15u);
    EXPECT_EQ(buffer.GetCount(), 11u);
    for (std::uint32_t i = 0; i < 11; ++i)
        EXPECT_FLOAT_EQ(buffer.GetElements()[i].radius, static_cast<float>(i));
    EXPECT_EQ(buffer.GetVertexBuffer(), handle);
    EXPECT_EQ(context.Calls().back(), "CreateVertexBuffer({8, 0}, 2, 600, null)");

    // 1 x 1.5 truncates to 1: a buffer of one record still grows, by one.
    ZOR::InstanceBuffer<ZOR::ModelInstance> single(1);
    single.Append(ZOR::ModelInstance{});
    single.Append(ZOR::ModelInstance{});
    EXPECT_EQ(single.GetCapacity(), 2u);
    EXPECT_EQ(single.GetCount(), 2u);
}

TEST_F(RenderSystemTest, FieldOfViewTakesDegreesAndCameraIndicesAreChecked)
{
    system.SetFOV(90.0f);
    EXPECT_NEAR(system.GetFOV(), 1.5707963f, 1e-6f);
    RenderSystem::Screen& screen = system.GetScreen(0);
    EXPECT_EQ(screen.AddCamera(), 1u);
    screen.SetActiveCamera(5);
    EXPECT_EQ(screen.GetActiveCameraIndex(), 0u);
    screen.SetActiveCamera(1);
    EXPECT_EQ(screen.GetActiveCameraIndex(), 1u);
    EXPECT_EQ(system.GetMissingShaders().size(), 51u);
    EXPECT_THROW(system.GetMaterial("x.mat"), std::out_of_range);
}

} // namespace
