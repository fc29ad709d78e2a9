#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

// A fixed-cell bitmap font: the BFF2 header fields and the image, rows top first, 4 bytes per
// pixel (RGBA) at 32 bits per pixel.
struct BitmapFont {
    std::uint32_t imageWidth = 0;
    std::uint32_t imageHeight = 0;
    std::uint32_t cellWidth = 0;
    std::uint32_t cellHeight = 0;
    std::uint8_t bitsPerPixel = 32;
    std::uint8_t firstCharacter = 32;
    std::uint8_t widths[256] = {};
    std::vector<std::uint8_t> pixels;
};

// The bytes of a BFF2 file: the 276-byte header, then the pixels.
std::string WriteBff(const BitmapFont& font);

} // namespace tarsel::tools
