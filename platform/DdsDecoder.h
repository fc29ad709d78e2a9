#pragma once
#include "platform/ImageDecoder.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Decodes the first level of a DDS file to RGBA8: a legacy header or one followed by the DX10
// header; uncompressed 24- or 32-bit pixels described by channel masks (or the DX10 RGBA8 and
// BGRA8/BGRX8 formats); DXT1, DXT3 and DXT5 (BC1-BC3) blocks. Anything else fails with the reason.
bool DecodeDds(const std::uint8_t* bytes, std::size_t size, DecodedImage& image, std::string& error,
               std::uint32_t maxSide = DefaultMaxImageSide);

} // namespace platform
