#include "tools/writers/FontBuilder.h"

#include "tools/writers/Contrast.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace tarsel::tools {

namespace {

constexpr std::uint32_t kCellsPerRow = 16;
constexpr std::uint8_t kFirstCell = 32;

} // namespace

std::uint32_t GameFontLine(std::uint32_t cell)
{
    // "5 / 5" is 1.93 lines wide in DejaVu Sans: a 52-pixel line makes it 99 pixels.
    return cell == 64 ? 52 : cell;
}

bool RasterizeFont(const std::vector<std::uint8_t>& ttf, std::uint32_t cell, std::uint8_t first, std::uint8_t last,
                   BitmapFont& out, std::uint32_t line)
{
    stbtt_fontinfo info;
    if (ttf.empty() || stbtt_GetFontOffsetForIndex(ttf.data(), 0) < 0 ||
        !stbtt_InitFont(&info, ttf.data(), stbtt_GetFontOffsetForIndex(ttf.data(), 0))) {
        std::fprintf(stderr, "cannot read the TrueType font data\n");
        return false;
    }
    const std::uint32_t side = cell * kCellsPerRow;
    BitmapFont font;
    font.imageWidth = side;
    font.imageHeight = side;
    font.cellWidth = cell;
    font.cellHeight = cell;
    font.bitsPerPixel = 32;
    font.firstCharacter = kFirstCell;
    font.pixels.assign(static_cast<std::size_t>(side) * side * 4, 0);
    for (std::size_t i = 0; i < font.pixels.size(); i += 4)
        font.pixels[i] = font.pixels[i + 1] = font.pixels[i + 2] = 255;

    // The line (ascent to descent) stands in the middle of the cell; the baseline sits at the
    // scaled ascent below the line's top.
    if (line == 0 || line > cell)
        line = cell;
    const float scale = stbtt_ScaleForPixelHeight(&info, static_cast<float>(line));
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    const int baseline = static_cast<int>((cell - line) / 2) + static_cast<int>(std::lround(ascent * scale));

    for (unsigned code = std::max<unsigned>(first, kFirstCell); code <= last && code < 256; ++code) {
        const int index = stbtt_FindGlyphIndex(&info, static_cast<int>(code));
        if (index == 0)
            continue;
        int advance = 0, bearing = 0;
        stbtt_GetGlyphHMetrics(&info, index, &advance, &bearing);
        font.widths[code] = static_cast<std::uint8_t>(std::clamp(std::lround(advance * scale), 0L, 127L));

        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetGlyphBitmapBox(&info, index, scale, scale, &x0, &y0, &x1, &y1);
        // Place the glyph at pen x = 0 on the baseline, shifted right if it would start left of
        // its cell, and clipped to the cell.
        const int left = std::max(0, x0);
        const int top = baseline + y0;
        const int width = std::min<int>(x1 - x0, static_cast<int>(cell) - left);
        const int clipTop = std::max(0, top);
        const int height = std::min<int>(y1 - y0 - (clipTop - top), static_cast<int>(cell) - clipTop);
        if (width <= 0 || height <= 0)
            continue;
        std::vector<unsigned char> full(static_cast<std::size_t>(x1 - x0) * static_cast<std::size_t>(y1 - y0));
        stbtt_MakeGlyphBitmap(&info, full.data(), x1 - x0, y1 - y0, x1 - x0, scale, scale, index);

        const std::uint32_t k = code - kFirstCell;
        const std::uint32_t cellX = (k % kCellsPerRow) * cell;
        const std::uint32_t cellY = (k / kCellsPerRow) * cell;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned char coverage = full[static_cast<std::size_t>(y + clipTop - top) * (x1 - x0) + x];
                const std::size_t pixel =
                    (static_cast<std::size_t>(cellY + clipTop + y) * side + cellX + left + x) * 4;
                font.pixels[pixel + 3] = coverage;
            }
        }
    }
    out = std::move(font);
    return true;
}

Image FontImage(const BitmapFont& font)
{
    Image image;
    image.width = font.imageWidth;
    image.height = font.imageHeight;
    image.rgba = font.pixels;
    return image;
}

namespace {

// A text's coverage at the font's own size, each line centred across the widest.
struct TextCoverage {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    std::uint32_t lineHeight = 1;
    std::vector<float> alpha;
};

TextCoverage Rasterize(const BitmapFont& font, const std::string& text)
{
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    const std::uint32_t cell = font.cellHeight;
    const std::uint32_t cellsPerRow = cell ? font.imageWidth / cell : 0;
    TextCoverage out;
    for (const std::string& line : lines) {
        std::uint32_t width = 0;
        for (const char c : line)
            width += font.widths[static_cast<std::uint8_t>(c)];
        out.width = std::max(out.width, width);
    }
    out.lineHeight = std::max<std::uint32_t>(1, cell);
    out.height = std::max<std::uint32_t>(1, cell * static_cast<std::uint32_t>(lines.size()));
    out.alpha.assign(std::size_t{out.width} * out.height, 0.0f);
    for (std::size_t row = 0; row < lines.size() && cellsPerRow; ++row) {
        std::uint32_t width = 0;
        for (const char c : lines[row])
            width += font.widths[static_cast<std::uint8_t>(c)];
        std::uint32_t penX = (out.width - width) / 2;
        for (const char c : lines[row]) {
            const std::uint8_t code = static_cast<std::uint8_t>(c);
            const std::uint32_t advance = font.widths[code];
            if (advance != 0 && code >= font.firstCharacter) {
                const std::uint32_t k = code - font.firstCharacter;
                const std::uint32_t cellX = (k % cellsPerRow) * cell, cellY = (k / cellsPerRow) * cell;
                for (std::uint32_t y = 0; y < cell && cellY + y < font.imageHeight; ++y)
                    for (std::uint32_t x = 0; x < advance && x < cell && penX + x < out.width; ++x)
                        out.alpha[(row * cell + y) * out.width + penX + x] =
                            font.pixels[((std::size_t{cellY} + y) * font.imageWidth + cellX + x) * 4 + 3] / 255.0f;
            }
            penX += advance;
        }
    }
    return out;
}

// The text's coverage of each image pixel, shrunk by scale (box-filtered) with its top-left
// corner at (left, top), kept where it is above what the map holds already.
void Cover(std::vector<float>& map, const Image& image, const TextCoverage& text, float scale, float left, float top)
{
    const float footprint = 1.0f / scale;
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            // The mean coverage of the text pixels under this image pixel.
            const float u0 = (static_cast<float>(x) - left) * footprint, v0 = (static_cast<float>(y) - top) * footprint;
            if (u0 + footprint <= 0.0f || v0 + footprint <= 0.0f || u0 >= static_cast<float>(text.width) ||
                v0 >= static_cast<float>(text.height))
                continue;
            float sum = 0.0f;
            int count = 0;
            for (float v = v0; v < v0 + footprint; v += 1.0f)
                for (float u = u0; u < u0 + footprint; u += 1.0f) {
                    ++count;
                    if (u >= 0.0f && v >= 0.0f && u < static_cast<float>(text.width) && v < static_cast<float>(text.height))
                        sum += text.alpha[static_cast<std::size_t>(v) * text.width + static_cast<std::size_t>(u)];
                }
            float& a = map[std::size_t{y} * image.width + x];
            a = std::max(a, count ? sum / static_cast<float>(count) : 0.0f);
        }
    }
}

// The coverage grown by radius pixels, its rim fading over one pixel.
std::vector<float> Grow(const std::vector<float>& map, const Image& image, float radius)
{
    std::vector<float> grown(map.size(), 0.0f);
    const int reach = static_cast<int>(std::ceil(radius + 0.5f));
    const int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float best = 0.0f;
            for (int dy = -reach; dy <= reach && best < 1.0f; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h)
                        continue;
                    const float rim = std::clamp(radius + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)), 0.0f, 1.0f);
                    best = std::max(best, rim * map[static_cast<std::size_t>(sy) * image.width + static_cast<std::size_t>(sx)]);
                }
            grown[static_cast<std::size_t>(y) * image.width + static_cast<std::size_t>(x)] = best;
        }
    return grown;
}

// Lays colour over the image with each pixel's coverage as its opacity ("over", straight alpha).
void Paint(Image& image, const std::vector<float>& map, const std::array<std::uint8_t, 4>& colour)
{
    for (std::size_t i = 0; i < map.size(); ++i) {
        const float a = map[i] * static_cast<float>(colour[3]) / 255.0f;
        if (a <= 0.0f)
            continue;
        std::uint8_t* p = image.rgba.data() + i * 4;
        const float below = static_cast<float>(p[3]) / 255.0f * (1.0f - a);
        const float out = a + below;
        for (int channel = 0; channel < 3; ++channel)
            p[channel] = static_cast<std::uint8_t>(
                std::lround((static_cast<float>(colour[static_cast<std::size_t>(channel)]) * a + static_cast<float>(p[channel]) * below) / out));
        p[3] = static_cast<std::uint8_t>(std::lround(out * 255.0f));
    }
}

// One run of text to draw: its coverage, the scale it is drawn at and its top-left corner.
struct Placed {
    TextCoverage coverage;
    float scale, left, top;
};

// The image with the texts in ink, outlined first where the back is clear.
Image Letter(Image image, const std::vector<Placed>& texts, const LabelStyle& style)
{
    std::vector<float> ink(std::size_t{image.width} * image.height, 0.0f);
    std::vector<float> outline(ink.size(), 0.0f);
    for (const Placed& text : texts) {
        std::vector<float> own(ink.size(), 0.0f);
        Cover(own, image, text.coverage, text.scale, text.left, text.top);
        if (style.back[3] == 0) {
            // About a fifteenth of a line: thick enough to frame a stroke, thin enough to keep
            // counters open.
            const float line = text.scale * static_cast<float>(text.coverage.lineHeight);
            const std::vector<float> grown = Grow(own, image, std::max(1.5f, line / 15.0f));
            for (std::size_t i = 0; i < ink.size(); ++i)
                outline[i] = std::max(outline[i], grown[i]);
        }
        for (std::size_t i = 0; i < ink.size(); ++i)
            ink[i] = std::max(ink[i], own[i]);
    }
    if (style.back[3] == 0) {
        const Rgb edge = ContrastingInk({style.ink[0], style.ink[1], style.ink[2]});
        Paint(image, outline, {edge[0], edge[1], edge[2], 255});
    }
    Paint(image, ink, style.ink);
    return image;
}

Image Backed(const LabelStyle& style)
{
    Image image;
    image.width = style.width;
    image.height = style.height;
    image.rgba.resize(std::size_t{image.width} * image.height * 4);
    for (std::size_t i = 0; i < image.rgba.size(); i += 4)
        std::copy(style.back.begin(), style.back.end(), image.rgba.begin() + static_cast<std::ptrdiff_t>(i));
    return image;
}

} // namespace

Image BuildLabel(const BitmapFont& font, const std::string& text, const LabelStyle& style)
{
    TextCoverage coverage = Rasterize(font, text);
    // Fitted into 90% of the width and 80% of the height, never enlarged.
    const float scale = std::min({1.0f, 0.9f * static_cast<float>(style.width) / static_cast<float>(coverage.width),
                                  0.8f * static_cast<float>(style.height) / static_cast<float>(coverage.height)});
    const float left = (static_cast<float>(style.width) - scale * static_cast<float>(coverage.width)) / 2.0f;
    const float top = (static_cast<float>(style.height) - scale * static_cast<float>(coverage.height)) / 2.0f;
    return Letter(Backed(style), {{std::move(coverage), scale, left, top}}, style);
}

Image BuildPanel(const BitmapFont& font, const std::vector<PanelLine>& lines, const LabelStyle& style)
{
    std::vector<Placed> texts;
    for (const PanelLine& line : lines) {
        TextCoverage coverage = Rasterize(font, line.text);
        const float scale = std::min(1.0f, line.height / static_cast<float>(coverage.height));
        const float width = scale * static_cast<float>(coverage.width);
        const float left = line.left < 0.0f ? (static_cast<float>(style.width) - width) / 2.0f : line.left;
        texts.push_back({std::move(coverage), scale, left, line.middle - line.height / 2.0f});
    }
    return Letter(Backed(style), texts, style);
}

Image BuildSunImage()
{
    constexpr std::uint32_t size = 128;
    Image image;
    image.width = size;
    image.height = size;
    image.rgba.resize(size * size * 4);
    constexpr float radius = 60.0f;
    constexpr float rim = 12.0f;
    for (std::uint32_t y = 0; y < size; ++y) {
        for (std::uint32_t x = 0; x < size; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - size / 2.0f;
            const float dy = static_cast<float>(y) + 0.5f - size / 2.0f;
            const float d = std::sqrt(dx * dx + dy * dy);
            const float a = std::clamp((radius - d) / rim, 0.0f, 1.0f);
            const float smooth = a * a * (3.0f - 2.0f * a);
            std::uint8_t* p = image.rgba.data() + (static_cast<std::size_t>(y) * size + x) * 4;
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<std::uint8_t>(std::lround(smooth * 255.0f));
        }
    }
    return image;
}

} // namespace tarsel::tools
