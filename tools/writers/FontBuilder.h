#pragma once
#include "tools/writers/FontWriter.h"
#include "tools/writers/ImageWriter.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

// The TrueType font the game's bitmap fonts are rasterised from.
inline const char* const kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Rasterises the codes first..last of a TrueType font into cells of cell x cell pixels, 16 cells
// per row in a square image of side 16 x cell, first character code 32: white pixels with the
// glyph's coverage in alpha. The font's line (ascent to descent) is line pixels high (0: the
// whole cell) and stands in the middle of the cell. A code's width is its rounded advance (at
// most 127), 0 for codes outside first..last or without a glyph. Returns false, with a line on
// stderr, when the font data cannot be read.
bool RasterizeFont(const std::vector<std::uint8_t>& ttf, std::uint32_t cell, std::uint8_t first, std::uint8_t last,
                   BitmapFont& out, std::uint32_t line = 0);

// The line height the game's font of a cell size is drawn with. font_64 draws a smaller line
// than its cell: the score read-out ("5 / 5", drawn in the font's pixels with its left edge 117
// units from its view's right edge) must fit inside its view with room to spare.
std::uint32_t GameFontLine(std::uint32_t cell);

// The image of a bitmap font, for writing it as a texture.
Image FontImage(const BitmapFont& font);

// A label: text in ink, centred on a back colour, each '\n' starting a line. The text is drawn
// from the font's glyphs and shrunk (box-filtered) until it fits within the image's margins.
// On a clear back (alpha 0) the letters get an outline in the colour that stands out most
// against the ink, so that they read over whatever the scene shows behind them.
struct LabelStyle {
    std::uint32_t width = 256;
    std::uint32_t height = 64;
    std::array<std::uint8_t, 4> back{0, 0, 0, 0};
    std::array<std::uint8_t, 4> ink{255, 255, 255, 255};
};
Image BuildLabel(const BitmapFont& font, const std::string& text, const LabelStyle& style);

// A line of a panel placed on its picture: the text's left edge (negative: centred across the
// picture), the middle of the line and the line's height, in the picture's pixels.
struct PanelLine {
    std::string text;
    float left = -1.0f;
    float middle = 0.0f;
    float height = 16.0f;
};
// A panel: the style's size and back with each line drawn in ink where it stands, for pictures
// whose entries must sit beside marks the game places on them.
Image BuildPanel(const BitmapFont& font, const std::vector<PanelLine>& lines, const LabelStyle& style);

// The sun texture: a 128 x 128 white disc whose alpha fades out over its rim.
Image BuildSunImage();

} // namespace tarsel::tools
