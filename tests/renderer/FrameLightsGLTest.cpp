// Spot and point lights and the sky on the OpenGL back end, read back from the back buffer.
#include "renderer/DirectionalLight.h"
#include "renderer/PointLight.h"
#include "renderer/SpotLight.h"
#include "tests/renderer/FrameTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using tarsel::test::FrameTest;
using ZOR::float3;
using ZOR::RenderSystem;

constexpr float kDegrees = 3.14159265f / 180.0f;

class FrameLightsGLTest : public FrameTest {
protected:
    // A white 20x20 slab whose top is y = 0, seen from straight above, with no ambient light.
    void LitGroundFromAbove(float height)
    {
        SetUpScene();
        AddModel("cube.model", TranslateScale(float3(0, -0.5f, 0), float3(20, 1, 20)), ColourMaterial("ground.mat", 1, 1, 1));
        SetCamera(0, float3(0, height, 0.01f), float3(0, 0, 0));
        system->SetGlobalAmbient(0, 0, 0);
        system->EnableEffect(RenderSystem::Lighting, -1);
    }
    // A ground slab under a blue sky sphere (drawn when `sky` is on), the camera at eye.
    void GroundUnderTheSky(const float3& eye, const float3& target, bool sky)
    {
        SetUpScene();
        AddModel("cube.model", TranslateScale(float3(0, -0.5f, 0), float3(20, 1, 20)), ColourMaterial("ground.mat", 1, 1, 1));
        SetCamera(0, eye, target);
        system->GetSkySphere().SetMaterial(ColourMaterial("sky.mat", 0.2f, 0.4f, 0.8f));
        system->GetSkySphere().SetWorldMatrix(TranslateScale(float3(0, 0, 0), float3(100, 100, 100)));
        system->DrawSkySphere(sky);
    }
    int GroundLuma(const ZOR::DXRenderContext::ReadBackData& image, const float3& p)
    {
        const auto pixel = Project(p);
        return Luma(Pixel(image, pixel[0], pixel[1]));
    }
};

TEST_F(FrameLightsGLTest, ASpotLightsTheGroundInsideItsConeOnly)
{
    LitGroundFromAbove(12.0f);
    ZOR::SpotLight spot;
    spot.SetPosition(0, 4, 0);
    spot.SetDirection(0, -1, 0);
    spot.SetColor(1, 1, 1);
    spot.SetRadius(10.0f);
    spot.SetIntensity(5.0f);
    spot.SetConeAngles(15.0f, 20.0f);
    system->AddRenderable(&spot);

    auto image = Frame();
    Screenshot(image, "spot_light");
    // Ground points seen from the light at 8 and 13 degrees from the axis are inside the inner
    // cone; at 25 and 40 degrees they are outside the outer one, though well within the radius.
    for (const float3 dir : {float3(1, 0, 0), float3(-1, 0, 0), float3(0, 0, 1), float3(0, 0, -1)}) {
        for (const float inside : {8.0f, 13.0f})
            EXPECT_GT(GroundLuma(image, dir * (4.0f * std::tan(inside * kDegrees))), 60) << inside << " degrees";
        for (const float outside : {25.0f, 40.0f})
            EXPECT_LE(GroundLuma(image, dir * (4.0f * std::tan(outside * kDegrees))), 1) << outside << " degrees";
    }
    // Turned sideways, the cone leaves the point below the light dark and lights the ground it
    // now points at.
    spot.SetDirection(float3(1, -1, 0) * 0.70710678f);
    image = Frame();
    EXPECT_LE(GroundLuma(image, float3(-1.5f, 0, 0)), 1);
    EXPECT_GT(GroundLuma(image, float3(4, 0, 0)), 20);
    system->RemoveRenderable(&spot);
}

TEST_F(FrameLightsGLTest, TwelvePointLightsAllShowAndEachStaysInItsRadius)
{
    LitGroundFromAbove(24.0f);
    std::vector<std::unique_ptr<ZOR::PointLight>> lights;
    std::vector<float3> places;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            places.push_back(float3(static_cast<float>(column) * 4.0f - 6.0f, 0, static_cast<float>(row) * 4.0f - 4.0f));
    for (const float3& place : places) {
        lights.push_back(std::make_unique<ZOR::PointLight>());
        ZOR::PointLight& light = *lights.back();
        light.SetPosition(place.x, 0.5f, place.z);
        light.SetColor(1, 1, 1);
        light.SetRadius(1.5f);
        light.SetIntensity(6.0f);
        light.Update(0.0f);
        system->AddRenderable(&light);
    }
    system->ResolveOctree();

    auto image = Frame();
    Screenshot(image, "twelve_point_lights");
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_GT(GroundLuma(image, places[i]), 60) << "light " << i;
        // Halfway to the next light along x and z is 2 units away: past the radius of both.
        EXPECT_LE(GroundLuma(image, places[i] + float3(2, 0, 0)), 1) << "light " << i;
        EXPECT_LE(GroundLuma(image, places[i] + float3(0, 0, 2)), 1) << "light " << i;
    }
    for (auto& light : lights)
        system->RemoveRenderable(light.get());
}

TEST_F(FrameLightsGLTest, TheSkyKeepsItsOwnColourUnderEveryLight)
{
    GroundUnderTheSky(float3(0, 1, 8), float3(0, 1, 0), true);
    system->SetGlobalAmbient(0, 0, 0);
    ZOR::DirectionalLight sun;
    sun.SetDirection(float3(0.3f, -1, -0.2f) * (1.0f / std::sqrt(1.13f)));
    sun.SetColor(1, 1, 1);
    system->AddRenderable(&sun);
    ZOR::PointLight lamp;
    lamp.SetPosition(0, 3, 6);
    lamp.SetColor(1, 0.5f, 0.2f);
    lamp.SetRadius(60.0f);
    lamp.SetIntensity(10.0f);
    lamp.Update(0.0f);
    system->AddRenderable(&lamp);
    system->ResolveOctree();

    system->EnableEffect(RenderSystem::Lighting, -1);
    auto lit = Frame();
    Screenshot(lit, "sky_lit");
    system->DisableEffect(RenderSystem::Lighting, -1);
    auto unlit = Frame();

    // The top rows look over the ground at the sky; the bottom rows at the ground.
    const int skyColour[3] = {51, 102, 204};
    for (const int x : {10, 160, 310}) {
        const auto a = Pixel(lit, x, 8);
        const auto b = Pixel(unlit, x, 8);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(a[k], skyColour[k], 3) << "x " << x << " channel " << k;
            // Glow 1 is stored as 191/255 in the G-buffer, so the lit composition may round one up.
            EXPECT_NEAR(a[k], b[k], 1) << "x " << x << " channel " << k;
        }
    }
    // The lights did run: with no ambient light only they can light the ground.
    EXPECT_GT(Luma(Pixel(lit, 160, 170)), 100);
    system->RemoveRenderable(&lamp);
    system->RemoveRenderable(&sun);
}

TEST_F(FrameLightsGLTest, AViewOfNothingButTheSkyShowsTheSky)
{
    // Looking away from the ground, which lies behind the camera: nothing of the scene is in view.
    GroundUnderTheSky(float3(0, 1, 30), float3(0, 1, 60), true);
    system->ResolveOctree();
    auto image = Frame();
    ASSERT_TRUE(system->GetVisibleList().empty());
    for (const int x : {10, 160, 310})
        EXPECT_NEAR(Pixel(image, x, 120)[2], 204, 3) << "x " << x;
}

TEST_F(FrameLightsGLTest, WithoutTheSkySwitchTheBackgroundStaysBlack)
{
    GroundUnderTheSky(float3(0, 1, 8), float3(0, 1, 0), false);
    auto image = Frame();
    EXPECT_EQ(Luma(Pixel(image, 160, 8)), 0);
    system->DrawSkySphere(true);
    image = Frame();
    EXPECT_NEAR(Pixel(image, 160, 8)[2], 204, 3);
}

} // namespace
