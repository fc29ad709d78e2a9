// Post-effect pixel shaders run as full-screen passes on headless OpenGL, read back with
// tolerances: bloom's threshold and composition, the Gaussian blur and the radial blur.
#include "renderer/RenderSystem.h"
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

using tarsel::test::GpuTest;
using ZOR::Handle;
using ZOR::RenderSystem;

std::string ShaderDir()
{
    return (tarsel::test::ContentDir() / "shaders").string() + "/";
}

class ScreenEffectShaderGLTest : public GpuTest {
protected:
    void SetUp() override
    {
        std::shared_ptr<ZOR::RenderContext> context(&UninitializedContext(), [](ZOR::RenderContext*) {});
        system = std::make_unique<RenderSystem>(context, Window().GetHWND());
        system->SetShaderPath(ShaderDir());
        ASSERT_TRUE(system->Initialize());
        system->CreateScreenTargets();
        target = system->GetScreen(0).GetRenderTarget(0);
        size = Context().GetTextureSize(target);
        settings = system->GetSettings();
    }

    // A texture of the target's size whose grey level at (x, y) the function gives.
    Handle Image(const std::function<std::uint8_t(std::uint32_t, std::uint32_t)>& grey)
    {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size.width) * size.height * 4);
        for (std::uint32_t y = 0; y < size.height; ++y)
            for (std::uint32_t x = 0; x < size.width; ++x) {
                std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * size.width + x) * 4];
                p[0] = p[1] = p[2] = grey(x, y);
                p[3] = 255;
            }
        Handle texture;
        EXPECT_TRUE(Context().CreateTexture(texture, pixels.data(), size, ZOR::Format::R8G8B8A8_UNORM));
        return texture;
    }

    void UploadSettings() { Context().CopyData(system->GetConstantBuffer(9), &settings, sizeof(settings)); }

    int Red(std::uint32_t x, std::uint32_t y) { return Pixel(Read(target), x, y)[0]; }

    std::unique_ptr<RenderSystem> system;
    Handle target;
    ZOR::Dimension size;
    RenderSystem::Settings settings{};
};

} // namespace

TEST_F(ScreenEffectShaderGLTest, ThresholdKeepsWhatLiesAboveAndBloomAddsTheGlowBack)
{
    const std::uint32_t half = size.width / 2;
    const Handle source = Image([&](std::uint32_t x, std::uint32_t) { return x < half ? 51 : 242; });
    settings.bloom1 = 0.9f;
    UploadSettings();
    system->FullscreenPass(target, source, "ZOR_Threshold.ps", true);
    EXPECT_NEAR(Red(10, 10), 0, 1);
    // (0.949 - 0.9) / 0.1 of full scale.
    EXPECT_NEAR(Red(half + 10, 10), 125, 4);

    // A threshold of 1 or more cannot divide by zero: nothing passes.
    settings.bloom1 = 1.0f;
    UploadSettings();
    system->FullscreenPass(target, source, "ZOR_Threshold.ps", true);
    EXPECT_NEAR(Red(half + 10, 10), 0, 1);

    const Handle scene = Image([](std::uint32_t, std::uint32_t) { return 102; });
    const Handle glow = Image([&](std::uint32_t x, std::uint32_t) { return x < half ? 0 : 51; });
    settings.bloom2 = 1.5f;
    settings.bloom3 = 1.0f;
    UploadSettings();
    Context().BindTexture(1, glow);
    system->FullscreenPass(target, scene, "ZOR_Bloom.ps", true);
    EXPECT_NEAR(Red(10, 10), 102, 2);
    EXPECT_NEAR(Red(half + 10, 10), 178, 3);
}

TEST_F(ScreenEffectShaderGLTest, GaussianBlurSpreadsALineAcrossItsTapsAndKeepsAFlatImage)
{
    const std::uint32_t line = size.width / 2;
    const Handle source = Image([&](std::uint32_t x, std::uint32_t) { return x == line ? 255 : 0; });
    settings.blurFactor = 2.0f;
    UploadSettings();
    system->FullscreenPass(target, source, "ZOR_HorizontalBlur.ps", true);
    EXPECT_NEAR(Red(line, 20), 58, 4);
    EXPECT_NEAR(Red(line + 2, 20), 50, 4);
    EXPECT_NEAR(Red(line - 4, 20), 31, 4);
    EXPECT_NEAR(Red(line + 8, 20), 4, 3);
    EXPECT_EQ(Red(line + 12, 20), 0);

    // The vertical pass leaves a vertical line alone.
    system->FullscreenPass(target, source, "ZOR_VerticalBlur.ps", true);
    EXPECT_NEAR(Red(line, 20), 255, 2);
    EXPECT_NEAR(Red(line + 2, 20), 0, 1);

    const Handle flat = Image([](std::uint32_t, std::uint32_t) { return 128; });
    system->FullscreenPass(target, flat, "ZOR_VerticalBlur.ps", true);
    EXPECT_NEAR(Red(5, size.height / 2), 128, 2);
}

TEST_F(ScreenEffectShaderGLTest, RadialBlurKeepsTheCentreAndSmearsTheCorners)
{
    const Handle stripes = Image([](std::uint32_t x, std::uint32_t) { return (x / 8) % 2 ? 255 : 0; });
    const float values[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    Context().CopyData(system->GetConstantBuffer(12), values, sizeof(values));
    system->FullscreenPass(target, stripes, "ZOR_RadialBlur.ps", true);
    const std::uint32_t cx = size.width / 2, cy = size.height / 2;
    const int centreExpected = (cx / 8) % 2 ? 255 : 0;
    EXPECT_NEAR(Red(cx, cy), centreExpected, 3);
    // Near a corner the ten samples cross several stripes: a grey between the two.
    const int corner = Red(12, 12);
    EXPECT_GT(corner, 40);
    EXPECT_LT(corner, 215);

    // Strength 0 leaves every pixel as it was.
    const float off[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    Context().CopyData(system->GetConstantBuffer(12), off, sizeof(off));
    system->FullscreenPass(target, stripes, "ZOR_RadialBlur.ps", true);
    EXPECT_EQ(Red(12, 12), 255 * static_cast<int>((12 / 8) % 2));
}
