#include "tools/writers/FontWriter.h"

#include "tools/writers/FileWriting.h"

namespace tarsel::tools {

std::string WriteBff(const BitmapFont& font)
{
    std::string out;
    out.push_back(static_cast<char>(0xBF));
    out.push_back(static_cast<char>(0xF2));
    Append(out, font.imageWidth);
    Append(out, font.imageHeight);
    Append(out, font.cellWidth);
    Append(out, font.cellHeight);
    Append(out, font.bitsPerPixel);
    Append(out, font.firstCharacter);
    Append(out, font.widths);
    out.append(reinterpret_cast<const char*>(font.pixels.data()), font.pixels.size());
    return out;
}

} // namespace tarsel::tools
