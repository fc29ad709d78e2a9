// The forward passes, post effects and debug lines on a recording render context: which state
// they change, how often they bind, in which order the effects run and when they are skipped.
#include "renderer/Decal.h"
#include "renderer/DynamicMesh.h"
#include "renderer/Model.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable3D.h"
#include "tests/renderer/RecordingFrameTest.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ZOR::float3;
using ZOR::RenderSystem;

class EffectsRecordingTest : public tarsel::test::RecordingFrameTest {
protected:
    ~EffectsRecordingTest() override
    {
        for (ZOR::Renderable* renderable : added)
            system.RemoveRenderable(renderable);
    }

    void AddCube()
    {
        cube.SetModel("cube.model");
        cube.SetWorldMatrix(ZOR::float4x4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
        Add(&cube);
    }
    void Add(ZOR::Renderable* renderable)
    {
        system.AddRenderable(renderable);
        added.push_back(renderable);
        system.ResolveOctree();
    }
    void Frame()
    {
        context->ClearCalls();
        system.Update(1.0f / 60.0f);
        calls = context->Calls();
    }
    std::size_t CountExact(const std::string& call) const
    {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
    }
    // Index of the first call equal to call at or after from; calls.size() when there is none.
    std::size_t Find(const std::string& call, std::size_t from = 0) const
    {
        const auto at = std::find(calls.begin() + static_cast<std::ptrdiff_t>(std::min(from, calls.size())),
                                  calls.end(), call);
        return static_cast<std::size_t>(at - calls.begin());
    }
    std::string Texture(std::uint32_t slot, const ZOR::Handle& handle) const
    {
        return "BindTexture(" + std::to_string(slot) + ", " + Name(handle) + ")";
    }
    // The calls of the dynamic-mesh pass: after its setup's last call up to the frame's reset.
    std::vector<std::string> DynamicMeshPassBody()
    {
        const std::size_t setup = Find(Ps("ZOR_DynamicMesh.ps"));
        const std::size_t begin = Find(Texture(1, system.GetScreen(0).GetDepthBuffer(0)), setup);
        const std::size_t end = Find("SetCullMode(1)", begin);
        EXPECT_LT(end, calls.size()) << "the pass ends by setting cull back";
        if (end >= calls.size())
            return {};
        return std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(begin) + 1,
                                        calls.begin() + static_cast<std::ptrdiff_t>(end));
    }

    ZOR::Renderable3D cube;
    std::vector<ZOR::Renderable*> added;
    std::vector<std::string> calls;
};

TEST_F(EffectsRecordingTest, AnEmptyDynamicMeshChangesNoStateAndAFirstMeshWithoutBlendingSetsIt)
{
    AddCube();
    ZOR::DynamicMesh empty(6);
    empty.SetBlendMode(ZOR::BlendMode::Additive);
    empty.SetCullMode(ZOR::CullMode::Front);
    empty.SetTexture("a.dds");
    system.AddRenderable(&empty);
    Frame();
    ASSERT_EQ(CountExact(Ps("ZOR_DynamicMesh.ps")), 1u);
    EXPECT_TRUE(DynamicMeshPassBody().empty()) << "nothing between the setup and the resets";

    // The setup leaves alpha blending on, so a first mesh that asks for none must say so.
    ZOR::DynamicMesh opaque(6);
    opaque.SetBlendMode(ZOR::BlendMode::None);
    opaque.Push(float3(0, 0, 0), ZOR::float2(0, 0), 1.0f).Push(float3(1, 0, 0), ZOR::float2(1, 0), 1.0f);
    opaque.Push(float3(0, 1, 0), ZOR::float2(0, 1), 1.0f);
    system.AddRenderable(&opaque);
    Frame();
    const std::vector<std::string> body = DynamicMeshPassBody();
    EXPECT_NE(std::find(body.begin(), body.end(), "SetBlendMode(0)"), body.end());
    EXPECT_EQ(std::find(body.begin(), body.end(), "SetCullMode(2)"), body.end()) << "the empty mesh set nothing";
    EXPECT_NE(std::find(body.begin(), body.end(), "BindVertexBuffer(" + Name(opaque.GetVertexBuffer()) + ", 24)"),
              body.end());
    EXPECT_EQ(std::count(body.begin(), body.end(), "Draw(3, 0)"), 1);
    system.RemoveRenderable(&opaque);
    system.RemoveRenderable(&empty);
}

TEST_F(EffectsRecordingTest, ACullFrontMeshIsFollowedByCullBackBeforeTheFullScreenPasses)
{
    AddCube();
    ZOR::DynamicMesh mesh(3);
    mesh.SetCullMode(ZOR::CullMode::Front);
    mesh.Push(float3(0, 0, 0), ZOR::float2(0, 0), 1.0f).Push(float3(1, 0, 0), ZOR::float2(1, 0), 1.0f);
    mesh.Push(float3(0, 1, 0), ZOR::float2(0, 1), 1.0f);
    system.AddRenderable(&mesh);
    system.EnableEffect(RenderSystem::RadialBlur, -1);
    Frame();
    const std::size_t front = Find("SetCullMode(2)", Find(Ps("ZOR_DynamicMesh.ps")));
    ASSERT_LT(front, calls.size());
    const std::size_t back = Find("SetCullMode(1)", front);
    const std::size_t blur = Find(Ps("ZOR_RadialBlur.ps"), front);
    ASSERT_LT(blur, calls.size());
    EXPECT_LT(back, blur);
    system.RemoveRenderable(&mesh);
}

TEST_F(EffectsRecordingTest, DecalsOfOneTextureBindItOnceAndANewTextureOnceMore)
{
    ASSERT_TRUE(system.LoadTexture(tarsel::test::ContentDir().string() + "/textures/sun.dds"));
    ASSERT_TRUE(system.LoadTexture(tarsel::test::ContentDir().string() + "/textures/fonts/font_32.dds"));
    AddCube();
    ZOR::Decal decals[3];
    const char* textures[3] = {"sun.dds", "sun.dds", "font_32.dds"};
    for (int i = 0; i < 3; ++i) {
        decals[i].m_position = float3(static_cast<float>(i) - 1.0f, 0, 0);
        decals[i].m_scale = float3(1, 1, 1);
        decals[i].SetTexture(textures[i]);
        decals[i].SetAlpha(1.0f);
        Add(&decals[i]);
    }
    Frame();
    ASSERT_EQ(CountExact(Ps("ZOR_Decal.ps")), 1u);
    const std::size_t start = Find(Ps("ZOR_Decal.ps"));
    EXPECT_EQ(Find(Texture(0, system.GetScreen(0).GetDepthBuffer(1)), start), start + 1) << "the depth copy";
    EXPECT_EQ(CountExact(Texture(1, system.GetTexture("sun.dds"))), 1u);
    EXPECT_EQ(CountExact(Texture(1, system.GetTexture("font_32.dds"))), 1u);
    const std::string draw = "Draw(" + std::to_string(system.GetModel("cube.model")->GetVertexCount()) + ", 0)";
    std::size_t decalDraws = 0;
    for (std::size_t i = start; i < calls.size() && calls[i] != "BindRenderTarget(null)"; ++i)
        decalDraws += calls[i] == draw;
    EXPECT_EQ(decalDraws, 3u);
    for (ZOR::Decal& decal : decals) {
        system.RemoveRenderable(&decal);
        added.erase(std::find(added.begin(), added.end(), &decal));
    }
}

TEST_F(EffectsRecordingTest, MoreThanFiveHundredParticlesGrowTheBufferAndAllDraw)
{
    ZOR::ParticleEmitter emitter;
    Add(&emitter);
    emitter.SetParticleTypeCount(2);
    emitter.SetParticleType(0, "", ZOR::BlendMode::Alpha, ZOR::Color(1, 1, 1, 1), ZOR::Color(1, 1, 1, 1));
    emitter.SetParticleType(1, "", ZOR::BlendMode::Additive, ZOR::Color(1, 1, 1, 1), ZOR::Color(1, 1, 1, 1));
    emitter.SetMaxParticles(700);
    emitter.SetLifespan(10.0f, 10.0f);
    emitter.SetSpawnInterval(0.0f, 0.0f);
    emitter.SetScale(0.1f, 0.1f);
    emitter.Emit(true);
    emitter.Update(1e-4f);
    emitter.Update(1e-4f);
    system.ResolveOctree();
    unsigned live[2] = {0, 0};
    for (unsigned pool = 0; pool < 2; ++pool)
        for (const ZOR::ParticleEmitter::Particle& p : emitter.GetPool(pool))
            live[pool] += p.alive ? 1u : 0u;
    ASSERT_GT(live[0], 500u) << "enough alpha particles to pass the first capacity";
    Frame();

    EXPECT_GE(system.GetParticleInstances().GetCapacity(), live[0]);
    EXPECT_GT(system.GetParticleInstances().GetCapacity(), 500u);
    std::vector<unsigned> drawn;
    for (const std::string& call : calls) {
        unsigned vertices = 0, count = 0, first = 0, firstInstance = 0;
        if (std::sscanf(call.c_str(), "DrawInstanced(%u, %u, %u, %u)", &vertices, &count, &first, &firstInstance) ==
                4 &&
            vertices == 6)
            drawn.push_back(count);
    }
    ASSERT_EQ(drawn.size(), live[1] > 0 ? 2u : 1u);
    EXPECT_EQ(drawn[0], live[0]) << "pool 0 in one batch";
    if (live[1] > 0) {
        EXPECT_EQ(drawn[1], live[1]);
    }
    // Pool 0 blends with alpha, pool 1 adds, and the particle target is composed twice.
    const std::string particleTarget = Name(system.GetScreen(0).GetRenderTarget(7));
    EXPECT_EQ(CountExact("ClearRenderTarget(" + particleTarget + ", 0, 0, 0, 0)"), 3u) << "start of screen, two pools";
    const std::size_t additive = Find("SetBlendMode(2)", Find(Ps("ZOR_Particle.ps")));
    EXPECT_LT(Find("SetBlendMode(3)", additive), calls.size());
    system.RemoveRenderable(&emitter);
    added.clear();
}

TEST_F(EffectsRecordingTest, TheLinePassRunsOnlyWithDebugDrawingOnEveryScreenAndSomethingToDraw)
{
    AddCube();
    system.EnableEffect(RenderSystem::DebugDraw, -1);
    Frame();
    EXPECT_EQ(CountExact(Vs("ZOR_Line.vs")), 0u);
    EXPECT_EQ(CountExact("SetPrimitiveTopology(1)"), 0u);

    system.GetDebugDrawer(false).Line(float3(0, 0, 0));
    system.GetDebugDrawer(false).Line(float3(1, 0, 0));
    system.DisableEffect(RenderSystem::DebugDraw, 2);
    Frame();
    EXPECT_EQ(CountExact(Vs("ZOR_Line.vs")), 0u) << "debug drawing is off on one screen";

    system.EnableEffect(RenderSystem::DebugDraw, -1);
    system.GetDebugDrawer(false).Line(float3(0, 0, 0));
    system.GetDebugDrawer(false).Line(float3(1, 0, 0));
    Frame();
    EXPECT_EQ(CountExact(Vs("ZOR_Line.vs")), 1u);
    EXPECT_EQ(CountExact("SetPrimitiveTopology(1)"), 1u);
    EXPECT_EQ(system.GetDebugDrawer(false).GetSize(), 0u) << "emptied at the end of the frame";
}

TEST_F(EffectsRecordingTest, TheSecondDrawerUsesTheScreensOwnDepthBufferEvenWithNothingVisible)
{
    system.AddScreen(true);
    system.EnableEffect(RenderSystem::DebugDraw, -1);
    system.GetDebugDrawer(true).Line(float3(0, 0, 0));
    system.GetDebugDrawer(true).Line(float3(1, 0, 0));
    Frame();
    for (int s = 0; s < 2; ++s) {
        const std::string scene = "BindRenderTarget(" + Name(system.GetScreen(s).GetRenderTarget(0)) + ")";
        const std::string depth = "BindDepthBuffer(" + Name(system.GetScreen(s).GetDepthBuffer(0)) + ")";
        const std::size_t line = Find(Vs("ZOR_Line.vs"), s == 0 ? 0 : Find(Vs("ZOR_Line.vs")) + 1);
        ASSERT_LT(line, calls.size()) << "screen " << s;
        const std::size_t bound = Find(depth, line);
        ASSERT_LT(bound, calls.size()) << "screen " << s;
        EXPECT_EQ(calls[bound + 1], scene) << "screen " << s;
    }
}

TEST_F(EffectsRecordingTest, PostEffectsRunInTheirOrderOnlyOnTheirScreen)
{
    AddCube();
    system.AddScreen(true);
    for (RenderSystem::Effect effect : {RenderSystem::Bloom, RenderSystem::DepthOfField, RenderSystem::SSAO,
                                        RenderSystem::GlobalVolumetricFog, RenderSystem::RadialBlur,
                                        RenderSystem::EdgeDetection})
        system.EnableEffect(effect, 0);
    Frame();
    const char* order[] = {"ZOR_SSAO.ps",         "ZOR_FinalPassNoLighting.ps", "ZOR_Threshold.ps",
                           "ZOR_Bloom.ps",        "ZOR_GlobalVolumetricFog.ps", "ZOR_DepthOfField.ps",
                           "ZOR_RadialBlur.ps",   "ZOR_EdgeDetection.ps",       "ZOR_ChromaticAberration.ps"};
    std::size_t at = 0;
    for (const char* shader : order) {
        const std::size_t next = Find(Ps(shader), at);
        EXPECT_LT(next, calls.size()) << shader << " after the one before";
        at = next;
        EXPECT_EQ(CountExact(Ps(shader)), std::string(shader) == "ZOR_FinalPassNoLighting.ps" ? 2u : 1u) << shader;
    }
    // Blur: SSAO once, bloom once, depth of field once.
    EXPECT_EQ(CountExact(Ps("ZOR_HorizontalBlur.ps")), 3u);
    EXPECT_EQ(CountExact(Ps("ZOR_VerticalBlur.ps")), 3u);
}

TEST_F(EffectsRecordingTest, GodRaysRunOnlyWhenOnForEveryScreen)
{
    ASSERT_TRUE(system.LoadTexture(tarsel::test::ContentDir().string() + "/textures/sun.dds"));
    AddCube();
    system.AddScreen(true);
    system.EnableEffect(RenderSystem::GodRays, 0);
    Frame();
    EXPECT_EQ(CountExact(Ps("ZOR_GodRaysLightMask.ps")), 0u);
    EXPECT_EQ(CountExact(Ps("ZOR_GodRays.ps")), 0u);

    system.EnableEffect(RenderSystem::GodRays, -1);
    Frame();
    EXPECT_EQ(CountExact(Ps("ZOR_GodRaysLightMask.ps")), 2u);
    EXPECT_EQ(CountExact(Ps("ZOR_GodRays.ps")), 2u);
    EXPECT_EQ(CountExact(Texture(1, system.GetTexture("sun.dds"))), 2u);
    // The mask and rays come before the composition that reads them.
    EXPECT_LT(Find(Ps("ZOR_GodRays.ps")), Find(Ps("ZOR_FinalPassNoLighting.ps")));
}

} // namespace
