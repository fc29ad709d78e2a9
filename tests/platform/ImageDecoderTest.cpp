// DDS and PNG bytes to RGBA8: every DDS layout the writers make, and damaged or lying files.
#include "platform/DdsDecoder.h"
#include "platform/ImageDecoder.h"
#include "tools/writers/ImageWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using platform::DecodedImage;
using platform::DecodeImage;
using tarsel::tools::DdsFormat;
using tarsel::tools::DdsHeader;
using tarsel::tools::Image;

namespace {

// Each 4x4 block one colour, so that block compression can keep it: colours that 5:6:5 holds
// exactly, and alpha in steps that four bits hold.
Image Blocks(std::uint32_t width, std::uint32_t height)
{
    static const std::uint8_t palette[4][4] = {
        {255, 0, 0, 255}, {0, 255, 0, 136}, {0, 0, 255, 68}, {255, 255, 255, 0}};
    Image image;
    image.width = width;
    image.height = height;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const auto* colour = palette[((x / 4) + (y / 4) * 3) % 4];
            image.rgba.insert(image.rgba.end(), colour, colour + 4);
        }
    }
    return image;
}

DecodedImage Decode(const std::string& bytes, bool expectOk = true)
{
    DecodedImage image;
    std::string error;
    const bool ok = DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image, error);
    EXPECT_EQ(ok, expectOk) << error;
    if (!ok) {
        EXPECT_FALSE(error.empty());
    }
    return image;
}

int MaxDifference(const Image& expected, const DecodedImage& actual, bool withAlpha)
{
    if (actual.width != expected.width || actual.height != expected.height
        || actual.rgba.size() != expected.rgba.size())
        return 1000;
    int worst = 0;
    for (std::size_t i = 0; i < expected.rgba.size(); ++i) {
        if (!withAlpha && i % 4 == 3)
            continue;
        worst = std::max(worst, std::abs(int(expected.rgba[i]) - int(actual.rgba[i])));
    }
    return worst;
}

void Put32(std::string& bytes, std::size_t offset, std::uint32_t value)
{
    std::memcpy(bytes.data() + offset, &value, 4);
}

} // namespace

TEST(ImageDecoder, EveryDdsLayoutDecodesWithTheFirstRowFirst)
{
    struct Case {
        DdsFormat format;
        DdsHeader header;
        int tolerance;
        bool alpha; // the format keeps alpha
    };
    const Case cases[] = {
        {DdsFormat::BGRA8, DdsHeader::Legacy, 0, true}, {DdsFormat::RGBA8, DdsHeader::Legacy, 0, true},
        {DdsFormat::BGR8, DdsHeader::Legacy, 0, false}, {DdsFormat::BC1, DdsHeader::Legacy, 0, false},
        {DdsFormat::BC2, DdsHeader::Legacy, 0, true},   {DdsFormat::BC3, DdsHeader::Legacy, 0, true},
        {DdsFormat::BGRA8, DdsHeader::Dx10, 0, true},   {DdsFormat::RGBA8, DdsHeader::Dx10, 0, true},
        {DdsFormat::BC1, DdsHeader::Dx10, 0, false},    {DdsFormat::BC2, DdsHeader::Dx10, 0, true},
        {DdsFormat::BC3, DdsHeader::Dx10, 0, true},
    };
    for (const Case& c : cases) {
        for (const auto& [w, h] : {std::pair{8u, 8u}, std::pair{5u, 3u}, std::pair{13u, 9u}}) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(c.format) << "/" << static_cast<int>(c.header)
                                              << " " << w << "x" << h);
            const Image source = Blocks(w, h);
            const DecodedImage image = Decode(tarsel::tools::WriteDds(source, c.format, c.header));
            EXPECT_LE(MaxDifference(source, image, c.alpha), c.tolerance);
            if (!c.alpha && c.format != DdsFormat::BC1) {
                for (std::size_t i = 3; i < image.rgba.size(); i += 4)
                    ASSERT_EQ(image.rgba[i], 255);
            }
        }
    }
}

TEST(ImageDecoder, ColourBlocksInterpolateAndBc1HasATransparentMode)
{
    // A BC1 block by hand: colour 0 red (0xF800), colour 1 blue (0x001F), indices 0, 1, 2, 3 in
    // the first row; c0 > c1 gives four colours.
    std::string file = tarsel::tools::WriteDds(Blocks(4, 4), DdsFormat::BC1);
    const std::size_t block = file.size() - 8;
    const std::uint8_t fourColour[8] = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0};
    std::memcpy(file.data() + block, fourColour, 8);
    DecodedImage image = Decode(file);
    const std::uint8_t expected[4][4] = {{255, 0, 0, 255}, {0, 0, 255, 255}, {170, 0, 85, 255}, {85, 0, 170, 255}};
    for (int x = 0; x < 4; ++x)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(image.rgba[x * 4 + c], expected[x][c]) << x << "," << c;
    // c0 <= c1: three colours and transparent black.
    const std::uint8_t threeColour[8] = {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0};
    std::memcpy(file.data() + block, threeColour, 8);
    image = Decode(file);
    EXPECT_EQ(image.rgba[2 * 4 + 0], 128);
    EXPECT_EQ(image.rgba[2 * 4 + 2], 128);
    EXPECT_EQ(image.rgba[3 * 4 + 3], 0);
    EXPECT_EQ(image.rgba[3 * 4 + 0], 0);
}

TEST(ImageDecoder, PngDecodesExactly)
{
    Image source = Blocks(7, 5);
    source.rgba[0] = 3;
    const DecodedImage image = Decode(tarsel::tools::WritePng(source));
    EXPECT_EQ(MaxDifference(source, image, true), 0);
}

TEST(ImageDecoder, CutShortFilesFailAtEveryLength)
{
    const std::string files[] = {
        tarsel::tools::WriteDds(Blocks(8, 8), DdsFormat::BC3, DdsHeader::Dx10),
        tarsel::tools::WriteDds(Blocks(5, 3), DdsFormat::BGR8),
        tarsel::tools::WritePng(Blocks(6, 6)),
    };
    for (const std::string& file : files) {
        for (std::size_t length = 0; length < file.size(); ++length) {
            // Each prefix in a buffer of its own size, so that a read past it is caught.
            std::vector<std::uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
            DecodedImage image;
            std::string error;
            EXPECT_FALSE(DecodeImage(prefix.data(), prefix.size(), image, error)) << length;
            EXPECT_TRUE(image.rgba.empty());
        }
    }
}

TEST(ImageDecoder, LyingOrUnsupportedHeadersFailWithTheirReason)
{
    const std::string good = tarsel::tools::WriteDds(Blocks(8, 8), DdsFormat::BGRA8);
    auto decodeWith = [&](std::size_t offset, std::uint32_t value) {
        std::string file = good;
        Put32(file, offset, value);
        DecodedImage image;
        std::string error;
        const bool ok =
            DecodeImage(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), image, error, 4096);
        return ok ? std::string("decoded") : error;
    };
    // Offsets: height 12, width 16, mip count 28, pixel flags 80, FourCC 84, bit count 88.
    EXPECT_NE(decodeWith(12, 9).find("cut short"), std::string::npos);
    EXPECT_NE(decodeWith(16, 0xFFFFFFFFu).find("outside"), std::string::npos);
    EXPECT_NE(decodeWith(12, 0).find("outside"), std::string::npos);
    EXPECT_NE(decodeWith(16, 4097).find("outside"), std::string::npos);
    EXPECT_EQ(decodeWith(28, 0xFFFFFFFFu), "decoded"); // levels past the first are never read
    EXPECT_NE(decodeWith(88, 16).find("16 bits"), std::string::npos);
    EXPECT_NE(decodeWith(80, 0).find("not supported"), std::string::npos);
    EXPECT_NE(decodeWith(4, 100).find("wrong size"), std::string::npos);
    {
        std::string file = good;
        Put32(file, 80, 0x4);
        std::memcpy(file.data() + 84, "ATI2", 4);
        DecodedImage image;
        std::string error;
        EXPECT_FALSE(DecodeImage(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), image, error));
        EXPECT_NE(error.find("\"ATI2\""), std::string::npos) << error;
    }
    // A DX10 header naming a format or a dimension that is not a 2D texture of a known format.
    std::string dx10 = tarsel::tools::WriteDds(Blocks(4, 4), DdsFormat::BC1, DdsHeader::Dx10);
    std::string other = dx10;
    Put32(other, 128, 98); // BC7
    Decode(other, false);
    Put32(dx10, 132, 4); // 3D
    Decode(dx10, false);

    // PNG: not one, damaged data, and a chunk that claims more bytes than the file has.
    Decode("GIF89a..........", false);
    const std::string png = tarsel::tools::WritePng(Blocks(6, 6));
    std::string damaged = png;
    damaged[45] = static_cast<char>(damaged[45] ^ 0x5A);
    DecodedImage image;
    std::string error;
    EXPECT_FALSE(DecodeImage(reinterpret_cast<const std::uint8_t*>(damaged.data()), damaged.size(), image, error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    std::string lying = png;
    Put32(lying, 33, 0x44444444); // the first data chunk's length
    EXPECT_FALSE(DecodeImage(reinterpret_cast<const std::uint8_t*>(lying.data()), lying.size(), image, error));
    EXPECT_NE(error.find("runs past the end"), std::string::npos) << error;
}

TEST(ImageDecoder, ASizeTheFileCannotHoldIsRefusedBeforeAnythingIsAllocated)
{
    // 16384 x 16384 BC1 blocks would need 128 MiB of data: the file has 128 bytes.
    std::string file = tarsel::tools::WriteDds(Blocks(4, 4), DdsFormat::BC1);
    Put32(file, 12, 16384);
    Put32(file, 16, 16384);
    DecodedImage image;
    std::string error;
    EXPECT_FALSE(platform::DecodeDds(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), image, error));
    EXPECT_NE(error.find("cut short"), std::string::npos);
    EXPECT_EQ(image.rgba.capacity(), 0u);
}
