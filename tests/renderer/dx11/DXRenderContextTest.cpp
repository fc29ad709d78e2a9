#include "platform/NativeWindow.h"
#include "platform/gpu/SwapChain.h"
#include "renderer/Config.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tests/support/GLContextFixture.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using tarsel::test::StdoutCapture;
using ZOR::Dimension;
using ZOR::Handle;

namespace {

using DXRenderContext = tarsel::test::GLContextFixture;

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(DXRenderContext, InitializeLogsTheNoticeShowsTheWindowAndOffersTheModes)
{
    StdoutCapture out;
    ZOR::DXRenderContext& context = Context();
    EXPECT_EQ(out.Text(), "Notice: ZOR has been successfully initialized.\n");
    EXPECT_TRUE(context.IsInitialized());
    EXPECT_TRUE(Window().GetHWND()->IsShown());
    EXPECT_NE(context.GetDevice(), nullptr);
    EXPECT_TRUE(ErrorBoxes().Requests().empty());

    const auto& modes = context.GetDisplayModeList();
    ASSERT_EQ(modes.size(), 3u);
    EXPECT_EQ(modes[1].resolution.width, 1024u);
    EXPECT_EQ(modes[1].refreshRate, 60u);
    EXPECT_EQ(context.GetCurrentDisplayMode().resolution.width, 800u);
    EXPECT_EQ(context.GetViewport(context.GetBackBuffer()).size.height, 600u);

    const std::string& card = context.GetGraphicsCardInfo();
    EXPECT_GT(card.size(), 3u);
    EXPECT_EQ(card.substr(card.size() - 2), "MB");

    EXPECT_TRUE(context.IsGLThread());
    bool otherThread = true;
    std::thread([&] { otherThread = context.IsGLThread(); }).join();
    EXPECT_FALSE(otherThread);
}

TEST_F(DXRenderContext, DisplaySettersWriteTheirKeysAndKeepTheRest)
{
    WriteConfig("[SOUND]\nMUTE_MUSIC=1\n[ZOR_CONFIG]\nWIDTH=800\nHEIGHT=600\nCOMPATIBILITY=DIRECTX11.0\n");
    ZOR::DXRenderContext& context = Context();

    context.SetVsync(true);
    context.SetAnisotropy(ZOR::Anisotropy::X4);
    context.SetDisplayMode(2u);
    EXPECT_TRUE(context.GetVsync());

    ZOR::Config saved(ConfigPath());
    EXPECT_TRUE(saved.GetVsync());
    EXPECT_EQ(saved.GetAnisotropy(), ZOR::Anisotropy::X4);
    EXPECT_EQ(saved.GetResolution().width, 1280u);
    EXPECT_EQ(saved.GetResolution().height, 720u);
    EXPECT_EQ(saved.GetCompatibilityMode(), ZOR::CompatibilityMode::DirectX11_0);
    EXPECT_EQ(saved.Read<int>("SOUND", "MUTE_MUSIC"), 1);
    EXPECT_FALSE(saved.GetFullscreen());
}

TEST_F(DXRenderContext, FullscreenWritesOnlyWhenItChanges)
{
    ZOR::DXRenderContext& context = Context();
    context.SetFullscreen(true);
    EXPECT_TRUE(Window().GetHWND()->IsFullscreen());
    EXPECT_TRUE(Contains(ReadConfig(), "FULLSCREEN=1"));
    EXPECT_TRUE(context.GetFullscreen());

    std::filesystem::remove(ConfigPath());
    context.SetFullscreen(true);
    EXPECT_FALSE(std::filesystem::exists(ConfigPath()));

    context.SetFullscreen(false);
    EXPECT_FALSE(Window().GetHWND()->IsFullscreen());
    EXPECT_TRUE(Contains(ReadConfig(), "FULLSCREEN=0"));
    std::uint32_t w = 0, h = 0;
    Window().GetHWND()->GetSize(w, h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);
}

TEST_F(DXRenderContext, AnErrorInFullScreenLeavesItAndStoresWindowed)
{
    WriteConfig("[ZOR_CONFIG]\nWIDTH=1024\nHEIGHT=768\nFULLSCREEN=1\n");
    ZOR::DXRenderContext& context = Context();
    ASSERT_TRUE(Window().GetHWND()->IsFullscreen());

    const ZOR::RenderContext::RenderContextException error("Failed to create texture for render target.");
    EXPECT_FALSE(Window().GetHWND()->IsFullscreen());
    EXPECT_FALSE(context.GetFullscreen());
    EXPECT_FALSE(ZOR::Config(ConfigPath()).GetFullscreen());
    EXPECT_TRUE(Contains(ReadConfig(), "FULLSCREEN=0"));
    const auto boxes = ErrorBoxes().Requests();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, "Error!");
}

TEST_F(DXRenderContext, ModeRequestsOutsideTheListOnlyWarn)
{
    ZOR::DXRenderContext& context = Context();
    const std::string before = ReadConfig();
    StdoutCapture out;
    context.SetDisplayMode(3u);
    context.SetDisplayMode(Dimension(999, 999));
    EXPECT_EQ(out.Text(), "Warning: Display mode index 3 is out of boundaries. Valid indices are 0-2\n"
                          "Warning: Unable to find matching display mode for resolution of 999x999.\n");
    EXPECT_EQ(context.GetCurrentDisplayModeIndex(), 0u);
    EXPECT_EQ(ReadConfig(), before);
}

TEST_F(DXRenderContext, TheBackBufferFollowsTheMode)
{
    ZOR::DXRenderContext& context = Context();
    context.SetDisplayMode(1u);
    EXPECT_EQ(context.GetViewport(context.GetBackBuffer()).size.width, 1024u);
    EXPECT_EQ(context.GetViewport(context.GetBackBuffer()).size.height, 768u);
    EXPECT_EQ(context.GetSwapChain()->GetBackBuffer().GetWidth(), 1024u);
    EXPECT_EQ(context.GetSwapChain()->GetBackBuffer().GetHeight(), 768u);
    std::uint32_t w = 0, h = 0;
    Window().GetHWND()->GetSize(w, h);
    EXPECT_EQ(w, 1024u);

    context.SetDisplayMode(Dimension(1280, 720));
    EXPECT_EQ(context.GetCurrentDisplayModeIndex(), 2u);
    EXPECT_EQ(context.GetViewport(context.GetBackBuffer()).size.height, 720u);
    EXPECT_EQ(ZOR::Config(ConfigPath()).GetResolution().width, 1280u);
}

TEST_F(DXRenderContext, SetViewportKeepsThePixelTransform)
{
    ZOR::DXRenderContext& context = Context();
    context.SetViewport(ZOR::Viewport(-10, 20, Dimension(200, 100), 0.0f, 1.0f));
    const ZOR::Viewport& current = context.GetViewport(Handle::Null());
    EXPECT_EQ(current.x, -10);
    EXPECT_FLOAT_EQ(current.matrix.m[0], 100.0f);
    EXPECT_FLOAT_EQ(current.matrix.m[3], 90.0f);
    EXPECT_FLOAT_EQ(current.matrix.m[5], -50.0f);
    EXPECT_FLOAT_EQ(current.matrix.m[7], 70.0f);
    // The back buffer keeps its own viewport.
    EXPECT_EQ(context.GetViewport(context.GetBackBuffer()).x, 0);
}

TEST_F(DXRenderContext, OnSizeWithAnEmptySideChangesNothing)
{
    ZOR::DXRenderContext& context = Context();
    platform::gpu::SwapChain& chain = *context.GetSwapChain();
    EXPECT_EQ(chain.GetPresentWidth(), 800u);
    context.OnSize(0, 480);
    context.OnSize(640, 0);
    EXPECT_EQ(chain.GetPresentWidth(), 800u);
    EXPECT_EQ(chain.GetPresentHeight(), 600u);
    context.OnSize(640, 480);
    EXPECT_EQ(chain.GetPresentWidth(), 640u);
    EXPECT_EQ(chain.GetPresentHeight(), 480u);
    // The back buffer stays at the mode's size.
    EXPECT_EQ(context.GetViewport(context.GetBackBuffer()).size.width, 800u);
}

TEST_F(DXRenderContext, PresentPutsTheFirstRowAtTheTopOfTheWindow)
{
    ZOR::DXRenderContext& context = Context();
    platform::gpu::SwapChain& chain = *context.GetSwapChain();
    const std::uint32_t w = 800, h = 600;
    std::vector<std::uint8_t> image(std::size_t{w} * h * 4);
    for (std::uint32_t y = 0; y < h; ++y) {
        for (std::uint32_t x = 0; x < w; ++x) {
            std::uint8_t* p = &image[(std::size_t{y} * w + x) * 4];
            p[0] = y < h / 2 ? 255 : 0; // red top half
            p[2] = y < h / 2 ? 0 : 255; // blue bottom half
            p[3] = 255;
        }
    }
    std::string error;
    ASSERT_TRUE(chain.GetBackBuffer().Write(image.data(), error)) << error;
    chain.Blit();

    std::vector<std::uint8_t> shown;
    std::uint32_t sw = 0, sh = 0;
    ASSERT_TRUE(chain.ReadWindow(shown, sw, sh));
    ASSERT_EQ(sw, w);
    ASSERT_EQ(sh, h);
    const std::uint8_t* top = &shown[(std::size_t{10} * w + 400) * 4];
    const std::uint8_t* bottom = &shown[(std::size_t{h - 10} * w + 400) * 4];
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[2], 0);
    EXPECT_EQ(bottom[0], 0);
    EXPECT_EQ(bottom[2], 255);

    // Presenting for real swaps without complaint, with and without vertical sync.
    context.SwapBuffers();
    context.SetVsync(true);
    context.SwapBuffers();
}

TEST_F(DXRenderContext, ActivationTogglesFullScreenButNotTheSetting)
{
    WriteConfig("[ZOR_CONFIG]\nWIDTH=800\nHEIGHT=600\nFULLSCREEN=1\n");
    ZOR::DXRenderContext& context = Context();
    platform::NativeWindow& window = *Window().GetHWND();
    ASSERT_TRUE(window.IsFullscreen());
    context.OnActivate(false);
    EXPECT_FALSE(window.IsFullscreen());
    EXPECT_TRUE(context.GetFullscreen());
    context.OnActivate(true);
    EXPECT_TRUE(window.IsFullscreen());
    EXPECT_TRUE(ZOR::Config(ConfigPath()).GetFullscreen());
}

TEST_F(DXRenderContext, BeforeInitializeOnlySettingsAreKept)
{
    ZOR::DXRenderContext& context = UninitializedContext();
    StdoutCapture out;
    context.OnActivate(true);
    EXPECT_EQ(out.Text(), "Notice: ZOR has received an OnActivate message, but ZOR is unitialized.\n");

    context.SetFullscreen(true);
    EXPECT_FALSE(Window().GetHWND()->IsFullscreen());
    EXPECT_TRUE(ZOR::Config(ConfigPath()).GetFullscreen());

    // Device operations do nothing and report failure.
    context.SwapBuffers();
    context.SetDisplayMode(0u);
    context.OnSize(640, 480);
    context.SetBlendMode(ZOR::BlendMode::Alpha);
    context.SetCullMode(ZOR::CullMode::Front);
    EXPECT_EQ(context.GetDevice(), nullptr);
    EXPECT_EQ(context.GetSwapChain(), nullptr);
    EXPECT_TRUE(context.GetDisplayModeList().empty());
    EXPECT_EQ(context.GetCurrentDisplayMode().resolution.width, 0u);

    // Initialising afterwards starts in full screen, as stored.
    ASSERT_TRUE(context.Initialize());
    EXPECT_TRUE(Window().GetHWND()->IsFullscreen());
}

TEST_F(DXRenderContext, AnEmptyConfiguredSizeTakesTheLargestModeAndSavesIt)
{
    WriteConfig("[ZOR_CONFIG]\nWIDTH=0\nHEIGHT=0\n");
    ZOR::DXRenderContext& context = Context();
    EXPECT_EQ(context.GetCurrentDisplayModeIndex(), 2u);
    const ZOR::Config saved(ConfigPath());
    EXPECT_EQ(saved.GetResolution().width, 1280u);
    EXPECT_EQ(saved.GetResolution().height, 720u);
}

TEST_F(DXRenderContext, AnUnlistedOrAbsurdSizeTakesTheLargestModeWithoutSaving)
{
    const std::string text = "[ZOR_CONFIG]\nWIDTH=100000\nHEIGHT=100000\n";
    WriteConfig(text);
    ZOR::DXRenderContext& context = Context();
    EXPECT_EQ(context.GetCurrentDisplayModeIndex(), 2u);
    EXPECT_EQ(ReadConfig(), text);
}

TEST_F(DXRenderContext, ASmallDisplayStillHasItsLargestMode)
{
    Display().modes = {{640, 480, 60, 0}, {720, 576, 50, 0}};
    ZOR::DXRenderContext& context = Context();
    ASSERT_EQ(context.GetDisplayModeList().size(), 1u);
    EXPECT_EQ(context.GetCurrentDisplayMode().resolution.width, 720u);
    EXPECT_EQ(context.GetSwapChain()->GetBackBuffer().GetHeight(), 576u);
}

TEST_F(DXRenderContext, ADisplayWithoutModesFailsWithTheListMessage)
{
    Display().modes.clear();
    ZOR::DXRenderContext& context = UninitializedContext();
    StdoutCapture out;
    EXPECT_FALSE(context.Initialize());
    EXPECT_EQ(out.Text(), "Error: Failed to get the display mode list.\n");
    const auto boxes = ErrorBoxes().Requests();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, "Failed to get the display mode list.");
    EXPECT_FALSE(context.IsInitialized());
}

TEST_F(DXRenderContext, ADisplayThatCannotBeAskedFailsWithTheCountMessage)
{
    Display().failModes = true;
    ZOR::DXRenderContext& context = UninitializedContext();
    StdoutCapture out;
    EXPECT_FALSE(context.Initialize());
    EXPECT_TRUE(Contains(out.Text(), "Error: Failed to get the display mode count.\n"));
}

TEST_F(DXRenderContext, AModeTooLargeForTheDeviceFailsAtTheBackBuffer)
{
    Display().modes = {{100000, 100000, 60, 0}};
    ZOR::DXRenderContext& context = UninitializedContext();
    StdoutCapture out;
    EXPECT_FALSE(context.Initialize());
    EXPECT_TRUE(Contains(out.Text(), "Error: Failed to acquire the back buffer texture.\n"));
    // Later calls stay harmless.
    context.SwapBuffers();
    context.SetDisplayMode(0u);
    context.OnActivate(true);
}
