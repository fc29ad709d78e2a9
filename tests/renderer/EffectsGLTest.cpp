// Post effects and forward passes on the OpenGL back end: a reference scene rendered with each
// effect on and off, read back from the back buffer with tolerances, screenshots of each.
#include "renderer/BillboardedQuad.h"
#include "renderer/Decal.h"
#include "renderer/DirectionalLight.h"
#include "renderer/DynamicMesh.h"
#include "renderer/ParticleEmitter.h"
#include "tests/renderer/FrameTestKit.h"
#include "tools/writers/ImageWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace {

using tarsel::test::FrameTest;
using ZOR::float3;
using ZOR::RenderSystem;
using Image = ZOR::DXRenderContext::ReadBackData;

int Distance(const std::array<int, 4>& a, const std::array<int, 4>& b)
{
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

class EffectsGLTest : public FrameTest {
protected:
    ~EffectsGLTest() override
    {
        if (system) {
            for (auto& model : models)
                system->RemoveRenderable(model.get());
            system->RemoveRenderable(&sun);
        }
    }

    // Lit ground, two walls meeting in a corner at (-4, -4), a near and a far box, a glowing
    // sphere, and the sun low in the sky in front of the camera. Effect values as the engine sets.
    void ReferenceScene()
    {
        SetUpScene();
        ground = &AddModel("cube.model", TranslateScale(float3(0, -0.5f, -40), float3(200, 1, 200)),
                           ColourMaterial("ground.mat", 0.8f, 0.8f, 0.8f));
        AddModel("cube.model", TranslateScale(float3(0, 1.5f, -4), float3(8, 3, 0.4f)),
                 ColourMaterial("wall.mat", 0.7f, 0.7f, 0.6f));
        AddModel("cube.model", TranslateScale(float3(-4, 1.5f, 0), float3(0.4f, 3, 8)),
                 ColourMaterial("wall2.mat", 0.6f, 0.7f, 0.7f));
        AddModel("cube.model", TranslateScale(float3(2, 0.5f, 2), float3(1, 1, 1)),
                 ColourMaterial("near.mat", 0.9f, 0.3f, 0.2f));
        AddModel("cube.model", TranslateScale(float3(12, 4, -70), float3(8, 8, 8)),
                 ColourMaterial("far.mat", 0.2f, 0.8f, 0.3f));
        ZOR::Renderable3D& glowing = AddModel("sphere.model", TranslateScale(float3(0.5f, 1, -2), float3(0.6f, 0.6f, 0.6f)),
                                              ColourMaterial("glow.mat", 1, 1, 0.9f));
        glowing.SetGlowStrength(4.0f);
        system->SetGlobalAmbient(0.35f, 0.35f, 0.35f);
        sun.SetDirection(float3(0.3f, -1.0f, -0.4f) * (1.0f / std::sqrt(1.25f)));
        sun.SetColor(0.8f, 0.8f, 0.8f);
        system->AddRenderable(&sun);
        system->EnableEffect(RenderSystem::Lighting, -1);
        system->SetBloomProperties(0.9f, 1.5f, 1.0f);
        system->SetSSAOProperties(2.0f, 2.0f, 1e-7f, 1.0f);
        system->SetDOFProperties(0.1f, 0.4f);
        system->SetFogProperties(0.02f, 0.1f, 0.2f);
        system->SetFogColor(0.5f, 0.6f, 1.0f);
        system->SetSunPosition(-40.0f, 8.0f, -150.0f);
        system->SetSunSize(8.0f);
        ASSERT_TRUE(system->LoadTexture((tarsel::test::ContentDir() / "textures/sun.dds").string()));
        View(0);
    }
    void View(unsigned screen) { SetCamera(screen, float3(4, 5, 12), float3(-1, 1, -3)); }
    // A plain-coloured PNG texture of the given name, loaded.
    void ColourTexture(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255)
    {
        tarsel::tools::Image image{4, 4, {}};
        for (int i = 0; i < 16; ++i)
            image.rgba.insert(image.rgba.end(), {r, g, b, a});
        const std::string path = (Folder() / name).string();
        std::ofstream(path, std::ios::binary) << tarsel::tools::WritePng(image);
        ASSERT_TRUE(system->LoadTexture(path));
    }
    // An opaque red decal box, added to the scene and updated; the caller removes it.
    void AddRedDecal(ZOR::Decal& decal, const float3& position, const float3& scale)
    {
        ColourTexture("red.png", 255, 0, 0);
        decal.m_position = position;
        decal.m_scale = scale;
        decal.SetTexture("red.png");
        decal.SetAlpha(1.0f);
        system->AddRenderable(&decal);
        decal.Update(0.0f);
        system->ResolveOctree();
    }
    std::array<int, 4> At(const Image& image, const float3& p, unsigned screen = 0)
    {
        const auto xy = Project(p, screen);
        if (xy[0] < 0 || xy[1] < 0 || xy[0] >= static_cast<int>(kWidth) || xy[1] >= static_cast<int>(kHeight))
            ADD_FAILURE() << "(" << p.x << ", " << p.y << ", " << p.z << ") is off screen at " << xy[0] << ", "
                          << xy[1];
        return Pixel(image, static_cast<std::uint32_t>(xy[0]), static_cast<std::uint32_t>(xy[1]));
    }
    // Pixels of a and b differing by more than one step in some channel, in the rectangle.
    static int Changed(const Image& a, const Image& b, int x0, int y0, int x1, int y1)
    {
        int changed = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const auto p = Pixel(a, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
                const auto q = Pixel(b, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
                changed += Distance(p, q) > 3 ? 1 : 0;
            }
        return changed;
    }
    bool Same(const Image& a, const Image& b) { return a.bytes == b.bytes; }

    ZOR::DirectionalLight sun;
    ZOR::Renderable3D* ground = nullptr;
};

TEST_F(EffectsGLTest, EachPostEffectChangesTheImageWhereExpectedAndOffRestoresIt)
{
    ReferenceScene();
    const Image base = Frame();
    Screenshot(base, "effects_none");
    const int w = static_cast<int>(kWidth), h = static_cast<int>(kHeight);
    const float3 nearPoint(2, 1, 2);            // top of the near box
    const float3 farPoint(12, 4, -66);          // face of the far box
    const float3 besideSphere(0.5f, 1.75f, -2); // just above the sphere's silhouette
    const float3 corner(-3.7f, 0.1f, -3.7f);
    const float3 openFloor(1, 0, 4);

    const auto restores = [&](RenderSystem::Effect effect, const char* name) {
        system->DisableEffect(effect, -1);
        EXPECT_TRUE(Same(Frame(), base)) << name << " switched off restores the first image";
    };

    system->EnableEffect(RenderSystem::Bloom, -1);
    Image image = Frame();
    Screenshot(image, "effect_bloom");
    EXPECT_GT(Luma(At(image, besideSphere)), Luma(At(base, besideSphere)) + 8) << "bloom brightens around the sphere";
    EXPECT_GE(Luma(At(image, openFloor)) + 2, Luma(At(base, openFloor)));
    restores(RenderSystem::Bloom, "bloom");

    system->EnableEffect(RenderSystem::GlobalVolumetricFog, -1);
    image = Frame();
    Screenshot(image, "effect_fog");
    const std::array<int, 4> fog{128, 153, 255, 255};
    const int farGain = Distance(At(base, farPoint), fog) - Distance(At(image, farPoint), fog);
    const int nearGain = Distance(At(base, nearPoint), fog) - Distance(At(image, nearPoint), fog);
    EXPECT_GT(farGain, 30) << "far pixels move toward the fog colour";
    EXPECT_GT(farGain, nearGain + 20);
    restores(RenderSystem::GlobalVolumetricFog, "fog");

    system->EnableEffect(RenderSystem::DepthOfField, -1);
    image = Frame();
    Screenshot(image, "effect_dof");
    // Contrast across the far box's left edge and across the near box's top edge.
    const auto contrast = [&](const Image& im, const float3& inside, const float3& outside) {
        return Distance(At(im, inside), At(im, outside));
    };
    const float3 farIn(8.3f, 4, -66), farOut(7.4f, 4, -66);
    EXPECT_LT(contrast(image, farIn, farOut), contrast(base, farIn, farOut) - 20) << "far contrast drops";
    EXPECT_LE(Distance(At(image, nearPoint), At(base, nearPoint)), 6) << "near stays sharp";
    restores(RenderSystem::DepthOfField, "depth of field");

    system->EnableEffect(RenderSystem::SSAO, -1);
    image = Frame();
    Screenshot(image, "effect_ssao");
    EXPECT_LT(Luma(At(image, corner)), Luma(At(base, corner)) - 5) << "the corner darkens";
    EXPECT_GE(Luma(At(image, openFloor)), Luma(At(base, openFloor)) * 9 / 10) << "open floor stays";
    restores(RenderSystem::SSAO, "SSAO");

    system->EnableEffect(RenderSystem::RadialBlur, -1);
    image = Frame();
    Screenshot(image, "effect_radial_blur");
    EXPECT_LE(Distance(Pixel(image, kWidth / 2, kHeight / 2), Pixel(base, kWidth / 2, kHeight / 2)), 6)
        << "the centre stays";
    EXPECT_GT(Changed(image, base, 0, 0, w, h), w * h / 20) << "the outer parts are blurred";
    restores(RenderSystem::RadialBlur, "radial blur");

    system->EnableEffect(RenderSystem::EdgeDetection, -1);
    image = Frame();
    Screenshot(image, "effect_edges");
    // The near box's left silhouette against the ground: some pixel along it darkens.
    int darkened = 0;
    const auto edge = Project(float3(1.5f, 0.5f, 2.5f));
    for (int dx = -2; dx <= 2; ++dx)
        darkened = std::max(darkened, Luma(Pixel(base, edge[0] + dx, edge[1])) -
                                          Luma(Pixel(image, edge[0] + dx, edge[1])));
    EXPECT_GT(darkened, 40) << "the silhouette darkens";
    EXPECT_LE(Distance(At(image, openFloor), At(base, openFloor)), 12) << "flat floor keeps its colour";
    restores(RenderSystem::EdgeDetection, "edge detection");
}

TEST_F(EffectsGLTest, GodRaysBrightenTowardTheSunAndNothingWithTheSunBehind)
{
    ReferenceScene();
    const Image base = Frame();
    system->EnableEffect(RenderSystem::GodRays, -1);
    Image rays = Frame();
    Screenshot(rays, "effect_god_rays");
    const float3 sunPoint(-40, 8, -150);
    const auto sunPixel = Project(sunPoint);
    ASSERT_GT(sunPixel[0], 0);
    ASSERT_GT(sunPixel[1], 0);
    EXPECT_GT(Luma(Pixel(rays, sunPixel[0], sunPixel[1])), Luma(Pixel(base, sunPixel[0], sunPixel[1])) + 40);
    // Halfway from the screen centre toward the sun, the sky brightens less than at the sun.
    const int mx = (sunPixel[0] + static_cast<int>(kWidth) / 2) / 2, my = std::max(2, sunPixel[1] - 10);
    EXPECT_GE(Luma(Pixel(rays, mx, my)), Luma(Pixel(base, mx, my)));
    EXPECT_GT(Luma(Pixel(rays, sunPixel[0], sunPixel[1])) - Luma(Pixel(base, sunPixel[0], sunPixel[1])),
              Luma(Pixel(rays, 2, kHeight - 2)) - Luma(Pixel(base, 2, kHeight - 2)));

    // The sun behind the camera: no rays at all.
    SetCamera(0, float3(3, 2.5f, 7), float3(6, 2, 20));
    system->DisableEffect(RenderSystem::GodRays, -1);
    const Image away = Frame();
    system->EnableEffect(RenderSystem::GodRays, -1);
    const Image awayRays = Frame();
    Screenshot(awayRays, "effect_god_rays_sun_behind");
    EXPECT_EQ(Changed(away, awayRays, 0, 0, kWidth, kHeight), 0);
}

TEST_F(EffectsGLTest, WithLightingOffGodRaysAndGlowAreStillComposed)
{
    ReferenceScene();
    system->DisableEffect(RenderSystem::Lighting, -1);
    const Image plain = Frame();
    system->EnableEffect(RenderSystem::GodRays, -1);
    const Image rays = Frame();
    Screenshot(rays, "effect_god_rays_unlit");
    const auto sunPixel = Project(float3(-40, 8, -150));
    EXPECT_GT(Luma(Pixel(rays, sunPixel[0], sunPixel[1])), Luma(Pixel(plain, sunPixel[0], sunPixel[1])) + 40);
    system->DisableEffect(RenderSystem::GodRays, -1);
    EXPECT_TRUE(Same(Frame(), plain)) << "rays off: nothing of them left";

    // A fully glowing surface shows its glow whether lights are on or off.
    const float3 nearPoint(2, 1, 2);
    ZOR::Renderable3D& nearBox = *models[3];
    nearBox.SetGlowStrength(4.0f);
    const Image unlit = Frame();
    Screenshot(unlit, "effect_glow_unlit");
    EXPECT_GT(Luma(At(unlit, nearPoint)), Luma(At(plain, nearPoint)) + 40);
    system->EnableEffect(RenderSystem::Lighting, -1);
    EXPECT_LE(Distance(At(Frame(), nearPoint), At(unlit, nearPoint)), 6);
}

TEST_F(EffectsGLTest, EffectsOnScreenZeroLeaveScreenOneAndGodRaysNeedEveryScreen)
{
    ReferenceScene();
    system->AddScreen(true);
    View(1);
    const Image base = Frame();
    const auto& v1 = system->GetScreen(1).GetViewport();
    ASSERT_GT(v1.size.width, 0u);
    for (RenderSystem::Effect effect : {RenderSystem::Bloom, RenderSystem::DepthOfField, RenderSystem::SSAO,
                                        RenderSystem::GlobalVolumetricFog, RenderSystem::RadialBlur,
                                        RenderSystem::EdgeDetection})
        system->EnableEffect(effect, 0);
    const Image screen0 = Frame();
    Screenshot(screen0, "effects_screen0_only");
    const auto& v0 = system->GetScreen(0).GetViewport();
    EXPECT_GT(Changed(screen0, base, v0.x, v0.y, v0.x + static_cast<int>(v0.size.width),
                      v0.y + static_cast<int>(v0.size.height)),
              100);
    EXPECT_EQ(Changed(screen0, base, v1.x, v1.y, v1.x + static_cast<int>(v1.size.width),
                      v1.y + static_cast<int>(v1.size.height)),
              0);

    for (RenderSystem::Effect effect : {RenderSystem::Bloom, RenderSystem::DepthOfField, RenderSystem::SSAO,
                                        RenderSystem::GlobalVolumetricFog, RenderSystem::RadialBlur,
                                        RenderSystem::EdgeDetection})
        system->DisableEffect(effect, 0);
    system->EnableEffect(RenderSystem::GodRays, 0);
    EXPECT_TRUE(Same(Frame(), base)) << "god rays on one screen of two run nowhere";
}

// Forward passes ------------------------------------------------------------------------------

TEST_F(EffectsGLTest, ADecalColoursTheReceivingGroundInItsFootprintAndSparesACubeThatTakesNone)
{
    ReferenceScene();
    ground->SetAcceptsDecals(true);
    ZOR::Decal decal;
    AddRedDecal(decal, float3(1.5f, 0, 2.5f), float3(3, 2, 3));
    const Image image = Frame();
    Screenshot(image, "forward_decal");
    const auto inside = At(image, float3(0.5f, 0, 3.5f));
    EXPECT_GT(inside[0], inside[1] + 60) << "red inside the footprint";
    const auto outside = At(image, float3(-1.0f, 0, 3.5f));
    EXPECT_LT(std::abs(outside[0] - outside[1]), 20) << "untouched outside";
    const auto cubeTop = At(image, float3(2, 1, 2));
    const auto cubeSide = At(image, float3(2, 0.5f, 2.5f));
    EXPECT_LT(cubeTop[0], 255) << "lit, not the decal's flat red";
    EXPECT_GT(cubeTop[1], 40) << "the cube keeps its own colour on top";
    EXPECT_GT(cubeSide[1], 20);
    system->RemoveRenderable(&decal);
}

TEST_F(EffectsGLTest, ADecalOnABoxFaceReachesTheViewsBorderAndTheBoxsEdge)
{
    // A grey box fills the left half of the view up to its edge at x = 0; the right half is sky.
    // A thin decal box around the box's front face colours that face red.
    SetUpScene();
    ZOR::Renderable3D& box = AddModel("cube.model", TranslateScale(float3(-3, 1, 0), float3(6, 6, 4)),
                                      ColourMaterial("grey.mat", 0.5f, 0.5f, 0.5f));
    box.SetAcceptsDecals(true);
    SetCamera(0, float3(0, 1, 6), float3(0, 1, 0));
    ZOR::Decal decal;
    AddRedDecal(decal, float3(-3, 1, 2), float3(8, 8, 0.6f));
    const Image image = Frame();
    Screenshot(image, "forward_decal_box_edge");
    const int edge = Project(float3(0, 1, 2))[0];
    ASSERT_GT(edge, 100);
    int notRed = 0;
    for (std::uint32_t y = 2; y + 2 < kHeight; y += 4)
        for (int x = 0; x + 1 < edge; ++x) {
            const auto p = Pixel(image, static_cast<std::uint32_t>(x), y);
            notRed += p[0] > 200 && p[1] < 40 ? 0 : 1;
        }
    EXPECT_EQ(notRed, 0) << "the face is red from the view's border to the box's edge";
    system->RemoveRenderable(&decal);
}

TEST_F(EffectsGLTest, ABillboardStaysSquareAsTheCameraTurnsAndHidesBehindAWall)
{
    ReferenceScene();
    ZOR::BillboardedQuad quad;
    system->AddRenderable(&quad);
    ZOR::Material* red = ColourMaterial("red.mat", 1, 0, 0);
    ASSERT_NE(red, nullptr);
    quad.SetMaterial("red.mat");
    quad.SetPosition(1.5f, 1.5f, 0.5f);
    quad.SetScale(1, 1);
    quad.Update(0.0f);
    system->ResolveOctree();
    // Width and height of the red run through the quad's centre pixel.
    const auto extent = [&](const Image& image) {
        const auto c = Project(float3(1.5f, 1.5f, 0.5f));
        const auto red = [&](int x, int y) {
            const auto p = Pixel(image, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
            return p[0] > 150 && p[1] < 60 && p[2] < 60;
        };
        int l = c[0], r = c[0], t = c[1], b = c[1];
        while (l > 0 && red(l - 1, c[1]))
            --l;
        while (r + 1 < static_cast<int>(kWidth) && red(r + 1, c[1]))
            ++r;
        while (t > 0 && red(c[0], t - 1))
            --t;
        while (b + 1 < static_cast<int>(kHeight) && red(c[0], b + 1))
            ++b;
        return std::array<int, 3>{r - l + 1, b - t + 1, red(c[0], c[1]) ? 1 : 0};
    };
    const Image front = Frame();
    Screenshot(front, "forward_billboard");
    const auto a = extent(front);
    ASSERT_EQ(a[2], 1) << "the quad is drawn";
    EXPECT_GT(a[0], 8);
    EXPECT_NEAR(a[0], a[1], 2);

    SetCamera(0, float3(-1.5f, 2, 5), float3(1.5f, 1.5f, 0.5f));
    const Image turned = Frame();
    Screenshot(turned, "forward_billboard_turned");
    const auto b = extent(turned);
    ASSERT_EQ(b[2], 1);
    EXPECT_NEAR(b[0], b[1], 2) << "still square";

    quad.SetPosition(1.5f, 1.5f, -6.0f); // behind the wall at z = -4
    quad.Update(0.0f);
    system->ResolveOctree();
    View(0);
    const Image hidden = Frame();
    Screenshot(hidden, "forward_billboard_hidden");
    EXPECT_EQ(extent(hidden)[2], 0);
    system->RemoveRenderable(&quad);
}

TEST_F(EffectsGLTest, DynamicMeshesBlendHalfReplaceWithoutBlendingAndACullFrontMeshKeepsTheScreen)
{
    ReferenceScene();
    const Image base = Frame();
    ZOR::DynamicMesh mesh(6);
    // A quad standing at z = 3 facing the camera, counter-clockwise seen from it.
    const auto quad = [&](float alpha) {
        mesh.Clear();
        mesh.Push(float3(0, 0.5f, 3), ZOR::float2(0, 1), alpha).Push(float3(1.5f, 0.5f, 3), ZOR::float2(1, 1), alpha);
        mesh.Push(float3(1.5f, 2, 3), ZOR::float2(1, 0), alpha).Push(float3(0, 0.5f, 3), ZOR::float2(0, 1), alpha);
        mesh.Push(float3(1.5f, 2, 3), ZOR::float2(1, 0), alpha).Push(float3(0, 2, 3), ZOR::float2(0, 0), alpha);
    };
    mesh.SetTexture("white.png");
    mesh.SetBlendMode(ZOR::BlendMode::Alpha);
    quad(0.5f);
    system->AddRenderable(&mesh);
    const float3 centre(0.75f, 1.25f, 3);
    Image image = Frame();
    Screenshot(image, "forward_mesh_half");
    const auto behind = At(base, centre);
    const auto half = At(image, centre);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(half[c], (behind[c] + 255) / 2, 6) << "channel " << c;

    mesh.SetBlendMode(ZOR::BlendMode::None);
    image = Frame();
    Screenshot(image, "forward_mesh_replace");
    EXPECT_GE(Luma(At(image, centre)), 250) << "blend none writes the texture as it is";

    mesh.SetCullMode(ZOR::CullMode::Front);
    system->EnableEffect(RenderSystem::RadialBlur, -1);
    image = Frame();
    Screenshot(image, "forward_mesh_cull_front");
    system->DisableEffect(RenderSystem::RadialBlur, -1);
    EXPECT_GT(Luma(At(image, float3(-1, 0, 4))), 60) << "the screen is still drawn";
    EXPECT_LE(Distance(At(image, centre), At(base, centre)), 30) << "the quad faces away and is culled";
    system->RemoveRenderable(&mesh);
}

class ParticleGLTest : public EffectsGLTest {
protected:
    // An additive emitter of n particles at rest at the point, 0.3 units large.
    void Emitter(ZOR::ParticleEmitter& emitter, const float3& at, unsigned n, ZOR::BlendMode mode,
                 const std::string& texture, const ZOR::Color& colour)
    {
        system->AddRenderable(&emitter);
        emitter.SetParticleTypeCount(1);
        emitter.SetParticleType(0, texture, mode, colour, colour);
        emitter.SetEmitterType(ZOR::ParticleEmitter::BOX);
        emitter.SetBox(ZOR::AABB(float3(-0.3f, -0.3f, -0.3f), float3(0.3f, 0.3f, 0.3f)));
        emitter.SetPosition(at);
        emitter.SetMaxParticles(n);
        emitter.SetLifespan(100.0f, 100.0f);
        emitter.SetSpawnInterval(0.0f, 0.0f);
        emitter.SetScale(0.3f, 0.3f);
        emitter.Emit(true);
        emitter.Update(1e-4f);
        emitter.Update(1e-4f);
        system->ResolveOctree();
    }
};

TEST_F(ParticleGLTest, AdditiveParticlesBrightenTheirAreaInFrontOfAWallNotBehindIt)
{
    ReferenceScene();
    ColourTexture("dim.png", 255, 255, 255);
    const Image base = Frame();
    ZOR::ParticleEmitter front, back;
    Emitter(front, float3(-1, 1.2f, -3), 500, ZOR::BlendMode::Additive, "dim.png", ZOR::Color(0.1f, 0.1f, 0.1f, 1));
    Emitter(back, float3(1.5f, 1.2f, -6), 500, ZOR::BlendMode::Additive, "dim.png", ZOR::Color(0.1f, 0.1f, 0.1f, 1));
    const Image image = Frame();
    Screenshot(image, "forward_particles");
    EXPECT_GT(Luma(At(image, float3(-1, 1.2f, -3))), Luma(At(base, float3(-1, 1.2f, -3))) + 30);
    EXPECT_LE(Distance(At(image, float3(1.5f, 1.2f, -6)), At(base, float3(1.5f, 1.2f, -6))), 6)
        << "hidden by the wall";

    system->SetParticleQuality(RenderSystem::Low);
    const Image low = Frame();
    Screenshot(low, "forward_particles_low_quality");
    EXPECT_GT(Luma(At(low, float3(-1, 1.2f, -3))), Luma(At(base, float3(-1, 1.2f, -3))) + 30);
    system->RemoveRenderable(&front);
    system->RemoveRenderable(&back);
}

TEST_F(ParticleGLTest, BothPoolsOfOneTextureDrawTextured)
{
    ReferenceScene();
    ColourTexture("green.png", 0, 255, 0);
    const Image base = Frame();
    ZOR::ParticleEmitter emitter;
    system->AddRenderable(&emitter);
    emitter.SetParticleTypeCount(2);
    const ZOR::Color white(1, 1, 1, 1);
    emitter.SetParticleType(0, "green.png", ZOR::BlendMode::Alpha, white, white);
    emitter.SetParticleType(1, "green.png", ZOR::BlendMode::Additive, white, white);
    emitter.SetEmitterType(ZOR::ParticleEmitter::BOX);
    emitter.SetBox(ZOR::AABB(float3(-0.2f, -0.2f, -0.2f), float3(0.2f, 0.2f, 0.2f)));
    emitter.SetPosition(-1, 1.2f, 0);
    emitter.SetMaxParticles(200);
    emitter.SetLifespan(100.0f, 100.0f);
    emitter.SetSpawnInterval(0.0f, 0.0f);
    emitter.SetScale(0.4f, 0.4f);
    emitter.Emit(true);
    emitter.Update(1e-4f);
    emitter.Update(1e-4f);
    system->ResolveOctree();
    unsigned live[2] = {0, 0};
    for (unsigned pool = 0; pool < 2; ++pool)
        for (const auto& p : emitter.GetPool(pool))
            live[pool] += p.alive ? 1 : 0;
    ASSERT_GT(live[0], 0u);
    ASSERT_GT(live[1], 0u);
    const Image image = Frame();
    Screenshot(image, "forward_particles_two_pools");
    const auto p = At(image, float3(-1, 1.2f, 0));
    const auto q = At(base, float3(-1, 1.2f, 0));
    EXPECT_LT(std::abs(q[1] - q[0]), 20) << "grey without particles";
    EXPECT_GT(p[1] - p[0], 80) << "green from the texture in both pools";
    system->RemoveRenderable(&emitter);
}

TEST_F(EffectsGLTest, TheFirstDrawerDrawsOverWallsTheSecondHidesBehindThemAlsoOnAnEmptyScreen)
{
    ReferenceScene();
    system->EnableEffect(RenderSystem::DebugDraw, -1);
    // Both lines cross behind the wall at z = -4, from x = -2 to 2 at height 1.5.
    const auto lines = [&]() {
        ZOR::DebugDrawer& over = system->GetDebugDrawer(false);
        over.SetPenColor(1, 0, 0);
        over.SetPenPosition(-3, 1.0f, -6);
        over.Line(float3(3, 1.0f, -6));
        ZOR::DebugDrawer& tested = system->GetDebugDrawer(true);
        tested.SetPenColor(0, 0, 1);
        tested.SetPenPosition(-3, 2.0f, -6);
        tested.Line(float3(3, 2.0f, -6));
        // In front of the wall, seen by both.
        tested.SetPenPosition(-1, 2.0f, 1);
        tested.Line(float3(2, 2.0f, 1));
    };
    lines();
    const Image image = Frame();
    Screenshot(image, "debug_lines");
    const auto redAt = At(image, float3(0, 1.0f, -6));
    EXPECT_GT(redAt[0], 200) << "the first drawer draws over the wall";
    EXPECT_LT(redAt[1], 60);
    const auto blueBehind = At(image, float3(0, 2.0f, -6));
    EXPECT_LT(blueBehind[2] - blueBehind[0], 40) << "the second drawer hides behind the wall";
    const auto blueFront = At(image, float3(0.5f, 2.0f, 1));
    EXPECT_GT(blueFront[2], 200) << "and draws in front of it";

    // Screen 1 looks at the empty sky; the second drawer's line in front of it must show.
    system->AddScreen(true);
    View(0);
    SetCamera(1, float3(0, 50, 0), float3(0, 100, -1));
    system->GetDebugDrawer(true).SetPenColor(0, 0, 1);
    system->GetDebugDrawer(true).SetPenPosition(-2, 55, -0.1f);
    system->GetDebugDrawer(true).Line(float3(2, 55, -0.1f));
    const Image two = Frame();
    Screenshot(two, "debug_lines_empty_screen");
    // The line is one pixel thick: look a few rows around where it projects.
    const auto xy = Project(float3(0, 55, -0.1f), 1);
    int blue = 0;
    for (int dy = -3; dy <= 3; ++dy)
        blue = std::max(blue, Pixel(two, static_cast<std::uint32_t>(xy[0]), static_cast<std::uint32_t>(xy[1] + dy))[2]);
    EXPECT_GT(blue, 200) << "drawn on the screen with nothing visible";
}

} // namespace
