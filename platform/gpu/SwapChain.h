#pragma once
#include "platform/gpu/Framebuffer.h"
#include "platform/gpu/Texture2D.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class NativeWindow;
}

namespace platform::gpu {

// The back buffer, an RGBA8 colour target kept apart from the window, and its presentation:
// the image is copied to the window with its rows flipped (the back buffer keeps the top row
// first, the window's framebuffer the bottom row), scaled to the window's drawable size, and
// the window's buffers are swapped.
class SwapChain {
public:
    enum class BufferResult { Ok, TextureFailed, TargetFailed };

    SwapChain() = default;
    SwapChain(const SwapChain&) = delete;
    SwapChain& operator=(const SwapChain&) = delete;

    // Ties the chain to the window and takes its drawable size as the presentation size.
    void Create(NativeWindow& window);
    // (Re-)creates the back buffer at the given size. On failure the back buffer is gone.
    BufferResult ResizeBuffers(std::uint32_t width, std::uint32_t height, std::string& error);
    void ReleaseBuffers();

    Texture2D& GetBackBuffer() { return m_backBuffer; }
    const Framebuffer& GetBackBufferTarget() const { return m_target; }

    void SetPresentSize(std::uint32_t width, std::uint32_t height);
    std::uint32_t GetPresentWidth() const { return m_presentWidth; }
    std::uint32_t GetPresentHeight() const { return m_presentHeight; }

    // Copies the back buffer into the window's framebuffer.
    void Blit();
    // Blit, then swap with the given interval (0: at once, 1: wait for the vertical blank).
    void Present(std::uint32_t syncInterval);
    // What the window's framebuffer holds now, RGBA8, top row first.
    bool ReadWindow(std::vector<std::uint8_t>& pixels, std::uint32_t& width, std::uint32_t& height) const;

private:
    NativeWindow* m_window = nullptr;
    Texture2D m_backBuffer;
    Framebuffer m_target;
    std::uint32_t m_presentWidth = 0;
    std::uint32_t m_presentHeight = 0;
    int m_syncInterval = -1; // not set yet
};

} // namespace platform::gpu
