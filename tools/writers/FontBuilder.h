#pragma once
#include "tools/writers/FontWriter.h"
#include "tools/writers/ImageWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

// The TrueType font the game's bitmap fonts are rasterised from.
inline const char* const kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Rasterises the codes first..last of a TrueType font into cells of cell x cell pixels, 16 cells
// per row in a square image of side 16 x cell, first character code 32: white pixels with the
// glyph's coverage in alpha. A code's width is its rounded advance (at most 127), 0 for codes
// outside first..last or without a glyph. Returns false, with a line on stderr, when the font
// data cannot be read.
bool RasterizeFont(const std::vector<std::uint8_t>& ttf, std::uint32_t cell, std::uint8_t first, std::uint8_t last,
                   BitmapFont& out);

// The image of a bitmap font, for writing it as a texture.
Image FontImage(const BitmapFont& font);

// The sun texture: a 128 x 128 white disc whose alpha fades out over its rim.
Image BuildSunImage();

} // namespace tarsel::tools
