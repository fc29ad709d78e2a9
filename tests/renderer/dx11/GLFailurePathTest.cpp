// Run as separate CTest entries under environments in which OpenGL cannot start (see
// CMakeLists.txt beside this file); skipped anywhere else.
#include "renderer/Window.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(GLFailurePath, InitializeFailsAtTheFailingStepAndLaterCallsAreSafe)
{
    const char* expected = std::getenv("TARSEL_EXPECT_GL_FAILURE");
    if (!expected)
        GTEST_SKIP() << "runs only under a failing OpenGL environment";
    const std::string failure = expected;
    ASSERT_TRUE(failure == "window" || failure == "context") << failure;

    tarsel::test::TempDir folder;
    folder.Write("config.ini", "[ZOR_CONFIG]\nWIDTH=0\nHEIGHT=0\nFULLSCREEN=1\n");
    tarsel::test::StdoutCapture out;
    ZOR::Window window("failure", ZOR::Dimension(640, 480), true);
    // No error-box hook: the real one must return at once without a display.
    ZOR::DXRenderContext context(ZOR::Config((folder / "config.ini").string()));
    context.SetTargetWindow(window.GetHWND());
    EXPECT_FALSE(context.Initialize());

    context.SwapBuffers();
    context.SetVsync(true);
    context.SetFullscreen(false);
    context.SetDisplayMode(0u);
    context.SetDisplayMode(ZOR::Dimension(640, 480));
    context.SetViewport(ZOR::Viewport(0, 0, ZOR::Dimension(640, 480), 0.0f, 1.0f));
    context.SetBlendMode(ZOR::BlendMode::Additive);
    context.SetCullMode(ZOR::CullMode::None);
    context.SetFillMode(ZOR::FillMode::Wireframe);
    context.SetAnisotropy(ZOR::Anisotropy::X2);
    context.SetPrimitiveTopology(ZOR::PrimitiveTopology::LineList);
    context.OnSize(320, 240);
    context.OnActivate(true);
    window.Update();
    EXPECT_EQ(context.GetDevice(), nullptr);
    EXPECT_EQ(context.GetSwapChain(), nullptr);
    ZOR::Handle handle;
    EXPECT_FALSE(context.CreateVertexBuffer(handle, ZOR::BufferUsage::Static, 16, nullptr));
    const std::string log = out.Text();

    if (failure == "window") {
        EXPECT_FALSE(window.IsAlive());
        EXPECT_EQ(window.GetHWND(), nullptr);
        EXPECT_NE(log.find("Failed to create the window: "), std::string::npos) << log;
        EXPECT_NE(log.find("Error: Failed to create the DXGI swap chain. Ensure that you call SetTargetWindow "
                           "before initialization.\n"),
                  std::string::npos)
            << log;
    } else {
        EXPECT_TRUE(window.IsAlive());
        EXPECT_NE(log.find("Error: Failed to create the Direct3D 11 device. Check your compatability mode and "
                           "device drivers\n"),
                  std::string::npos)
            << log;
    }
    // The failure left full screen in the stored settings, so the next start is windowed.
    EXPECT_FALSE(ZOR::Config((folder / "config.ini").string()).GetFullscreen());
}
