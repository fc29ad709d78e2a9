// Model renderables: owner-only asset look-ups, sort keys, world boxes and glow.
#include "renderer/Hash.h"
#include "renderer/Material.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable3D.h"
#include "renderer/Renderable3DSkinned.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

using ZOR::Renderable3D;

std::string Content()
{
    return tarsel::test::ContentDir().string();
}

TEST(Renderable3DTest, OnlyAnOwnedRenderableLooksAssetsUpAndEqualPairsShareAKey)
{
    auto context = std::make_shared<tarsel::test::RecordingRenderContext>();
    context->SetDisplayModes({ZOR::DisplayMode({800, 600}, 60)});
    context->SetCurrentDisplayMode(ZOR::DisplayMode({800, 600}, 60));
    ZOR::RenderSystem system(context, nullptr);
    ASSERT_TRUE(system.Initialize());
    ASSERT_TRUE(system.LoadModel(Content() + "/models/cube.model"));
    system.LoadMaterial("red.mat");

    Renderable3D loose;
    loose.SetModel("cube.model");
    loose.SetMaterial("red.mat");
    EXPECT_EQ(loose.GetModel(), nullptr);
    EXPECT_EQ(loose.GetMaterial(), nullptr);

    Renderable3D a, b, c;
    for (Renderable3D* r : {&a, &b, &c})
        system.AddRenderable(r);
    EXPECT_EQ(a.GetMaterial(), system.GetMaterial("")) << "added without a material: the default one";
    a.SetModel("cube.model");
    b.SetModel("cube.model");
    a.SetMaterial("red.mat");
    b.SetMaterial("red.mat");
    c.SetModel("cube.model");
    EXPECT_EQ(a.GetHash(), b.GetHash());
    EXPECT_NE(a.GetHash(), c.GetHash());
    const auto low = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(a.GetModel()));
    EXPECT_EQ(a.GetHash(), ZOR::FNV1a(low) + ZOR::FNV1a(system.GetMaterial("red.mat")->GetID()));

    c.SetModel("missing.model");
    EXPECT_EQ(c.GetModel(), system.GetModel("cube.model")) << "an unknown name changes nothing";
    for (Renderable3D* r : {&a, &b, &c})
        system.RemoveRenderable(r);
}

TEST(Renderable3DTest, A45DegreeTurnWidensTheWorldBoxAndNegativeGlowIsZero)
{
    const float s = std::sqrt(0.5f);
    const ZOR::float4x4 turn(s, 0, s, 2, 0, 1, 0, 0, -s, 0, s, 0, 0, 0, 0, 1);
    const ZOR::AABB box = ZOR::TransformBox(ZOR::AABB(-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f), turn);
    EXPECT_NEAR(box.min.x, 2.0f - s, 1e-5f);
    EXPECT_NEAR(box.max.x, 2.0f + s, 1e-5f);
    EXPECT_NEAR(box.max.z, s, 1e-5f);
    EXPECT_NEAR(box.max.y, 0.5f, 1e-5f);

    Renderable3D model;
    model.SetGlowStrength(-1.0f);
    EXPECT_EQ(model.GetInstance().glowStrength, 0.0f);
    model.SetGlowStrength(2.5f);
    EXPECT_EQ(model.GetInstance().glowStrength, 2.5f);
    ZOR::Renderable3DSkinned skinned;
    skinned.SetGlowStrength(-1.0f);
    EXPECT_EQ(skinned.GetInstance().glowStrength, 0.0f);

    model.SetWorldMatrix(turn);
    const ZOR::float4x4 expected = turn.Inverse().Transpose();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(model.GetInstance().normal.m[i], expected.m[i], 1e-5f);
}

} // namespace

namespace {

TEST(InstanceBatchTest, ABatchOpenedForANewMaterialTakesTheNewModelSetRightAfter)
{
    ZOR::InstanceBuffer<ZOR::ModelInstance> buffer(4);
    const ZOR::Handle first(ZOR::ObjectType::VertexBuffer, 1), second(ZOR::ObjectType::VertexBuffer, 2);
    ZOR::Material a{ZOR::Handle()}, b{ZOR::Handle()};
    buffer.SetMaterial(&a);
    buffer.SetGeometry(first, 36);
    buffer.Append(ZOR::ModelInstance{});
    buffer.SetMaterial(&b);
    buffer.SetGeometry(second, 24);
    buffer.Append(ZOR::ModelInstance{});
    buffer.Append(ZOR::ModelInstance{});
    buffer.SetMaterial(&a);
    buffer.Append(ZOR::ModelInstance{});
    ASSERT_EQ(buffer.GetBatches().size(), 3u);
    EXPECT_EQ(buffer.GetBatches()[1].geometry, &second);
    EXPECT_EQ(buffer.GetBatches()[1].verticesPerInstance, 24u);
    EXPECT_EQ(buffer.GetBatches()[1].material, &b);
    EXPECT_EQ(buffer.GetBatches()[2].geometry, &second) << "a new batch carries the geometry over";
    EXPECT_EQ(buffer.GetBatches()[2].first, 3u);
    buffer.Clear();
    EXPECT_TRUE(buffer.GetBatches().empty());
}

} // namespace
