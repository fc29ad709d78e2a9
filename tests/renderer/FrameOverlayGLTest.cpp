// Sprites, texts and screen layouts on the OpenGL back end, read back from the back buffer.
#include "renderer/DirectionalLight.h"
#include "renderer/Renderable2D.h"
#include "renderer/Text.h"
#include "tests/renderer/FrameTestKit.h"
#include "tools/writers/FontWriter.h"
#include "tools/writers/FontBuilder.h"
#include "tools/writers/ImageWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <vector>

namespace {

using tarsel::test::FrameTest;
using ZOR::float3;
using ZOR::RenderSystem;

class FrameOverlayGLTest : public FrameTest {
protected:
    // One scene unit a pixel for sprites and texts on a single 320x180 screen.
    void SetUpPixels()
    {
        SetUpScene();
        system->SetOrthographicProjectionSize(ZOR::float2(static_cast<float>(kWidth), static_cast<float>(kHeight)));
        system->UpdateScreenLayout(true);
    }
    ZOR::Renderable2D& Sprite(ZOR::Material* material, unsigned layer, float x, float y, float size)
    {
        sprites.push_back(std::make_unique<ZOR::Renderable2D>());
        ZOR::Renderable2D& sprite = *sprites.back();
        system->AddRenderable(&sprite);
        sprite.SetMaterial(material);
        sprite.SetZLayer(layer);
        sprite.SetPosition(x, y);
        sprite.SetSize(size, size);
        return sprite;
    }
    // A test font of 16x16 cells, 16 to a row, first code 32: "A" is a solid block over cell
    // columns 2-7 and rows 3-12 and advances 10 pixels; "B" fills columns 0-3 of its cell.
    void WriteTestFont()
    {
        tarsel::tools::BitmapFont font;
        font.imageWidth = 256;
        font.imageHeight = 256;
        font.cellWidth = 16;
        font.cellHeight = 16;
        font.firstCharacter = 32;
        font.widths['A'] = 10;
        font.widths['B'] = 12;
        font.pixels.assign(256 * 256 * 4, 0);
        const auto fill = [&](char code, int x0, int x1, int y0, int y1) {
            const int k = code - 32;
            const int cx = (k % 16) * 16, cy = (k / 16) * 16;
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    for (int c = 0; c < 4; ++c)
                        font.pixels[((cy + y) * 256 + cx + x) * 4 + c] = 255;
        };
        fill('A', 2, 7, 3, 12);
        fill('B', 0, 3, 0, 15);
        const std::string bff = (Folder() / "test.bff").string();
        std::ofstream(bff, std::ios::binary) << tarsel::tools::WriteBff(font);
        const std::string png = (Folder() / "test_font.png").string();
        std::ofstream(png, std::ios::binary) << tarsel::tools::WritePng(tarsel::tools::FontImage(font));
        ASSERT_TRUE(system->LoadFont(bff));
        ASSERT_TRUE(system->LoadTexture(png));
    }
    void TearDown() override
    {
        if (system)
            for (auto& sprite : sprites)
                system->RemoveRenderable(sprite.get());
        FrameTest::TearDown();
    }
    std::vector<std::unique_ptr<ZOR::Renderable2D>> sprites;
};

TEST_F(FrameOverlayGLTest, SpritesOfAHigherZLayerCoverLowerOnesWhateverTheirMaterial)
{
    SetUpPixels();
    ZOR::Material* red = ColourMaterial("red.mat", 1, 0, 0);
    ZOR::Material* green = ColourMaterial("green.mat", 0, 1, 0);
    ZOR::Material* blue = ColourMaterial("blue.mat", 0, 0, 1);
    // Added top first: the order on screen must come from the layers.
    ZOR::Renderable2D& top = Sprite(red, 3, 100, 50, 60);
    ZOR::Renderable2D& middle = Sprite(green, 2, 130, 70, 60);
    Sprite(blue, 1, 115, 60, 90);
    Sprite(red, 0, 10, 10, 20);

    auto image = Frame();
    Screenshot(image, "sprite_layers");
    const auto expect = [&](int x, int y, int r, int g, int b) {
        const auto c = Pixel(image, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
        EXPECT_NEAR(c[0], r, 3) << x << "," << y;
        EXPECT_NEAR(c[1], g, 3) << x << "," << y;
        EXPECT_NEAR(c[2], b, 3) << x << "," << y;
    };
    expect(145, 100, 255, 0, 0);   // all three overlap: red on top
    expect(175, 120, 0, 255, 0);   // green over blue
    expect(120, 140, 0, 0, 255);   // blue alone
    expect(20, 20, 255, 0, 0);     // layer 0 alone
    expect(300, 170, 0, 0, 0);     // nothing

    // Moving a sprite to another layer re-orders the list.
    top.SetZLayer(0);
    middle.SetZLayer(5);
    image = Frame();
    expect(145, 100, 0, 255, 0);
    expect(105, 55, 255, 0, 0);
    expect(120, 140, 0, 0, 255);
}

TEST_F(FrameOverlayGLTest, ATestFontsGlyphsLandAtTheirPixelsAndTheSecondAtTheAdvanceOverSprites)
{
    SetUpPixels();
    WriteTestFont();
    // A blue sprite on the highest layer under the text: texts are drawn after every sprite.
    Sprite(ColourMaterial("blue.mat", 0, 0, 1), 9, 30, 50, 60);
    ZOR::Text text;
    system->AddRenderable(&text);
    text.SetFont("test.bff");
    text.SetFontTexture("test_font.png");
    text.SetValue("AB");
    text.SetColor(1, 0.5f, 0, 1);
    text.SetPosition(40, 60);

    auto image = Frame();
    Screenshot(image, "text_glyphs");
    const auto colour = [&](int x, int y) {
        return Pixel(image, static_cast<std::uint32_t>(40 + x), static_cast<std::uint32_t>(60 + y));
    };
    const auto expectGlyph = [&](int x, int y) {
        const auto c = colour(x, y);
        EXPECT_NEAR(c[0], 255, 3) << "glyph pixel " << x << "," << y;
        EXPECT_NEAR(c[1], 128, 4) << "glyph pixel " << x << "," << y;
        EXPECT_NEAR(c[2], 0, 3) << "glyph pixel " << x << "," << y;
    };
    const auto expectSprite = [&](int x, int y) {
        const auto c = colour(x, y);
        EXPECT_NEAR(c[0], 0, 3) << "between glyphs " << x << "," << y;
        EXPECT_NEAR(c[2], 255, 3) << "between glyphs " << x << "," << y;
    };
    // "A": the block's corners and centre; around it the sprite shows through.
    for (const auto& [x, y] : {std::pair{2, 3}, {7, 3}, {2, 12}, {7, 12}, {5, 8}})
        expectGlyph(x, y);
    for (const auto& [x, y] : {std::pair{1, 8}, {8, 8}, {5, 2}, {5, 13}})
        expectSprite(x, y);
    // "B" starts at A's advance (10), not at the cell width (16).
    for (const auto& [x, y] : {std::pair{10, 0}, {13, 0}, {10, 15}, {13, 15}, {11, 7}})
        expectGlyph(x, y);
    for (const auto& [x, y] : {std::pair{9, 1}, {14, 7}})
        expectSprite(x, y);
    system->RemoveRenderable(&text);
}

class ScreenLayoutGLTest : public FrameTest {
protected:
    // Screen s's camera looks at a slab of its own colour, far from every other screen's.
    void ColouredScreens(unsigned count)
    {
        for (unsigned s = 1; s < count; ++s)
            system->AddScreen(true);
        for (unsigned s = 0; s < count; ++s) {
            const float x = static_cast<float>(s) * 50.0f;
            ZOR::Material* m = ColourMaterial("screen" + std::to_string(s) + ".mat", kColours[s][0], kColours[s][1],
                                              kColours[s][2]);
            AddModel("cube.model", TranslateScale(float3(x, 0, 0), float3(30, 30, 1)), m);
            SetCamera(s, float3(x, 0, 10), float3(x, 0, 0));
        }
    }
    void ExpectColour(const ZOR::DXRenderContext::ReadBackData& image, int x, int y, unsigned screen)
    {
        const auto c = Pixel(image, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(c[k], kColours[screen][k] * 255.0f, 3) << x << "," << y << " screen " << screen;
    }
    static constexpr float kColours[2][3] = {{1, 0, 0}, {0, 1, 0}};
};

TEST_F(ScreenLayoutGLTest, OneScreenFillsTheWindow)
{
    SetUpScene();
    ColouredScreens(1);
    auto image = Frame();
    Screenshot(image, "layout_one_screen");
    for (const auto& [x, y] : {std::pair{1, 1}, {318, 1}, {160, 90}, {1, 178}, {318, 178}})
        ExpectColour(image, x, y, 0);
}

TEST_F(ScreenLayoutGLTest, TwoScreensSplitTheWindowIntoTopAndBottomHalves)
{
    SetUpScene();
    ColouredScreens(2);
    auto image = Frame();
    Screenshot(image, "layout_two_screens");
    for (const auto& [x, y] : {std::pair{1, 1}, {318, 1}, {160, 45}, {1, 88}, {318, 88}})
        ExpectColour(image, x, y, 0);
    for (const auto& [x, y] : {std::pair{1, 91}, {318, 91}, {160, 135}, {1, 178}, {318, 178}})
        ExpectColour(image, x, y, 1);
}

TEST_F(ScreenLayoutGLTest, ALitShadowedSceneOnTwoScreensWithSpritesAndText)
{
    SetUpScene();
    system->AddScreen(true);
    AddModel("cube.model", TranslateScale(float3(0, -0.5f, 0), float3(20, 1, 20)), ColourMaterial("ground.mat", 0.7f, 0.7f, 0.7f));
    AddModel("cube.model", TranslateScale(float3(0, 0.5f, 0), float3(1, 1, 1)), ColourMaterial("box.mat", 0.9f, 0.5f, 0.2f));
    AddModel("cube.model", TranslateScale(float3(-2.5f, 0.75f, -1), float3(1.5f, 1.5f, 1.5f)),
             ColourMaterial("box2.mat", 0.3f, 0.6f, 0.9f));
    SetCamera(0, float3(3, 4, 6), float3(0, 0.5f, 0));
    SetCamera(1, float3(5, 2.5f, 4), float3(0, 1.2f, 0));
    system->GetSkySphere().SetMaterial(ColourMaterial("sky.mat", 0.35f, 0.55f, 0.9f));
    system->GetSkySphere().SetWorldMatrix(TranslateScale(float3(0, 0, 0), float3(100, 100, 100)));
    system->DrawSkySphere(true);
    system->SetGlobalAmbient(0.25f, 0.25f, 0.25f);
    ZOR::DirectionalLight sun;
    const float3 direction = float3(1, -1.5f, 0.5f) * (1.0f / std::sqrt(3.5f));
    sun.SetDirection(direction);
    sun.SetColor(1, 1, 1);
    system->AddRenderable(&sun);
    SetSun(direction);
    system->EnableEffect(RenderSystem::Lighting, -1);
    system->EnableEffect(RenderSystem::Shadows, -1);

    // A sprite and a text on both screens (ids 5), in their corners.
    system->SetOrthographicProjectionSize(ZOR::float2(90.0f, 90.0f));
    system->UpdateScreenLayout(true);
    ZOR::Renderable2D badge;
    system->AddRenderable(&badge);
    badge.SetMaterial(ColourMaterial("badge.mat", 1, 0.9f, 0.1f));
    badge.SetScreenID(5);
    badge.SetPosition(4, 4);
    badge.SetSize(12, 12);
    system->LoadFont((tarsel::test::ContentDir() / "fonts/font_32.bff").string());
    system->LoadTexture((tarsel::test::ContentDir() / "textures/fonts/font_32.dds").string());
    ZOR::Text label;
    system->AddRenderable(&label);
    label.SetFont("font_32.bff");
    label.SetFontTexture("font_32.dds");
    label.SetValue("P1");
    label.SetScreenID(5);
    label.SetPosition(20, 0);
    label.SetColor(0.8f, 0.1f, 0.1f, 1);

    auto image = Frame();
    Screenshot(image, "scene_two_screens");
    // The top half shows the small cube's shadow where the sun throws it, beside open ground.
    const auto shade = Project(float3(0.9f, 0, 0.4f), 0);
    const auto open = Project(float3(-0.9f, 0, 1.5f), 0);
    EXPECT_GT(Luma(Pixel(image, open[0], open[1])), Luma(Pixel(image, shade[0], shade[1])) + 60);
    for (unsigned s = 0; s < 2; ++s) {
        // Both halves show the sunlit top of the cube.
        const auto top = Project(float3(0, 1, 0), s);
        EXPECT_GT(Pixel(image, top[0], top[1])[0], 180) << "screen " << s;
        // The badge at 8 units of 90 over 90 pixels: pixel (8, 8) of the half.
        const auto badgePixel = Pixel(image, 8, 8 + 90 * s);
        EXPECT_GT(badgePixel[0], 240) << "screen " << s;
        EXPECT_LT(badgePixel[2], 40) << "screen " << s;
    }
    system->RemoveRenderable(&label);
    system->RemoveRenderable(&badge);
    system->RemoveRenderable(&sun);
}

} // namespace
