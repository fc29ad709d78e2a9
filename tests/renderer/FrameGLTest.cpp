// Whole frames on the OpenGL back end, read back from the back buffer with tolerances.
#include "renderer/DirectionalLight.h"
#include "renderer/PointLight.h"
#include "renderer/Renderable2D.h"
#include "tests/support/StdoutCapture.h"
#include "tests/renderer/FrameTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

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

TEST_F(FrameGLTest, AGrazingSunsShadowStartsAtTheWallAndIsTheSameFromAboveAndFromLow)
{
    SetUpScene();
    AddModel("cube.model", TranslateScale(float3(0, -0.5f, 0), float3(20, 1, 20)), ColourMaterial("ground.mat", 1, 1, 1));
    // A thin wall across x = 0: 0.05 thick, 2 high, 2.4 wide.
    AddModel("cube.model", TranslateScale(float3(0, 1, 0), float3(0.05f, 2, 2.4f)), ColourMaterial("wall.mat", 0.8f, 0.8f, 0.8f));
    system->SetGlobalAmbient(0.2f, 0.2f, 0.2f);
    // 15 degrees above the horizon: the ground meets the sun at a grazing angle.
    const float3 direction(std::cos(0.2618f), -std::sin(0.2618f), 0.0f);
    sun.SetDirection(direction);
    sun.SetColor(2, 2, 2);
    system->AddRenderable(&sun);
    SetSun(direction);
    system->EnableEffect(RenderSystem::Lighting, -1);
    system->EnableEffect(RenderSystem::Shadows, -1);

    struct View {
        float3 eye, target;
        const char* name;
    };
    const View views[] = {{float3(1, 9, 0.5f), float3(1, 0, 0), "above"}, {float3(1, 0.8f, 5), float3(1, 0, 0), "low"}};
    float starts[2] = {};
    for (int v = 0; v < 2; ++v) {
        SCOPED_TRACE(views[v].name);
        SetCamera(0, views[v].eye, views[v].target);
        const auto image = Frame();
        Screenshot(image, std::string("shadow_grazing_") + views[v].name);
        const auto luma = [&](float x, float z) {
            const auto xy = Project(float3(x, 0, z));
            return Luma(Pixel(image, static_cast<std::uint32_t>(xy[0]), static_cast<std::uint32_t>(xy[1])));
        };
        // Open ground beside the wall's shadow is evenly lit: no acne.
        const int open = luma(1.0f, 2.0f);
        EXPECT_GT(open, 110);
        for (float x = -0.5f; x <= 2.5f; x += 0.25f)
            EXPECT_NEAR(luma(x, 2.0f), open, 8) << "acne at x " << x;
        // Behind the wall the shadow starts within a few hundredths and has no gap.
        const int middle = (open + 51) / 2;
        starts[v] = 1.0f;
        for (float x = 0.03f; x < 1.0f; x += 0.01f)
            if (luma(x, 0.0f) < middle) {
                starts[v] = x;
                break;
            }
        for (float x = starts[v] + 0.05f; x <= 3.0f; x += 0.05f)
            EXPECT_LT(luma(x, 0.0f), middle) << "a gap at x " << x;
    }
    EXPECT_LT(starts[0], 0.15f) << "the shadow is detached from the wall";
    EXPECT_NEAR(starts[0], starts[1], 0.05f) << "the shadow's edge moves with the camera";
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

namespace {

using tarsel::test::FrameTest;
using ZOR::float3;

class SplitScreenGLTest : public FrameTest {};

TEST_F(SplitScreenGLTest, FourScreensShowTheirOwnCamerasAndSpritesFollowTheirScreenIds)
{
    SetUpScene();
    system->SetOrthographicProjectionSize(ZOR::float2(180.0f, 180.0f));
    for (int i = 0; i < 3; ++i)
        system->AddScreen(true);
    const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
    for (unsigned s = 0; s < 4; ++s) {
        const float x = static_cast<float>(s) * 50.0f;
        ZOR::Material* m = ColourMaterial("screen" + std::to_string(s) + ".mat", colours[s][0], colours[s][1], colours[s][2]);
        AddModel("cube.model", TranslateScale(float3(x, 0, 0), float3(30, 30, 1)), m);
        SetCamera(s, float3(x, 0, 10), float3(x, 0, 0));
    }
    ZOR::Material* white = ColourMaterial("sprite.mat", 1, 1, 1);
    ZOR::Renderable2D everywhere, onlyTwo, whole;
    for (ZOR::Renderable2D* sprite : {&everywhere, &onlyTwo, &whole}) {
        system->AddRenderable(sprite);
        sprite->SetMaterial(white);
    }
    everywhere.SetScreenID(5);
    everywhere.SetPosition(10, 10);
    everywhere.SetSize(40, 40);
    onlyTwo.SetScreenID(2);
    onlyTwo.SetPosition(200, 10);
    onlyTwo.SetSize(40, 40);
    onlyTwo.SetAlpha(0.5f);
    whole.SetScreenID(-1);
    whole.SetPosition(150, 80);
    whole.SetSize(20, 20);
    auto image = Frame();
    Screenshot(image, "split_screen");

    // Each quarter's centre shows its own camera's slab.
    const std::array<int, 2> centres[4] = {{80, 45}, {240, 45}, {80, 135}, {240, 135}};
    for (unsigned s = 0; s < 4; ++s) {
        const auto c = Pixel(image, centres[s][0], centres[s][1]);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(c[k], colours[s][k] * 255.0f, 3) << "screen " << s << " channel " << k;
    }
    // Screen id 5: a white square at (5..25, 5..25) of every quarter (ortho height 180 over 90 pixels).
    for (unsigned s = 0; s < 4; ++s) {
        const int x0 = s % 2 ? 160 : 0, y0 = s / 2 ? 90 : 0;
        EXPECT_GT(Luma(Pixel(image, x0 + 15, y0 + 15)), 250) << "screen " << s;
    }
    // Screen id 2 is drawn in screen 2's quarter at half alpha over blue.
    const auto half = Pixel(image, 0 + 110, 90 + 15);
    EXPECT_NEAR(half[0], 128, 8);
    EXPECT_NEAR(half[2], 255, 3);
    // Screen id -1 once over the whole window in window pixels.
    EXPECT_GT(Luma(Pixel(image, 160, 90)), 250);
    EXPECT_LT(Luma(Pixel(image, 145, 75)), 250);
    for (ZOR::Renderable2D* sprite : {&everywhere, &onlyTwo, &whole})
        system->RemoveRenderable(sprite);
}

TEST_F(SplitScreenGLTest, FadeZeroIsBlackAndHalfIsHalfAndAMissingShaderOnlySkipsItsPass)
{
    const std::filesystem::path folder = Folder() / "shaders";
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator((tarsel::test::ContentDir() / "shaders").string()))
        if (entry.path().filename() != "ZOR_Renderable3D.vs")
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
    tarsel::test::StdoutCapture capture;
    SetUpScene(folder.string() + "/");
    EXPECT_NE(capture.Text().find("ZOR_Renderable3D.vs"), std::string::npos);
    ZOR::Material* grey = ColourMaterial("grey.mat", 0.8f, 0.8f, 0.8f);
    AddModel("cube.model", TranslateScale(float3(0, 0, 0), float3(30, 30, 1)), grey);
    SetCamera(0, float3(0, 0, 10), float3(0, 0, 0));
    ZOR::Renderable2D sprite;
    system->AddRenderable(&sprite);
    sprite.SetMaterial(grey);
    system->SetOrthographicProjectionSize(ZOR::float2(180.0f, 180.0f));
    system->UpdateScreenLayout(true);
    sprite.SetPosition(0, 0);
    sprite.SetSize(400, 400);

    auto full = Frame();
    EXPECT_NEAR(Pixel(full, 100, 100)[0], 204, 3) << "the model pass is skipped, the sprite still drawn";
    system->GetFadeFactor() = 0.5f;
    auto half = Frame();
    EXPECT_NEAR(Pixel(half, 100, 100)[0], 102, 3);
    system->GetFadeFactor() = 0.0f;
    auto black = Frame();
    EXPECT_EQ(Pixel(black, 100, 100)[0], 0);
    system->RemoveRenderable(&sprite);
}

} // namespace
