#pragma once
#include <cstdint>
#include <string>

namespace platform {
class NativeWindow;
}

namespace platform::gpu {

// The OpenGL 4.5 core context of one window, current on the thread that created it, with the
// Direct3D conventions the renderer relies on: depth 0..1 and NDC y = +1 in the first row of a
// target (so nothing flips in shaders or viewports). Everything made on the GPU needs it current.
class Device {
public:
    Device() = default;
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // False with the reason when there is no window, no 4.5 core context or no clip control.
    bool Create(NativeWindow& window, std::string& error);
    void Destroy();

    bool IsCreated() const { return m_context != nullptr; }
    // The SDL_GLContext.
    void* GetNativeContext() const { return m_context; }

    const std::string& GetRendererName() const { return m_rendererName; }
    // Dedicated video memory in MiB, 0 when the driver does not tell.
    std::uint32_t GetVideoMemoryMiB() const { return m_videoMemoryMiB; }
    // The most samples a multisampled target may have.
    std::uint32_t GetMaxSamples() const { return m_maxSamples; }

private:
    void* m_context = nullptr;
    bool m_videoUp = false;
    std::string m_rendererName;
    std::uint32_t m_videoMemoryMiB = 0;
    std::uint32_t m_maxSamples = 1;
};

} // namespace platform::gpu
