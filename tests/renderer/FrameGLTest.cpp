// Whole frames on the OpenGL back end, read back from the back buffer with tolerances.
#include "renderer/DirectionalLight.h"
#include "renderer/PointLight.h"
#include "tests/renderer/FrameTestKit.h"

#include <gtest/gtest.h>

namespace {

using tarsel::test::FrameTest;
using ZOR::float3;
using ZOR::RenderSystem;

class FrameGLTest : public FrameTest {
protected:
    // A 20x20 ground slab whose top is y = 0 and a unit cube standing on it at the origin.
    void GroundAndCube()
    {
        AddModel("cube.model", TranslateScale(float3(0, -0.5f, 0), float3(20, 1, 20)), ColourMaterial("ground.mat", 1, 1, 1));
        AddModel("cube.model", TranslateScale(float3(0, 0.5f, 0), float3(1, 1, 1)), ColourMaterial("box.mat", 0.8f, 0.8f, 0.8f));
    }
    ZOR::DirectionalLight sun;
};

TEST_F(FrameGLTest, ASunLightsTheFaceItFacesAndLightingOffShowsAlbedoOnly)
{
    SetUpScene();
    GroundAndCube();
    SetCamera(0, float3(2.5f, 3, 4), float3(0, 0.5f, 0));
    system->SetGlobalAmbient(0.2f, 0.2f, 0.2f);
    sun.SetDirection(0, -1, 0);
    sun.SetColor(1, 1, 1);
    system->AddRenderable(&sun);
    system->EnableEffect(RenderSystem::Lighting, -1);

    auto lit = Frame();
    Screenshot(lit, "lit_cube");
    const auto top = Project(float3(0, 1, 0));
    const auto side = Project(float3(0, 0.5f, 0.5f));
    const int topLuma = Luma(Pixel(lit, top[0], top[1]));
    const int sideLuma = Luma(Pixel(lit, side[0], side[1]));
    EXPECT_GT(topLuma, 150);
    EXPECT_LT(sideLuma, 70);
    EXPECT_GT(topLuma, sideLuma + 100);

    system->DisableEffect(RenderSystem::Lighting, -1);
    auto flat = Frame();
    Screenshot(flat, "unlit_cube");
    EXPECT_NEAR(Luma(Pixel(flat, top[0], top[1])), Luma(Pixel(flat, side[0], side[1])), 3);
    EXPECT_NEAR(Luma(Pixel(flat, top[0], top[1])), 204, 4);
}

TEST_F(FrameGLTest, AnObliqueSunCastsTheCubesShadowAlongItsDirectionAndNowhereElse)
{
    SetUpScene();
    GroundAndCube();
    SetCamera(0, float3(0, 6, 6), float3(0, 0, 0));
    system->SetGlobalAmbient(0.2f, 0.2f, 0.2f);
    const float3 direction = float3(1, -1, 0) * 0.70710678f;
    sun.SetDirection(direction);
    sun.SetColor(1, 1, 1);
    system->AddRenderable(&sun);
    SetSun(direction);
    system->EnableEffect(RenderSystem::Lighting, -1);
    system->EnableEffect(RenderSystem::Shadows, -1);

    auto shadowed = Frame();
    Screenshot(shadowed, "shadow");
    const auto inShadow = Project(float3(1.1f, 0, 0));
    const auto opposite = Project(float3(-1.1f, 0, 0));
    const auto far = Project(float3(2.5f, 0, 1.5f));
    const int shade = Luma(Pixel(shadowed, inShadow[0], inShadow[1]));
    const int open = Luma(Pixel(shadowed, opposite[0], opposite[1]));
    EXPECT_LT(shade, 80);
    EXPECT_GT(open, 150);
    EXPECT_NEAR(Luma(Pixel(shadowed, far[0], far[1])), open, 6) << "acne or a stray shadow on open ground";

    // Every open-ground pixel of a row in front of the cube is lit: no acne.
    const auto left = Project(float3(-3, 0, 2));
    const auto right = Project(float3(3, 0, 2));
    int darkest = 255;
    for (int x = left[0]; x <= right[0]; ++x)
        darkest = std::min(darkest, Luma(Pixel(shadowed, x, left[1])));
    EXPECT_GT(darkest, 150);

    system->DisableEffect(RenderSystem::Shadows, 1);
    auto plain = Frame();
    Screenshot(plain, "shadow_off");
    EXPECT_NEAR(Luma(Pixel(plain, inShadow[0], inShadow[1])), open, 6);
}

TEST_F(FrameGLTest, APointLightLightsTheGroundInsideItsRadiusOnly)
{
    SetUpScene();
    AddModel("cube.model", TranslateScale(float3(0, -0.5f, 0), float3(20, 1, 20)), ColourMaterial("ground.mat", 1, 1, 1));
    SetCamera(0, float3(0, 16, 0.01f), float3(0, 0, 0));
    system->SetGlobalAmbient(0, 0, 0);
    ZOR::PointLight light;
    light.SetPosition(0, 1, 0);
    light.SetColor(1, 1, 1);
    light.SetRadius(4.0f);
    light.SetIntensity(20.0f);
    light.Update(0.0f);
    system->AddRenderable(&light);
    system->ResolveOctree();
    system->EnableEffect(RenderSystem::Lighting, -1);

    auto image = Frame();
    Screenshot(image, "point_light");
    // Ground points at 3D distances 0.8 and 1.05 radii from the light.
    const float inside = std::sqrt(3.2f * 3.2f - 1.0f);
    const float outside = std::sqrt(4.2f * 4.2f - 1.0f);
    for (const float3 dir : {float3(1, 0, 0), float3(-1, 0, 0), float3(0, 0, 1), float3(0, 0, -1)}) {
        const auto in = Project(dir * inside);
        const auto out = Project(dir * outside);
        EXPECT_GT(Luma(Pixel(image, in[0], in[1])), 20);
        EXPECT_LE(Luma(Pixel(image, out[0], out[1])), 1);
    }
    const auto centre = Project(float3(0, 0, 0));
    EXPECT_GT(Luma(Pixel(image, centre[0], centre[1])), 200);
    system->RemoveRenderable(&light);
}

} // namespace
