// The render system on the OpenGL back end (headless llvmpipe): initialisation, the default
// resources, missing shader files and the full-screen passes, read back from the GPU.
#include "renderer/Material.h"
#include "renderer/RenderSystem.h"
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/ContentDir.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using tarsel::test::GpuTest;
using ZOR::RenderSystem;

std::string ShaderDir()
{
    return (tarsel::test::ContentDir() / "shaders").string() + "/";
}

class RenderSystemGLTest : public GpuTest {
protected:
    // A render system on the fixture's context (which the fixture keeps owning).
    std::unique_ptr<RenderSystem> MakeSystem(const std::string& shaderPath)
    {
        std::shared_ptr<ZOR::RenderContext> context(&UninitializedContext(), [](ZOR::RenderContext*) {});
        auto system = std::make_unique<RenderSystem>(context, Window().GetHWND());
        system->SetShaderPath(shaderPath);
        return system;
    }

    // An 8-bit RGBA pattern of the given size, as a texture.
    Handle Pattern(std::uint32_t w, std::uint32_t h, std::vector<std::uint8_t>& pixels)
    {
        pixels.resize(static_cast<std::size_t>(w) * h * 4);
        for (std::uint32_t y = 0; y < h; ++y)
            for (std::uint32_t x = 0; x < w; ++x) {
                std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * w + x) * 4];
                p[0] = static_cast<std::uint8_t>(x * 7 + y);
                p[1] = static_cast<std::uint8_t>((x ^ y) * 3);
                p[2] = static_cast<std::uint8_t>(y * 5);
                p[3] = 255;
            }
        Handle texture;
        EXPECT_TRUE(Context().CreateTexture(texture, pixels.data(), ZOR::Dimension(w, h), ZOR::Format::R8G8B8A8_UNORM));
        return texture;
    }

    // Every texel of the read-back within one step of the pattern, scaled.
    static void ExpectPattern(const ZOR::DXRenderContext::ReadBackData& data, const std::vector<std::uint8_t>& pixels,
                              float scale)
    {
        ASSERT_EQ(data.bytes.size(), pixels.size());
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const float expected = (i % 4 == 3) ? 255.0f * scale : static_cast<float>(pixels[i]) * scale;
            if (std::abs(static_cast<float>(data.bytes[i]) - expected) > 1.01f)
                ++wrong;
        }
        EXPECT_EQ(wrong, 0u) << "texel (0, 0) is " << int(data.bytes[0]) << ", " << int(data.bytes[1]) << ", "
                             << int(data.bytes[2]) << ", " << int(data.bytes[3]);
    }
};

TEST_F(RenderSystemGLTest, InitializeMakesTheDefaultsAndLoadsEveryShader)
{
    auto system = MakeSystem(ShaderDir());
    ASSERT_TRUE(system->Initialize());
    EXPECT_TRUE(system->GetMissingShaders().empty());

    const ZOR::Handle& texture = system->GetTexture("");
    ASSERT_TRUE(texture);
    const auto data = Read(texture);
    ASSERT_EQ(data.size.width, 512u);
    EXPECT_EQ(Pixel(data, 3, 5), (std::array<int, 4>{6, 6, 6, 255}));
    EXPECT_EQ(Pixel(data, 511, 0), (std::array<int, 4>{255, 255, 255, 255}));

    ZOR::Material* material = system->GetMaterial("no-such.mat");
    EXPECT_FLOAT_EQ(material->GetSpecularShininess(), 50.0f);
    EXPECT_TRUE(material->GetFlag(2));
    EXPECT_TRUE(material->GetFlag(16));
    EXPECT_TRUE(system->GetShadowMap());
    EXPECT_EQ(Context().GetTextureSize(system->GetShadowMap()).width, 4096u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderSystemGLTest, ScreenEffectWithTheCopyShaderLeavesATargetUnchangedAndFadeHalvesIt)
{
    auto system = MakeSystem(ShaderDir());
    ASSERT_TRUE(system->Initialize());
    system->CreateScreenTargets();
    const ZOR::Handle target = system->GetScreen(0).GetRenderTarget(0);
    const ZOR::Dimension size = Context().GetTextureSize(target);
    ASSERT_NE(size.width, size.height);

    std::vector<std::uint8_t> pixels;
    const Handle pattern = Pattern(size.width, size.height, pixels);
    system->FullscreenPass(target, pattern, "ZOR_FullscreenQuad.ps", true);
    ExpectPattern(Read(target), pixels, 1.0f);

    system->ApplyScreenEffect(target, "ZOR_FullscreenQuad.ps");
    ExpectPattern(Read(target), pixels, 1.0f);

    RenderSystem::Settings settings = system->GetSettings();
    settings.fade = 0.5f;
    Context().CopyData(system->GetConstantBuffer(9), &settings, sizeof(settings));
    system->FullscreenPass(target, pattern, "ZOR_Fade.ps", true);
    ExpectPattern(Read(target), pixels, 0.5f);
    EXPECT_THROW(system->ApplyScreenEffect(target, "ZOR_Nothing.ps"), std::out_of_range);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderSystemGLTest, AMissingShaderIsLoggedListedAndItsPassSkipped)
{
    const std::filesystem::path folder = Folder() / "shaders";
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(ShaderDir()))
        if (entry.path().filename() != "ZOR_Fade.ps")
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
    auto system = MakeSystem(folder.string() + "/");
    tarsel::test::StdoutCapture capture;
    ASSERT_TRUE(system->Initialize());
    EXPECT_NE(capture.Text().find("ZOR_Fade.ps"), std::string::npos);
    EXPECT_EQ(system->GetMissingShaders(), std::vector<std::string>{"ZOR_Fade.ps"});

    system->CreateScreenTargets();
    const ZOR::Handle target = system->GetScreen(0).GetRenderTarget(0);
    Context().ClearRenderTarget(target, 0.0f, 1.0f, 0.0f, 1.0f);
    std::vector<std::uint8_t> pixels;
    const Handle pattern = Pattern(8, 8, pixels);
    system->FullscreenPass(target, pattern, "ZOR_Fade.ps", true);
    EXPECT_EQ(Pixel(Read(target), 4, 4), (std::array<int, 4>{0, 255, 0, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderSystemGLTest, AnEmptyShaderFolderLeavesEveryShaderMissingButStartsAnyway)
{
    std::filesystem::create_directories(Folder() / "empty");
    auto system = MakeSystem((Folder() / "empty").string() + "/");
    ASSERT_TRUE(system->Initialize());
    EXPECT_EQ(system->GetMissingShaders().size(), 51u);
}

} // namespace
