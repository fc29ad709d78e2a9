#pragma once
#include "platform/gpu/GpuTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::gpu {

// A 2D texture with immutable storage of a fixed number of levels. Rows are stored top first:
// the first row written is row 0, which is where the top of the image lands when it is rendered
// into and what texture coordinate v = 0 reads.
class Texture2D {
public:
    Texture2D() = default;
    ~Texture2D();
    Texture2D(Texture2D&& other) noexcept;
    Texture2D& operator=(Texture2D&& other) noexcept;
    Texture2D(const Texture2D&) = delete;
    Texture2D& operator=(const Texture2D&) = delete;

    // Replaces whatever the object held. False with the reason when the size, level count or
    // format is refused; a level count of 0 means the full chain down to 1x1.
    bool Create(std::uint32_t width, std::uint32_t height, DataFormat format, std::string& error,
                std::uint32_t levels = 1);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }
    std::uint32_t GetWidth() const { return m_width; }
    std::uint32_t GetHeight() const { return m_height; }
    std::uint32_t GetLevels() const { return m_levels; }
    DataFormat GetFormat() const { return m_format; }

    // The whole first level, tightly packed rows in the texture's format, top row first.
    bool Write(const void* pixels, std::string& error);
    // Fills every level below the first from it.
    void GenerateMipmaps();
    // Every texel of the first level; colour formats only. Ignores every mask and scissor.
    bool Clear(const std::array<float, 4>& colour, std::string& error);
    // Depth and stencil of a depth texture.
    bool ClearDepthStencil(float depth, std::uint8_t stencil, std::string& error);
    // Copies every level of a texture of the same size, format and level count.
    bool CopyFrom(const Texture2D& source, std::string& error);

    // The first level, tightly packed rows in the texture's format, top row first; a depth
    // texture gives one float (the depth) a texel.
    bool Read(std::vector<std::uint8_t>& pixels) const;

    // The largest side the device takes.
    static std::uint32_t MaxSize();
    // Levels of a full chain for the size: 1 + floor(log2(max(width, height))).
    static std::uint32_t FullChainLevels(std::uint32_t width, std::uint32_t height);

private:
    std::uint32_t m_name = 0;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint32_t m_levels = 0;
    DataFormat m_format = DataFormat::Unknown;
};

} // namespace platform::gpu
