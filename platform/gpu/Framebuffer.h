#pragma once
#include <cstdint>
#include <string>

namespace platform::gpu {

class Texture2D;

// A set of colour targets drawn into together.
class Framebuffer {
public:
    Framebuffer() = default;
    ~Framebuffer();
    Framebuffer(Framebuffer&& other) noexcept;
    Framebuffer& operator=(Framebuffer&& other) noexcept;
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    // Attaches colours[i] as colour target i (a null entry leaves that target empty) and the
    // depth texture, if any, as depth and stencil. False with the reason when the combination
    // cannot be drawn into.
    bool Create(const Texture2D* const* colours, std::uint32_t count, std::string& error);
    bool Create(const Texture2D* const* colours, std::uint32_t count, const Texture2D* depth, std::string& error);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }

private:
    std::uint32_t m_name = 0;
};

} // namespace platform::gpu
