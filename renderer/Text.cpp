#include "renderer/Text.h"

#include "renderer/Font.h"
#include "renderer/RenderSystem.h"

namespace ZOR {

Text::Text() : Renderable(Type::Text) {}

void Text::SetFont(const std::string& name)
{
    if (m_owner == nullptr)
        return;
    m_font = m_owner->GetFont(name);
    m_owner->MarkTextListForSorting();
}

void Text::SetFontTexture(const std::string& name)
{
    m_fontTexture = name;
    if (m_owner != nullptr)
        m_owner->MarkTextListForSorting();
}

void Text::SetValue(const std::string& value)
{
    if (m_owner == nullptr || m_font == nullptr)
        return;
    m_value = value;
    m_dirty = true;
    m_vertices.clear();

    const std::uint32_t first = m_font->GetFirstCharacter();
    const std::uint32_t perRow = m_font->GetCellsPerRow();
    const std::uint32_t cellHeight = m_font->GetCellHeight();
    const std::uint32_t imageHeight = m_font->GetImageHeight();
    const float du = m_font->GetCellTextureWidth();
    const float dv = m_font->GetCellTextureHeight();
    const float w = static_cast<float>(m_font->GetCellWidth());
    const float h = static_cast<float>(m_font->GetLineHeight());
    if (perRow == 0)
        return;

    float x = 0.0f;
    for (const char byte : value) {
        const auto code = static_cast<std::uint8_t>(byte);
        if (code < first)
            continue;
        const std::uint32_t k = code - first;
        const std::uint32_t row = k / perRow;
        const std::uint32_t column = k - row * perRow;
        // A cell past the bottom of the image holds no glyph: drawing it would sample outside.
        if (static_cast<std::uint64_t>(row + 1) * cellHeight > imageHeight)
            continue;
        const float s0 = static_cast<float>(column) * du;
        const float s1 = s0 + du;
        const float t0 = static_cast<float>(row) * dv;
        const float t1 = t0 + dv;
        const TextVertex a{float2(x, 0.0f), float2(s0, t0)};
        const TextVertex b{float2(x + w, h), float2(s1, t1)};
        const TextVertex e{float2(x + w, 0.0f), float2(s1, t0)};
        const TextVertex d{float2(x, h), float2(s0, t1)};
        m_vertices.insert(m_vertices.end(), {a, b, e, a, d, b});
        x += static_cast<float>(m_font->GetCharacterWidth(code));
    }
}

} // namespace ZOR
