#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

// An image in memory: rows top first, 4 bytes per pixel in R, G, B, A order.
struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;
};

enum class DdsFormat {
    BGRA8, // uncompressed 32-bit, masks A8R8G8B8 (bytes B, G, R, A)
    RGBA8, // uncompressed 32-bit, masks A8B8G8R8 (bytes R, G, B, A)
    BC1,   // "DXT1", opaque
    BC2,   // "DXT3", explicit 4-bit alpha
    BC3,   // "DXT5", interpolated alpha
    BGR8,  // uncompressed 24-bit, masks R8G8B8 (bytes B, G, R), no alpha
};

// Where the format is described: the legacy pixel format, or the "DX10" extension header
// with a DXGI format (BGR8 has none and is always written legacy).
enum class DdsHeader { Legacy, Dx10 };

// The bytes of a one-level DDS file. Block formats pad partial blocks by repeating the edge
// pixels.
std::string WriteDds(const Image& image, DdsFormat format, DdsHeader header = DdsHeader::Legacy);

// The bytes of an RGBA PNG file.
std::string WritePng(const Image& image);

} // namespace tarsel::tools
