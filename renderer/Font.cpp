#include "renderer/Font.h"

#include "renderer/ByteReader.h"
#include "renderer/dx11/RenderContext.h"

#include <cstring>

namespace ZOR {

namespace {

constexpr std::size_t kHeaderSize = 276;

} // namespace

bool Font::Load(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    switch (ReadFileBytes(path, bytes)) {
    case FileReadResult::CannotOpen:
        return false;
    case FileReadResult::ReadError:
        Log("Failed to load font \"%s\": the file cannot be read", path.c_str());
        return false;
    case FileReadResult::Ok:
        break;
    }
    return LoadFromMemory(bytes, path);
}

bool Font::LoadFromMemory(std::span<const std::uint8_t> bytes, const std::string& path)
{
    const auto fail = [&path](const char* reason) {
        Log("Failed to load font \"%s\": %s", path.c_str(), reason);
        return false;
    };
    if (bytes.size() < 2 || bytes[0] != 0xBF || bytes[1] != 0xF2)
        return fail("not a BFF2 bitmap font");
    if (bytes.size() < kHeaderSize)
        return fail("the header is cut short");

    auto metrics = std::make_unique<Metrics>();
    ByteReader reader(bytes.subspan(2));
    std::uint8_t bitsPerPixel = 0;
    reader.Read(metrics->imageWidth);
    reader.Read(metrics->imageHeight);
    reader.Read(metrics->cellWidth);
    reader.Read(metrics->cellHeight);
    reader.Read(bitsPerPixel);
    reader.Read(metrics->firstCharacter);
    reader.Read(metrics->characterWidths);

    // Cells per row divides by the cell width, and a glyph lookup needs at least one whole cell.
    if (metrics->cellWidth == 0 || metrics->cellHeight == 0)
        return fail("the cell size is zero");
    if (metrics->imageWidth < metrics->cellWidth || metrics->imageHeight < metrics->cellHeight)
        return fail("the image is smaller than one cell");
    // The pixels are not used here, but a file that does not hold them all is cut short.
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(metrics->imageWidth) * bitsPerPixel + 7) / 8;
    if (!reader.Has(metrics->imageHeight, rowBytes))
        return fail("the image is cut short");

    metrics->lineHeight = metrics->cellHeight;
    metrics->cellsPerRow = metrics->imageWidth / metrics->cellWidth;
    metrics->cellTextureHeight = static_cast<float>(metrics->cellHeight) / static_cast<float>(metrics->imageHeight);
    metrics->cellTextureWidth = static_cast<float>(metrics->cellWidth) / static_cast<float>(metrics->imageWidth);
    m_metrics = std::move(metrics);
    return true;
}

} // namespace ZOR
