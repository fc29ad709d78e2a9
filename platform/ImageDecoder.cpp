#include "platform/ImageDecoder.h"

#include "platform/DdsDecoder.h"

#include <array>
#include <climits>
#include <cstring>

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace platform {
namespace {

constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Deflate never expands data more than 1032 times, and the smallest PNG pixel (1 bit) is an
// eighth of a byte: a file of n bytes cannot describe more than this many pixels, whatever its
// header claims. Checked before anything is allocated.
constexpr std::uint64_t MaxPixelsPerFileByte = 1032u * 8u;

std::uint32_t ReadBigEndian(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16
           | static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// Walks the chunks before the decoder sees them: each must lie inside the file and carry its
// checksum, up to the end chunk. The decoder trusts chunk lengths and allocates by them, and
// never checks checksums; damaged files are refused here instead.
bool CheckPngChunks(const std::uint8_t* bytes, std::size_t size, std::string& error)
{
    std::size_t offset = sizeof(PngSignature);
    bool first = true;
    while (offset < size) {
        if (size - offset < 12) {
            error = "PNG chunk cut short";
            return false;
        }
        const std::uint32_t length = ReadBigEndian(bytes + offset);
        if (length > size - offset - 12) {
            error = "PNG chunk of " + std::to_string(length) + " bytes runs past the end of the file";
            return false;
        }
        const std::uint8_t* type = bytes + offset + 4;
        if (first && std::memcmp(type, "IHDR", 4) != 0) {
            error = "PNG does not start with its header chunk";
            return false;
        }
        first = false;
        if (Crc32(type, std::size_t{length} + 4) != ReadBigEndian(type + 4 + length)) {
            error = "PNG chunk checksum does not match: the file is damaged";
            return false;
        }
        offset += std::size_t{length} + 12;
        if (std::memcmp(type, "IEND", 4) == 0)
            return true;
    }
    error = "PNG ends before its end chunk";
    return false;
}

} // namespace

bool DecodePng(const std::uint8_t* bytes, std::size_t size, DecodedImage& image, std::string& error,
               std::uint32_t maxSide)
{
    image = DecodedImage{};
    if (!bytes || size < sizeof(PngSignature) || std::memcmp(bytes, PngSignature, sizeof(PngSignature)) != 0) {
        error = "neither a DDS nor a PNG file";
        return false;
    }
    if (size > static_cast<std::size_t>(INT_MAX)) {
        error = "PNG file too large";
        return false;
    }
    if (!CheckPngChunks(bytes, size, error))
        return false;
    const int length = static_cast<int>(size);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &channels)) {
        error = std::string("PNG header: ") + stbi_failure_reason();
        return false;
    }
    if (width <= 0 || height <= 0 || static_cast<std::uint32_t>(width) > maxSide
        || static_cast<std::uint32_t>(height) > maxSide) {
        error = "PNG size " + std::to_string(width) + "x" + std::to_string(height) + " outside 1.."
                + std::to_string(maxSide);
        return false;
    }
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (pixels > MaxPixelsPerFileByte * size) {
        error = "PNG size " + std::to_string(width) + "x" + std::to_string(height) + " cannot come from "
                + std::to_string(size) + " bytes";
        return false;
    }
    int w = 0, h = 0, n = 0;
    stbi_uc* decoded = stbi_load_from_memory(bytes, length, &w, &h, &n, 4);
    if (!decoded) {
        error = std::string("PNG data: ") + stbi_failure_reason();
        return false;
    }
    if (w != width || h != height) {
        stbi_image_free(decoded);
        error = "PNG size changed while decoding";
        return false;
    }
    image.width = static_cast<std::uint32_t>(w);
    image.height = static_cast<std::uint32_t>(h);
    image.rgba.assign(decoded, decoded + pixels * 4);
    stbi_image_free(decoded);
    return true;
}

bool DecodeImage(const std::uint8_t* bytes, std::size_t size, DecodedImage& image, std::string& error,
                 std::uint32_t maxSide)
{
    if (bytes && size >= 4 && std::memcmp(bytes, "DDS ", 4) == 0)
        return DecodeDds(bytes, size, image, error, maxSide);
    return DecodePng(bytes, size, image, error, maxSide);
}

} // namespace platform
