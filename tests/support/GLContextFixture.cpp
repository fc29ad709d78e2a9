#include "tests/support/GLContextFixture.h"

#include "renderer/Config.h"

namespace tarsel::test {

GLContextFixture::GLContextFixture() : m_folder(true)
{
    WriteConfig("[ZOR_CONFIG]\nWIDTH=800\nHEIGHT=600\nFULLSCREEN=0\nVSYNC=0\n");
}

GLContextFixture::~GLContextFixture()
{
    DestroyContext();
}

std::string GLContextFixture::ConfigPath() const
{
    return (m_folder / "config.ini").string();
}

void GLContextFixture::WriteConfig(const std::string& text)
{
    m_folder.Write("config.ini", text);
}

std::string GLContextFixture::ReadConfig() const
{
    return m_folder.Read("config.ini");
}

ZOR::Window& GLContextFixture::Window()
{
    if (!m_window) {
        ZOR::Config config(ConfigPath());
        ZOR::Dimension size = config.GetResolution();
        // Tests of absurd configured sizes need no window of that size: presenting scales.
        if (size.width == 0 || size.height == 0 || size.width > 1920 || size.height > 1080)
            size = ZOR::Dimension(800, 600);
        m_window = std::make_unique<ZOR::Window>("Tarsel test", size, false);
        EXPECT_TRUE(m_window->IsAlive()) << "the test window could not be created";
    }
    return *m_window;
}

ZOR::DXRenderContext& GLContextFixture::UninitializedContext()
{
    if (!m_context) {
        ZOR::Window& window = Window();
        m_context = std::make_unique<ZOR::DXRenderContext>(ZOR::Config(ConfigPath()));
        m_context->SetTargetWindow(window.GetHWND());
    }
    return *m_context;
}

ZOR::DXRenderContext& GLContextFixture::Context()
{
    ZOR::DXRenderContext& context = UninitializedContext();
    if (!m_initializeTried) {
        m_initializeTried = true;
        EXPECT_TRUE(context.Initialize()) << "the render context could not be initialised";
    }
    return context;
}

void GLContextFixture::DestroyContext()
{
    // The context goes first: it still leaves full screen on its window.
    m_context.reset();
    m_window.reset();
    m_initializeTried = false;
}

} // namespace tarsel::test
