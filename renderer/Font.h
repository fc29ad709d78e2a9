#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ZOR {

// Metrics of a fixed-cell bitmap font read from a BFF2 file. The glyph image is not kept: texts
// name a separate texture file for it.
class Font {
public:
    struct Metrics {
        std::uint32_t cellWidth;
        std::uint32_t cellHeight;
        std::uint32_t imageWidth;
        std::uint32_t imageHeight;
        std::uint32_t lineHeight;        // the cell height
        std::uint32_t cellsPerRow;       // image width / cell width
        float cellTextureHeight;         // cell height / image height
        float cellTextureWidth;          // cell width / image width
        std::uint8_t firstCharacter;
        std::uint8_t characterWidths[256];
    };

    // Reads a BFF2 file. An unopenable file returns false silently; a malformed one logs why.
    // On failure the font keeps what it had.
    bool Load(const std::string& path);
    // The same from bytes already in memory; path is for the log lines.
    bool LoadFromMemory(std::span<const std::uint8_t> bytes, const std::string& path);

    // Every accessor returns 0 while no font is loaded.
    std::uint32_t GetCellWidth() const { return m_metrics ? m_metrics->cellWidth : 0; }
    std::uint32_t GetCellHeight() const { return m_metrics ? m_metrics->cellHeight : 0; }
    std::uint32_t GetImageWidth() const { return m_metrics ? m_metrics->imageWidth : 0; }
    std::uint32_t GetImageHeight() const { return m_metrics ? m_metrics->imageHeight : 0; }
    std::uint32_t GetLineHeight() const { return m_metrics ? m_metrics->lineHeight : 0; }
    std::uint32_t GetCellsPerRow() const { return m_metrics ? m_metrics->cellsPerRow : 0; }
    float GetCellTextureWidth() const { return m_metrics ? m_metrics->cellTextureWidth : 0.0f; }
    float GetCellTextureHeight() const { return m_metrics ? m_metrics->cellTextureHeight : 0.0f; }
    std::uint8_t GetFirstCharacter() const { return m_metrics ? m_metrics->firstCharacter : 0; }
    std::uint8_t GetCharacterWidth(std::uint8_t code) const
    {
        return m_metrics ? m_metrics->characterWidths[code] : 0;
    }

private:
    std::unique_ptr<Metrics> m_metrics;
};

} // namespace ZOR
