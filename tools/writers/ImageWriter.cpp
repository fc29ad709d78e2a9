#include "tools/writers/ImageWriter.h"

#include "tools/writers/FileWriting.h"

#include <algorithm>
#include <cstring>

#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#include <stb_dxt.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace tarsel::tools {

namespace {

constexpr std::uint32_t kCaps = 0x1, kHeight = 0x2, kWidth = 0x4, kPitch = 0x8, kPixelFormat = 0x1000,
                        kLinearSize = 0x80000;
constexpr std::uint32_t kAlphaPixels = 0x1, kFourCC = 0x4, kRgb = 0x40;
constexpr std::uint32_t kCapsTexture = 0x1000;

constexpr std::uint32_t FourCC(const char (&code)[5])
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[0])) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(code[3])) << 24;
}

std::uint32_t DxgiFormat(DdsFormat format)
{
    switch (format) {
    case DdsFormat::BGRA8: return 87; // B8G8R8A8_UNORM
    case DdsFormat::RGBA8: return 28; // R8G8B8A8_UNORM
    case DdsFormat::BC1: return 71;
    case DdsFormat::BC2: return 74;
    case DdsFormat::BC3: return 77;
    case DdsFormat::BGR8: break;
    }
    return 0;
}

// The rest of an uncompressed pixel format: its flags (alpha when there is an alpha mask), the
// bits of a pixel and the four channel masks.
void AppendMasks(std::string& out, std::uint32_t bits, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                 std::uint32_t alpha)
{
    Append(out, alpha != 0 ? kRgb | kAlphaPixels : kRgb);
    Append(out, std::uint32_t{0});
    Append(out, bits);
    Append(out, red);
    Append(out, green);
    Append(out, blue);
    Append(out, alpha);
}

void AppendHeader(std::string& out, const Image& image, DdsFormat format, DdsHeader header)
{
    const bool compressed = format == DdsFormat::BC1 || format == DdsFormat::BC2 || format == DdsFormat::BC3;
    const std::uint32_t blocksWide = std::max(1u, (image.width + 3) / 4);
    const std::uint32_t blocksHigh = std::max(1u, (image.height + 3) / 4);
    const std::uint32_t blockBytes = format == DdsFormat::BC1 ? 8 : 16;
    const std::uint32_t pixelBytes = format == DdsFormat::BGR8 ? 3 : 4;
    const bool dx10 = header == DdsHeader::Dx10 && format != DdsFormat::BGR8;

    Append(out, FourCC("DDS "));
    Append(out, std::uint32_t{124});
    Append(out, kCaps | kHeight | kWidth | kPixelFormat | (compressed ? kLinearSize : kPitch));
    Append(out, image.height);
    Append(out, image.width);
    Append(out, compressed ? blocksWide * blocksHigh * blockBytes : image.width * pixelBytes);
    Append(out, std::uint32_t{0}); // depth
    Append(out, std::uint32_t{1}); // mip levels
    for (int i = 0; i < 11; ++i)
        Append(out, std::uint32_t{0});

    // Pixel format, 32 bytes.
    Append(out, std::uint32_t{32});
    if (dx10) {
        Append(out, kFourCC);
        Append(out, FourCC("DX10"));
        for (int i = 0; i < 5; ++i)
            Append(out, std::uint32_t{0});
    } else {
        switch (format) {
        case DdsFormat::BGR8: AppendMasks(out, 24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0); break;
        case DdsFormat::BGRA8: AppendMasks(out, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000); break;
        case DdsFormat::RGBA8: AppendMasks(out, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000); break;
        case DdsFormat::BC1:
        case DdsFormat::BC2:
        case DdsFormat::BC3:
            Append(out, kFourCC);
            Append(out, format == DdsFormat::BC1 ? FourCC("DXT1") : format == DdsFormat::BC2 ? FourCC("DXT3") : FourCC("DXT5"));
            for (int i = 0; i < 5; ++i)
                Append(out, std::uint32_t{0});
            break;
        }
    }
    Append(out, kCapsTexture);
    for (int i = 0; i < 4; ++i)
        Append(out, std::uint32_t{0}); // caps 2-4, reserved
    if (dx10) {
        Append(out, DxgiFormat(format));
        Append(out, std::uint32_t{3}); // a 2D texture
        Append(out, std::uint32_t{0});
        Append(out, std::uint32_t{1}); // one array slice
        Append(out, std::uint32_t{0});
    }
}

} // namespace

std::string WriteDds(const Image& image, DdsFormat format, DdsHeader header)
{
    std::string out;
    AppendHeader(out, image, format, header);
    const std::uint32_t w = image.width;
    const std::uint32_t h = image.height;
    if (format == DdsFormat::BGRA8 || format == DdsFormat::RGBA8 || format == DdsFormat::BGR8) {
        const std::size_t pixels = static_cast<std::size_t>(w) * h;
        for (std::size_t i = 0; i < pixels; ++i) {
            const std::uint8_t* p = image.rgba.data() + i * 4;
            if (format == DdsFormat::BGR8) {
                const char bgr[3] = {static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0])};
                out.append(bgr, 3);
            } else if (format == DdsFormat::BGRA8) {
                const char bgra[4] = {static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0]),
                                      static_cast<char>(p[3])};
                out.append(bgra, 4);
            } else {
                out.append(reinterpret_cast<const char*>(p), 4);
            }
        }
        return out;
    }

    if (w == 0 || h == 0)
        return out;
    for (std::uint32_t by = 0; by < (h + 3) / 4; ++by) {
        for (std::uint32_t bx = 0; bx < (w + 3) / 4; ++bx) {
            unsigned char block[64];
            for (std::uint32_t y = 0; y < 4; ++y) {
                for (std::uint32_t x = 0; x < 4; ++x) {
                    const std::uint32_t sx = std::min(bx * 4 + x, w - 1);
                    const std::uint32_t sy = std::min(by * 4 + y, h - 1);
                    std::memcpy(block + (y * 4 + x) * 4, image.rgba.data() + (static_cast<std::size_t>(sy) * w + sx) * 4, 4);
                }
            }
            unsigned char encoded[16];
            if (format == DdsFormat::BC1) {
                stb_compress_dxt_block(encoded, block, 0, STB_DXT_HIGHQUAL);
                out.append(reinterpret_cast<const char*>(encoded), 8);
            } else if (format == DdsFormat::BC3) {
                stb_compress_dxt_block(encoded, block, 1, STB_DXT_HIGHQUAL);
                out.append(reinterpret_cast<const char*>(encoded), 16);
            } else {
                // Explicit alpha: 4 bits per pixel, row by row, the lower nibble first.
                for (int i = 0; i < 16; i += 2) {
                    const unsigned a0 = (block[i * 4 + 3] * 15u + 127u) / 255u;
                    const unsigned a1 = (block[(i + 1) * 4 + 3] * 15u + 127u) / 255u;
                    out.push_back(static_cast<char>(a0 | (a1 << 4)));
                }
                stb_compress_dxt_block(encoded, block, 0, STB_DXT_HIGHQUAL);
                out.append(reinterpret_cast<const char*>(encoded), 8);
            }
        }
    }
    return out;
}

std::string WritePng(const Image& image)
{
    std::string out;
    const auto sink = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
    };
    stbi_write_png_to_func(sink, &out, static_cast<int>(image.width), static_cast<int>(image.height), 4,
                           image.rgba.data(), static_cast<int>(image.width * 4));
    return out;
}

} // namespace tarsel::tools
