// Skinned and instanced models on the OpenGL back end, read back from the back buffer, and the
// back end's draw-call counter.
#include "renderer/Renderable3DSkinned.h"
#include "tests/renderer/FrameTestKit.h"
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ModelWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

namespace {

using tarsel::test::FrameTest;
using ZOR::float3;
using ZOR::float4x4;

float4x4 Translation(const float3& t)
{
    return float4x4(1, 0, 0, t.x, 0, 1, 0, t.y, 0, 0, 1, t.z, 0, 0, 0, 1);
}

class FrameModelsGLTest : public FrameTest {
protected:
    // A strip two units tall standing on the origin: the lower half follows bone 0 (the root),
    // the upper half bone 1, whose joint is one unit up. The clip "bend.anim" moves bone 1 by
    // +1.5 along x.
    void WriteStrip()
    {
        tarsel::tools::ModelDescription strip;
        strip.skinned = true;
        tarsel::tools::AddBox(strip.vertices, float3(0, 0.5f, 0), float3(0.25f, 0.5f, 0.25f), 0);
        tarsel::tools::AddBox(strip.vertices, float3(0, 1.5f, 0), float3(0.25f, 0.5f, 0.25f), 1);
        strip.nodes = {tarsel::tools::MakeNode(-1, float4x4()), tarsel::tools::MakeNode(0, Translation(float3(0, 1, 0)))};
        strip.bones = {{0, 2, float4x4()}, {1, 0, Translation(float3(0, -1, 0))}};
        strip.names = {"root", "tip"};
        const std::string model = (Folder() / "strip.model").string();
        std::ofstream(model, std::ios::binary) << tarsel::tools::WriteModel(strip);
        ASSERT_TRUE(system->LoadModel(model));

        tarsel::tools::ClipDescription clip;
        clip.duration = 10.0f;
        clip.ticksPerSecond = 30.0f;
        // The controller blends a clip's tracks in bone order: the root gets one that holds it.
        ZOR::Animation::Track root;
        root.id = 0;
        root.positionKeys = {{0.0f, float3(0, 0, 0)}};
        root.rotationKeys = {{0.0f, ZOR::float4(0, 0, 0, 1)}};
        ZOR::Animation::Track tip;
        tip.id = 1;
        tip.positionKeys = {{0.0f, float3(1.5f, 1, 0)}, {10.0f, float3(1.5f, 1, 0)}};
        tip.rotationKeys = {{0.0f, ZOR::float4(0, 0, 0, 1)}, {10.0f, ZOR::float4(0, 0, 0, 1)}};
        clip.tracks = {root, tip};
        const std::string anim = (Folder() / "bend.anim").string();
        std::ofstream(anim, std::ios::binary) << tarsel::tools::WriteAnimation(clip);
        ASSERT_TRUE(system->LoadAnimation(anim));
    }
    bool Shows(const ZOR::DXRenderContext::ReadBackData& image, const float3& p)
    {
        const auto pixel = Project(p);
        return Pixel(image, pixel[0], pixel[1])[0] > 200;
    }
};

TEST_F(FrameModelsGLTest, ASkinnedStripsTipMovesWithItsBone)
{
    SetUpScene();
    WriteStrip();
    SetCamera(0, float3(0.75f, 1, 7), float3(0.75f, 1, 0));
    ZOR::Renderable3DSkinned strip;
    system->AddRenderable(&strip);
    strip.SetModel("strip.model");
    strip.SetMaterial(ColourMaterial("strip.mat", 1, 0, 0));
    strip.SetWorldMatrix(float4x4());
    strip.Update(0.0f);
    system->ResolveOctree();

    auto rest = Frame();
    Screenshot(rest, "skinned_rest");
    EXPECT_TRUE(Shows(rest, float3(0, 1.8f, 0)));
    EXPECT_TRUE(Shows(rest, float3(0, 0.2f, 0)));
    EXPECT_FALSE(Shows(rest, float3(1.5f, 1.8f, 0)));

    strip.GetAnimationController().AddAnimation(system->GetAnimation("bend.anim"));
    strip.GetAnimationController().PlayAnimation("bend.anim");
    strip.Update(0.1f);
    auto bent = Frame();
    Screenshot(bent, "skinned_bent");
    EXPECT_TRUE(Shows(bent, float3(1.5f, 1.8f, 0))) << "the tip follows its bone";
    EXPECT_FALSE(Shows(bent, float3(0, 1.8f, 0)));
    EXPECT_TRUE(Shows(bent, float3(0, 0.2f, 0))) << "the root's half stays";
    EXPECT_FALSE(Shows(bent, float3(1.5f, 0.2f, 0)));
    system->RemoveRenderable(&strip);
}

TEST_F(FrameModelsGLTest, InstancedModelsShowTheirOwnMaterialsInPlaceInFewDraws)
{
    SetUpScene();
    SetCamera(0, float3(0, 0, 12), float3(0, 0, 0));
    const float colours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    ZOR::Material* materials[3];
    for (int m = 0; m < 3; ++m)
        materials[m] = ColourMaterial("m" + std::to_string(m) + ".mat", colours[m][0], colours[m][1], colours[m][2]);
    // Nine cubes in a row; the material cycles with a period that is not the row's, so a batch
    // that took the wrong first instance would put colours in the wrong places.
    const int pattern[9] = {0, 1, 2, 2, 0, 1, 1, 2, 0};
    for (int i = 0; i < 9; ++i)
        AddModel("cube.model", TranslateScale(float3(static_cast<float>(i) - 4.0f, 0, 0), float3(0.8f, 0.8f, 0.8f)),
                 materials[pattern[i]])
            .SetInstanced(true);

    auto image = Frame();
    Screenshot(image, "instanced_colours");
    for (int i = 0; i < 9; ++i) {
        const auto pixel = Project(float3(static_cast<float>(i) - 4.0f, 0, 0.4f));
        const auto c = Pixel(image, pixel[0], pixel[1]);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(c[k], colours[pattern[i]][k] * 255.0f, 3) << "cube " << i << " channel " << k;
    }
    // The gaps between cubes stay empty.
    const auto gap = Project(float3(0.5f, 0, 0.4f));
    EXPECT_EQ(Luma(Pixel(image, gap[0], gap[1])), 0);

    // Three more instances of the same materials add no draw call; a plain model adds one.
    const std::uint64_t before = Context().GetDrawCallCount();
    Frame();
    const std::uint64_t perFrame = Context().GetDrawCallCount() - before;
    for (int m = 0; m < 3; ++m)
        AddModel("cube.model", TranslateScale(float3(static_cast<float>(m) - 1.0f, 2, 0), float3(0.5f, 0.5f, 0.5f)),
                 materials[m])
            .SetInstanced(true);
    std::uint64_t mark = Context().GetDrawCallCount();
    Frame();
    EXPECT_EQ(Context().GetDrawCallCount() - mark, perFrame);
    AddModel("cube.model", TranslateScale(float3(0, -2, 0), float3(0.5f, 0.5f, 0.5f)), materials[0]);
    mark = Context().GetDrawCallCount();
    Frame();
    EXPECT_EQ(Context().GetDrawCallCount() - mark, perFrame + 1);
}

} // namespace
