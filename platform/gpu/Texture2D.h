#pragma once
#include "platform/gpu/GpuTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::gpu {

// A 2D texture with one level. Rows are stored top first: the first row written is row 0, which
// is where the top of the image lands when it is rendered into.
class Texture2D {
public:
    Texture2D() = default;
    ~Texture2D();
    Texture2D(Texture2D&& other) noexcept;
    Texture2D& operator=(Texture2D&& other) noexcept;
    Texture2D(const Texture2D&) = delete;
    Texture2D& operator=(const Texture2D&) = delete;

    // Replaces whatever the object held. False with the reason when the size or format is refused.
    bool Create(std::uint32_t width, std::uint32_t height, DataFormat format, std::string& error);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }
    std::uint32_t GetWidth() const { return m_width; }
    std::uint32_t GetHeight() const { return m_height; }
    DataFormat GetFormat() const { return m_format; }

    // The whole image, tightly packed rows in the texture's format, top row first.
    bool Write(const void* pixels, std::string& error);
    bool Read(std::vector<std::uint8_t>& pixels) const;

private:
    std::uint32_t m_name = 0;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    DataFormat m_format = DataFormat::Unknown;
};

} // namespace platform::gpu
