#include "renderer/Font.h"
#include "renderer/RenderSystem.h"
#include "renderer/Text.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/TempDir.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using tarsel::test::RecordingRenderContext;

std::string FontPath(const std::string& name)
{
    return (tarsel::test::ContentDir() / "fonts" / name).string();
}

class TextTest : public ::testing::Test {
protected:
    TextTest() : context(std::make_shared<RecordingRenderContext>()), system(context, window) {}

    platform::NativeWindow* window = nullptr;
    std::shared_ptr<RecordingRenderContext> context;
    ZOR::RenderSystem system;
};

void ExpectVertex(const ZOR::TextVertex& v, float x, float y, float s, float t)
{
    EXPECT_FLOAT_EQ(v.position.x, x);
    EXPECT_FLOAT_EQ(v.position.y, y);
    EXPECT_FLOAT_EQ(v.texCoord.x, s);
    EXPECT_FLOAT_EQ(v.texCoord.y, t);
}

TEST_F(TextTest, TwoLettersBecomeTwoQuadsInTheDocumentedCornerOrder)
{
    ASSERT_TRUE(system.LoadFont(FontPath("font_64.bff")));
    const ZOR::Font* font = system.GetFont("font_64.bff");
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->GetFirstCharacter(), 32);
    ZOR::Text text;
    system.AddRenderable(&text);
    EXPECT_TRUE(system.TextListNeedsSorting());
    text.SetFont("font_64.bff");
    ASSERT_EQ(text.GetFont(), font);
    text.SetValue("AB");
    ASSERT_EQ(text.GetVertices().size(), 12u);
    EXPECT_TRUE(text.IsDirty());

    const std::uint32_t perRow = font->GetCellsPerRow();
    const float du = font->GetCellTextureWidth();
    const float dv = font->GetCellTextureHeight();
    const float w = static_cast<float>(font->GetCellWidth());
    const float h = static_cast<float>(font->GetLineHeight());
    const auto quad = [&](std::size_t first, char c, float x) {
        const std::uint32_t k = static_cast<std::uint32_t>(c) - 32u;
        const float s0 = static_cast<float>(k % perRow) * du;
        const float t0 = static_cast<float>(k / perRow) * dv;
        const auto& v = text.GetVertices();
        ExpectVertex(v[first + 0], x, 0.0f, s0, t0);         // A
        ExpectVertex(v[first + 1], x + w, h, s0 + du, t0 + dv); // B
        ExpectVertex(v[first + 2], x + w, 0.0f, s0 + du, t0);  // E
        ExpectVertex(v[first + 3], x, 0.0f, s0, t0);         // A
        ExpectVertex(v[first + 4], x, h, s0, t0 + dv);        // D
        ExpectVertex(v[first + 5], x + w, h, s0 + du, t0 + dv); // B
    };
    quad(0, 'A', 0.0f);
    quad(6, 'B', static_cast<float>(font->GetCharacterWidth('A')));
    system.RemoveRenderable(&text);
}

TEST_F(TextTest, EmptyStringsAndBytesOutsideTheFont)
{
    ASSERT_TRUE(system.LoadFont(FontPath("font_32.bff")));
    ZOR::Text text;
    text.SetValue("ignored");
    EXPECT_EQ(text.GetValue(), "") << "no render system yet";
    system.AddRenderable(&text);
    text.SetValue("ignored");
    EXPECT_EQ(text.GetValue(), "") << "no font yet";
    text.SetFont("font_32.bff");
    text.SetValue("ab");
    text.SetDirty(false);
    text.SetValue("");
    EXPECT_TRUE(text.GetVertices().empty());
    EXPECT_TRUE(text.IsDirty());

    // Below the first character: nothing, no advance; a byte above 127 is a code, not negative.
    text.SetValue(std::string("\x01" "a" "\xA0" "b", 4));
    ASSERT_EQ(text.GetVertices().size(), 18u);
    EXPECT_FLOAT_EQ(text.GetVertices()[6].position.x,
                    static_cast<float>(system.GetFont("font_32.bff")->GetCharacterWidth('a')));
    EXPECT_GT(text.GetVertices()[6].texCoord.y, text.GetVertices()[0].texCoord.y);
    system.RemoveRenderable(&text);
}

TEST_F(TextTest, CharactersWhoseCellLiesPastTheImageAddNothing)
{
    // Two 32x32 cells in a 64x32 image: only codes 32 and 33 have a glyph.
    std::string bytes("\xBF\xF2", 2);
    for (std::uint32_t value : {64u, 32u, 32u, 32u})
        bytes.append(reinterpret_cast<const char*>(&value), 4);
    bytes.push_back(8);
    bytes.push_back(32);
    bytes.append(256, '\x0A');
    bytes.append(64 * 32, '\0');
    tarsel::test::TempDir folder;
    folder.Write("tiny.bff", bytes);
    ASSERT_TRUE(system.LoadFont((folder / "tiny.bff").string()));
    ZOR::Text text;
    system.AddRenderable(&text);
    text.SetFont("tiny.bff");
    text.SetValue(" A!");
    ASSERT_EQ(text.GetVertices().size(), 12u);
    EXPECT_FLOAT_EQ(text.GetVertices()[6].position.x, 10.0f);
    EXPECT_FLOAT_EQ(text.GetVertices()[6].texCoord.x, 0.5f);
    system.RemoveRenderable(&text);
}

TEST_F(TextTest, ARemovedTextGivesBackItsVertexBufferAndRebuildsItWhenAddedAgain)
{
    ASSERT_TRUE(system.LoadFont(FontPath("font_32.bff")));
    ZOR::Text text;
    system.AddRenderable(&text);
    text.SetFont("font_32.bff");
    text.SetValue("ab");
    system.PrepareOverlays();
    ASSERT_TRUE(text.GetVertexBuffer());
    const std::string release = "Release({8, " + std::to_string(*text.GetVertexBuffer()) + "})";
    EXPECT_FALSE(text.IsDirty());

    system.RemoveRenderable(&text);
    EXPECT_FALSE(text.GetVertexBuffer());
    EXPECT_EQ(context->Calls().back(), release);
    EXPECT_TRUE(system.GetTextList().empty());
    // Removing it again changes nothing.
    const std::size_t calls = context->Calls().size();
    system.RemoveRenderable(&text);
    EXPECT_EQ(context->Calls().size(), calls);

    system.AddRenderable(&text);
    system.PrepareOverlays();
    EXPECT_TRUE(text.GetVertexBuffer());
    EXPECT_EQ(text.GetBufferVertexCount(), 12u);
    system.RemoveRenderable(&text);
}

} // namespace
