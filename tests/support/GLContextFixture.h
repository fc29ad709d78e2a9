#pragma once
#include "renderer/Window.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tests/support/ErrorBoxRecorder.h"
#include "tests/support/FakeDisplay.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tarsel::test {

// A window and an initialised render context on headless OpenGL (SDL_VIDEODRIVER=offscreen),
// made on first use. Each test runs in its own process, so each gets its own context. The
// display offers FakeDisplay's modes, error boxes are recorded, and the configuration file lives
// in a temporary folder; change those before the first Window() or Context().
class GLContextFixture : public ::testing::Test {
protected:
    GLContextFixture();
    ~GLContextFixture() override;

    FakeDisplay& Display() { return m_display; }
    const ErrorBoxRecorder& ErrorBoxes() const { return m_boxes; }
    const TempDir& Folder() const { return m_folder; }
    std::string ConfigPath() const;
    // Replaces the configuration file (800x600, windowed, no vertical sync by default).
    void WriteConfig(const std::string& text);
    std::string ReadConfig() const;

    // The window, at the configured size (800x600 when that is empty or beyond 1920x1080).
    ZOR::Window& Window();
    // The context, constructed from the configuration file and given the window; not initialised.
    ZOR::DXRenderContext& UninitializedContext();
    // The context, initialised; a failed Initialize fails the test.
    ZOR::DXRenderContext& Context();

    // Tears the context down (then the window), e.g. to build another from the saved file.
    void DestroyContext();

private:
    TempDir m_folder;
    FakeDisplay m_display;
    ErrorBoxRecorder m_boxes;
    std::unique_ptr<ZOR::Window> m_window;
    std::unique_ptr<ZOR::DXRenderContext> m_context;
    bool m_initializeTried = false;
};

} // namespace tarsel::test
