#pragma once
#include "renderer/Renderable.h"
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/Color.h"
#include "renderer/math/float2.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ZOR {

class Font;

// One vertex of a text quad: position in pixels relative to the text's position, and the texel
// coordinate in the font image.
struct TextVertex {
    float2 position;
    float2 texCoord;
};
static_assert(sizeof(TextVertex) == 16);

// A line of text on screen: its string as textured quads (six vertices a character) in pixels,
// which the text pass uploads and draws with the font texture at the text's position.
class Text : public Renderable {
public:
    Text();

    // Looks the font up in the owning render system (null when not loaded). Ignored before the
    // text is added to a render system.
    void SetFont(const std::string& name);
    void SetFontTexture(const std::string& name);
    // Rebuilds the quads. Ignored while the text has no render system or no font. A byte below
    // the font's first character, or whose cell lies outside the font image, adds nothing.
    void SetValue(const std::string& value);
    void SetColor(const Color& color) { m_color = color; }
    void SetColor(float r, float g, float b, float a) { m_color = Color(r, g, b, a); }
    void SetPosition(const float2& position) { m_position = position; }
    void SetPosition(float x, float y) { m_position = float2(x, y); }
    // -1: every screen.
    void SetScreenID(int screen) { m_screenId = screen; }

    const std::string& GetValue() const { return m_value; }
    const Color& GetColor() const { return m_color; }
    const float2& GetPosition() const { return m_position; }
    int GetScreenID() const { return m_screenId; }
    Font* GetFont() const { return m_font; }
    const std::string& GetFontTexture() const { return m_fontTexture; }
    Handle& GetVertexBuffer() { return m_vertexBuffer; }

    const std::vector<TextVertex>& GetVertices() const { return m_vertices; }
    bool IsDirty() const { return m_dirty; }
    void SetDirty(bool dirty) { m_dirty = dirty; }
    // How many vertices the vertex buffer was created for (0: no buffer yet).
    std::uint32_t GetBufferVertexCount() const { return m_bufferVertexCount; }
    void SetBufferVertexCount(std::uint32_t count) { m_bufferVertexCount = count; }

private:
    Font* m_font = nullptr;
    std::string m_fontTexture;
    std::string m_value;
    Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
    float2 m_position;
    bool m_dirty = false;
    std::vector<TextVertex> m_vertices;
    std::uint32_t m_bufferVertexCount = 0;
    Handle m_vertexBuffer;
    int m_screenId = -1;
};

} // namespace ZOR
