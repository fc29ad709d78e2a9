#include "platform/gpu/SwapChain.h"

#include "platform/NativeWindow.h"
#include "platform/gpu/GLCommon.h"

#include <SDL.h>

#include <algorithm>

namespace platform::gpu {

void SwapChain::Create(NativeWindow& window)
{
    m_window = &window;
    window.GetDrawableSize(m_presentWidth, m_presentHeight);
}

SwapChain::BufferResult SwapChain::ResizeBuffers(std::uint32_t width, std::uint32_t height, std::string& error)
{
    ReleaseBuffers();
    if (!m_backBuffer.Create(width, height, DataFormat::R8G8B8A8_UNORM, error))
        return BufferResult::TextureFailed;
    const Texture2D* colour = &m_backBuffer;
    if (!m_target.Create(&colour, 1, error)) {
        m_backBuffer.Reset();
        return BufferResult::TargetFailed;
    }
    return BufferResult::Ok;
}

void SwapChain::ReleaseBuffers()
{
    m_target.Reset();
    m_backBuffer.Reset();
}

void SwapChain::SetPresentSize(std::uint32_t width, std::uint32_t height)
{
    m_presentWidth = width;
    m_presentHeight = height;
}

void SwapChain::Blit()
{
    if (!m_target.IsValid() || m_presentWidth == 0 || m_presentHeight == 0)
        return;
    // A scissor rectangle would clip the copy; the state is put back afterwards.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor)
        glDisable(GL_SCISSOR_TEST);
    const GLint srcW = static_cast<GLint>(m_backBuffer.GetWidth());
    const GLint srcH = static_cast<GLint>(m_backBuffer.GetHeight());
    const GLint dstW = static_cast<GLint>(m_presentWidth);
    const GLint dstH = static_cast<GLint>(m_presentHeight);
    const GLenum filter = (srcW == dstW && srcH == dstH) ? GL_NEAREST : GL_LINEAR;
    // Destination rows run from the top down: the first back-buffer row ends at the window's top.
    glBlitNamedFramebuffer(m_target.GetName(), 0, 0, 0, srcW, srcH, 0, dstH, dstW, 0, GL_COLOR_BUFFER_BIT, filter);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

void SwapChain::Present(std::uint32_t syncInterval)
{
    if (!m_window || !m_window->IsValid())
        return;
    const int interval = syncInterval > 0 ? 1 : 0;
    if (interval != m_syncInterval) {
        // Some surfaces (pbuffers) cannot change it; presenting works regardless.
        SDL_GL_SetSwapInterval(interval);
        m_syncInterval = interval;
    }
    Blit();
    SDL_GL_SwapWindow(m_window->GetSDLWindow());
}

bool SwapChain::ReadWindow(std::vector<std::uint8_t>& pixels, std::uint32_t& width, std::uint32_t& height) const
{
    width = m_presentWidth;
    height = m_presentHeight;
    if (width == 0 || height == 0)
        return false;
    const std::size_t rowBytes = std::size_t{width} * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * height);
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    gl::ClearErrors();
    glReadnPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, GL_UNSIGNED_BYTE,
                  static_cast<GLsizei>(bottomUp.size()), bottomUp.data());
    const bool ok = gl::TakeError().empty();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    if (!ok)
        return false;
    pixels.resize(bottomUp.size());
    for (std::uint32_t row = 0; row < height; ++row)
        std::copy_n(bottomUp.data() + (height - 1 - row) * rowBytes, rowBytes, pixels.data() + row * rowBytes);
    return true;
}

} // namespace platform::gpu
