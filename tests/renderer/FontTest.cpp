#include "renderer/Font.h"

#include "tests/support/TempDir.h"
#include "tools/writers/FontWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <span>

namespace {

using tarsel::test::TempDir;
using tarsel::tools::BitmapFont;
using tarsel::tools::WriteBff;
using ZOR::Font;

BitmapFont MakeFont(std::uint32_t image, std::uint32_t cell)
{
    BitmapFont font;
    font.imageWidth = image;
    font.imageHeight = image;
    font.cellWidth = cell;
    font.cellHeight = cell;
    font.firstCharacter = 32;
    for (int c = 32; c < 127; ++c)
        font.widths[c] = static_cast<std::uint8_t>(c % 40 + 10);
    font.pixels.assign(static_cast<std::size_t>(image) * image * 4, 0xFF);
    return font;
}

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Font, SixtyFourPixelCellsInA1024ImageGiveTheDerivedMetrics)
{
    TempDir dir;
    BitmapFont written = MakeFont(1024, 64);
    written.cellHeight = 48; // line height follows the cell height, not the width
    dir.Write("font_64.bff", WriteBff(written));
    Font font;
    ASSERT_TRUE(font.Load((dir / "font_64.bff").string()));
    EXPECT_EQ(font.GetCellWidth(), 64u);
    EXPECT_EQ(font.GetCellHeight(), 48u);
    EXPECT_EQ(font.GetImageWidth(), 1024u);
    EXPECT_EQ(font.GetImageHeight(), 1024u);
    EXPECT_EQ(font.GetLineHeight(), 48u);
    EXPECT_EQ(font.GetCellsPerRow(), 16u);
    EXPECT_FLOAT_EQ(font.GetCellTextureWidth(), 0.0625f);
    EXPECT_FLOAT_EQ(font.GetCellTextureHeight(), 48.0f / 1024.0f);
    EXPECT_EQ(font.GetFirstCharacter(), 32);
    EXPECT_EQ(font.GetCharacterWidth('A'), 'A' % 40 + 10);
    EXPECT_EQ(font.GetCharacterWidth(200), 0);
}

TEST(Font, ReloadReplacesTheMetrics)
{
    Font font;
    ASSERT_TRUE(font.LoadFromMemory(Bytes(WriteBff(MakeFont(64, 8))), "a.bff"));
    ASSERT_TRUE(font.LoadFromMemory(Bytes(WriteBff(MakeFont(96, 32))), "b.bff"));
    EXPECT_EQ(font.GetCellWidth(), 32u);
    EXPECT_EQ(font.GetCellsPerRow(), 3u);
}

// Each malformed file logs one line, fails and leaves the previous font in place.
void ExpectRejected(const std::string& bytes, const char* reason)
{
    Font font;
    ASSERT_TRUE(font.LoadFromMemory(Bytes(WriteBff(MakeFont(64, 16))), "kept.bff"));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(font.LoadFromMemory(Bytes(bytes), "bad.bff")) << reason;
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log.rfind("Failed to load font \"bad.bff\": ", 0), 0u) << reason << ": " << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << reason;
    EXPECT_EQ(font.GetCellWidth(), 16u) << reason;
    EXPECT_EQ(font.GetCellsPerRow(), 4u) << reason;
}

TEST(Font, MalformedFilesAreRejected)
{
    const std::string valid = WriteBff(MakeFont(64, 16));
    std::string wrongFirst = valid;
    wrongFirst[0] = '\xBE';
    ExpectRejected(wrongFirst, "first byte");
    std::string wrongSecond = valid;
    wrongSecond[1] = '\xF1';
    ExpectRejected(wrongSecond, "second byte");

    BitmapFont zeroWidth = MakeFont(64, 16);
    zeroWidth.cellWidth = 0;
    ExpectRejected(WriteBff(zeroWidth), "zero cell width");
    BitmapFont zeroHeight = MakeFont(64, 16);
    zeroHeight.cellHeight = 0;
    ExpectRejected(WriteBff(zeroHeight), "zero cell height");
    BitmapFont narrow = MakeFont(64, 16);
    narrow.cellWidth = 65;
    ExpectRejected(WriteBff(narrow), "image narrower than a cell");
    BitmapFont low = MakeFont(64, 16);
    low.cellHeight = 80;
    ExpectRejected(WriteBff(low), "image lower than a cell");

    // Lying image sizes: far more pixels than the file holds.
    BitmapFont huge = MakeFont(64, 16);
    huge.imageWidth = 0xFFFFFFFFu;
    huge.imageHeight = 0xFFFFFFFFu;
    ExpectRejected(WriteBff(huge), "huge image");
}

TEST(Font, EveryTruncationFails)
{
    const std::string bytes = WriteBff(MakeFont(32, 8));
    for (std::size_t size = 0; size < bytes.size(); ++size)
        ExpectRejected(bytes.substr(0, size), "truncated");
}

TEST(Font, UnopenableFileFailsSilently)
{
    TempDir dir;
    Font font;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(font.Load((dir / "none.bff").string()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(font.GetCellWidth(), 0u);
}

} // namespace
