#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// An image in memory: 4 bytes a pixel in R, G, B, A order, rows top first, tightly packed.
struct DecodedImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;
};

// The largest side a decoded image may have unless the caller says otherwise.
constexpr std::uint32_t DefaultMaxImageSide = 16384;

// Decodes the bytes of a texture file: a DDS file by its "DDS " magic (DdsDecoder), else a PNG
// file. Only the first image level is read. False with the reason in error for anything else,
// for a side of 0 or above maxSide, and for data that is cut short or corrupt; nothing is read
// past size and nothing larger than the file can justify is allocated.
bool DecodeImage(const std::uint8_t* bytes, std::size_t size, DecodedImage& image, std::string& error,
                 std::uint32_t maxSide = DefaultMaxImageSide);

// The PNG part of DecodeImage.
bool DecodePng(const std::uint8_t* bytes, std::size_t size, DecodedImage& image, std::string& error,
               std::uint32_t maxSide = DefaultMaxImageSide);

} // namespace platform
