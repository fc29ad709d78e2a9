#include "platform/DdsDecoder.h"

#include <array>
#include <cstring>

namespace platform {
namespace {

constexpr std::size_t MagicBytes = 4;
constexpr std::size_t HeaderBytes = 124;
constexpr std::size_t Dx10HeaderBytes = 20;

constexpr std::uint32_t PixelAlpha = 0x1;     // the alpha mask is meaningful
constexpr std::uint32_t PixelFourCC = 0x4;    // the format is named by a four-character code
constexpr std::uint32_t PixelRgb = 0x40;      // uncompressed, described by channel masks

constexpr std::uint32_t FourCC(char a, char b, char c, char d)
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(a))
           | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8
           | static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16
           | static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}

std::uint32_t ReadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
           | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// DXGI format numbers the DX10 header may carry.
enum DxgiFormat : std::uint32_t {
    R8G8B8A8_UNORM = 28,
    R8G8B8A8_UNORM_SRGB = 29,
    BC1_UNORM = 71,
    BC1_UNORM_SRGB = 72,
    BC2_UNORM = 74,
    BC2_UNORM_SRGB = 75,
    BC3_UNORM = 77,
    BC3_UNORM_SRGB = 78,
    B8G8R8A8_UNORM = 87,
    B8G8R8X8_UNORM = 88,
    B8G8R8A8_UNORM_SRGB = 91,
    B8G8R8X8_UNORM_SRGB = 93,
};
constexpr std::uint32_t Texture2DDimension = 3;

enum class Kind { Masked, BC1, BC2, BC3 };

struct Masks {
    std::uint32_t bits = 0;
    std::array<std::uint32_t, 4> channel{}; // red, green, blue, alpha (0: none)
};

// Extracts the masked field and scales it to 8 bits.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask, std::uint8_t none)
{
    if (mask == 0)
        return none;
    std::uint32_t shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    const std::uint32_t field = mask >> shift;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255u + field / 2) / field);
}

void DecodeMasked(const std::uint8_t* data, const Masks& masks, DecodedImage& image)
{
    const std::uint32_t bytesPerPixel = masks.bits / 8;
    const std::size_t pixels = std::size_t{image.width} * image.height;
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* p = data + i * bytesPerPixel;
        std::uint32_t pixel = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
                              | static_cast<std::uint32_t>(p[2]) << 16;
        if (bytesPerPixel == 4)
            pixel |= static_cast<std::uint32_t>(p[3]) << 24;
        std::uint8_t* out = image.rgba.data() + i * 4;
        for (int c = 0; c < 3; ++c)
            out[c] = Channel(pixel, masks.channel[c], 0);
        out[3] = Channel(pixel, masks.channel[3], 255);
    }
}

std::array<std::uint8_t, 4> Expand565(std::uint16_t c)
{
    const std::uint32_t r = (c >> 11) & 31u, g = (c >> 5) & 63u, b = c & 31u;
    return {static_cast<std::uint8_t>((r << 3) | (r >> 2)), static_cast<std::uint8_t>((g << 2) | (g >> 4)),
            static_cast<std::uint8_t>((b << 3) | (b >> 2)), 255};
}

// The 16 colours of a colour block; threeColour allows the 1-bit-alpha mode of BC1.
void ColourBlock(const std::uint8_t* block, bool threeColour, std::array<std::array<std::uint8_t, 4>, 16>& out)
{
    const std::uint16_t c0 = static_cast<std::uint16_t>(block[0] | block[1] << 8);
    const std::uint16_t c1 = static_cast<std::uint16_t>(block[2] | block[3] << 8);
    std::array<std::array<std::uint8_t, 4>, 4> palette{};
    palette[0] = Expand565(c0);
    palette[1] = Expand565(c1);
    if (!threeColour || c0 > c1) {
        for (int c = 0; c < 3; ++c) {
            palette[2][c] = static_cast<std::uint8_t>((2 * palette[0][c] + palette[1][c] + 1) / 3);
            palette[3][c] = static_cast<std::uint8_t>((palette[0][c] + 2 * palette[1][c] + 1) / 3);
        }
        palette[2][3] = palette[3][3] = 255;
    } else {
        for (int c = 0; c < 3; ++c)
            palette[2][c] = static_cast<std::uint8_t>((palette[0][c] + palette[1][c] + 1) / 2);
        palette[2][3] = 255;
        palette[3] = {0, 0, 0, 0};
    }
    const std::uint32_t indices = ReadU32(block + 4);
    for (int i = 0; i < 16; ++i)
        out[static_cast<std::size_t>(i)] = palette[(indices >> (2 * i)) & 3u];
}

void ExplicitAlpha(const std::uint8_t* block, std::array<std::array<std::uint8_t, 4>, 16>& out)
{
    for (int i = 0; i < 16; ++i) {
        const std::uint32_t nibble = (block[i / 2] >> ((i % 2) * 4)) & 15u;
        out[static_cast<std::size_t>(i)][3] = static_cast<std::uint8_t>(nibble * 17u);
    }
}

void InterpolatedAlpha(const std::uint8_t* block, std::array<std::array<std::uint8_t, 4>, 16>& out)
{
    const std::uint32_t a0 = block[0], a1 = block[1];
    std::array<std::uint8_t, 8> palette{};
    palette[0] = static_cast<std::uint8_t>(a0);
    palette[1] = static_cast<std::uint8_t>(a1);
    if (a0 > a1) {
        for (std::uint32_t i = 1; i < 7; ++i)
            palette[i + 1] = static_cast<std::uint8_t>(((7 - i) * a0 + i * a1 + 3) / 7);
    } else {
        for (std::uint32_t i = 1; i < 5; ++i)
            palette[i + 1] = static_cast<std::uint8_t>(((5 - i) * a0 + i * a1 + 2) / 5);
        palette[6] = 0;
        palette[7] = 255;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= static_cast<std::uint64_t>(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i)
        out[static_cast<std::size_t>(i)][3] = palette[(bits >> (3 * i)) & 7u];
}

void DecodeBlocks(const std::uint8_t* data, Kind kind, DecodedImage& image)
{
    const std::uint32_t blocksWide = (image.width + 3) / 4;
    const std::uint32_t blocksHigh = (image.height + 3) / 4;
    const std::size_t blockBytes = kind == Kind::BC1 ? 8 : 16;
    std::array<std::array<std::uint8_t, 4>, 16> texels{};
    for (std::uint32_t by = 0; by < blocksHigh; ++by) {
        for (std::uint32_t bx = 0; bx < blocksWide; ++bx) {
            const std::uint8_t* block = data + (std::size_t{by} * blocksWide + bx) * blockBytes;
            switch (kind) {
            case Kind::BC1: ColourBlock(block, true, texels); break;
            case Kind::BC2:
                ColourBlock(block + 8, false, texels);
                ExplicitAlpha(block, texels);
                break;
            case Kind::BC3:
                ColourBlock(block + 8, false, texels);
                InterpolatedAlpha(block, texels);
                break;
            case Kind::Masked: return;
            }
            // Blocks past the right or bottom edge carry padding that is not part of the image.
            for (std::uint32_t y = 0; y < 4 && by * 4 + y < image.height; ++y) {
                for (std::uint32_t x = 0; x < 4 && bx * 4 + x < image.width; ++x) {
                    std::uint8_t* out = image.rgba.data()
                                        + ((std::size_t{by} * 4 + y) * image.width + bx * 4 + x) * 4;
                    std::memcpy(out, texels[y * 4 + x].data(), 4);
                }
            }
        }
    }
}

} // namespace

bool DecodeDds(const std::uint8_t* bytes, std::size_t size, DecodedImage& image, std::string& error,
               std::uint32_t maxSide)
{
    image = DecodedImage{};
    if (!bytes || size < MagicBytes + HeaderBytes) {
        error = "DDS file shorter than its header";
        return false;
    }
    if (ReadU32(bytes) != FourCC('D', 'D', 'S', ' ')) {
        error = "not a DDS file";
        return false;
    }
    const std::uint8_t* header = bytes + MagicBytes;
    if (ReadU32(header) != HeaderBytes || ReadU32(header + 72) != 32) {
        error = "DDS header of the wrong size";
        return false;
    }
    const std::uint32_t height = ReadU32(header + 8);
    const std::uint32_t width = ReadU32(header + 12);
    const std::uint32_t pixelFlags = ReadU32(header + 76);
    const std::uint32_t fourCC = ReadU32(header + 80);
    std::size_t dataOffset = MagicBytes + HeaderBytes;

    if (width == 0 || height == 0 || width > maxSide || height > maxSide) {
        error = "DDS size " + std::to_string(width) + "x" + std::to_string(height) + " outside 1.."
                + std::to_string(maxSide);
        return false;
    }

    Kind kind = Kind::Masked;
    Masks masks;
    if ((pixelFlags & PixelFourCC) != 0 && fourCC == FourCC('D', 'X', '1', '0')) {
        if (size < dataOffset + Dx10HeaderBytes) {
            error = "DDS file shorter than its DX10 header";
            return false;
        }
        const std::uint8_t* dx10 = bytes + dataOffset;
        dataOffset += Dx10HeaderBytes;
        const std::uint32_t format = ReadU32(dx10);
        if (ReadU32(dx10 + 4) != Texture2DDimension) {
            error = "DDS DX10 resource is not a 2D texture";
            return false;
        }
        switch (format) {
        case R8G8B8A8_UNORM:
        case R8G8B8A8_UNORM_SRGB: masks = {32, {0x000000FFu, 0x0000FF00u, 0x00FF0000u, 0xFF000000u}}; break;
        case B8G8R8A8_UNORM:
        case B8G8R8A8_UNORM_SRGB: masks = {32, {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}}; break;
        case B8G8R8X8_UNORM:
        case B8G8R8X8_UNORM_SRGB: masks = {32, {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0}}; break;
        case BC1_UNORM:
        case BC1_UNORM_SRGB: kind = Kind::BC1; break;
        case BC2_UNORM:
        case BC2_UNORM_SRGB: kind = Kind::BC2; break;
        case BC3_UNORM:
        case BC3_UNORM_SRGB: kind = Kind::BC3; break;
        default: error = "DDS DXGI format " + std::to_string(format) + " is not supported"; return false;
        }
    } else if ((pixelFlags & PixelFourCC) != 0) {
        if (fourCC == FourCC('D', 'X', 'T', '1')) {
            kind = Kind::BC1;
        } else if (fourCC == FourCC('D', 'X', 'T', '3')) {
            kind = Kind::BC2;
        } else if (fourCC == FourCC('D', 'X', 'T', '5')) {
            kind = Kind::BC3;
        } else {
            char code[5] = {};
            for (int i = 0; i < 4; ++i) {
                const char c = static_cast<char>((fourCC >> (8 * i)) & 0xFF);
                code[i] = (c >= 32 && c < 127) ? c : '?';
            }
            error = std::string("DDS four-character code \"") + code + "\" is not supported";
            return false;
        }
    } else if ((pixelFlags & PixelRgb) != 0) {
        masks.bits = ReadU32(header + 84);
        masks.channel = {ReadU32(header + 88), ReadU32(header + 92), ReadU32(header + 96),
                         (pixelFlags & PixelAlpha) != 0 ? ReadU32(header + 100) : 0u};
        if (masks.bits != 24 && masks.bits != 32) {
            error = "DDS pixels of " + std::to_string(masks.bits) + " bits are not supported";
            return false;
        }
        const std::uint64_t limit = masks.bits == 32 ? 0xFFFFFFFFull : 0xFFFFFFull;
        for (std::uint32_t mask : masks.channel) {
            if (mask > limit) {
                error = "DDS channel mask outside the pixel";
                return false;
            }
        }
    } else {
        error = "DDS pixel format is not supported";
        return false;
    }

    // Sizes are computed in 64 bits: no product of two 32-bit sides can wrap.
    std::uint64_t needed = 0;
    if (kind == Kind::Masked) {
        needed = std::uint64_t{width} * height * (masks.bits / 8);
    } else {
        const std::uint64_t blocks = ((std::uint64_t{width} + 3) / 4) * ((std::uint64_t{height} + 3) / 4);
        needed = blocks * (kind == Kind::BC1 ? 8u : 16u);
    }
    if (needed > size - dataOffset) {
        error = "DDS data cut short: " + std::to_string(size - dataOffset) + " of " + std::to_string(needed)
                + " bytes";
        return false;
    }

    image.width = width;
    image.height = height;
    image.rgba.resize(std::size_t{width} * height * 4);
    if (kind == Kind::Masked)
        DecodeMasked(bytes + dataOffset, masks, image);
    else
        DecodeBlocks(bytes + dataOffset, kind, image);
    return true;
}

} // namespace platform
