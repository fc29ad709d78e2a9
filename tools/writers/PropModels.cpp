#include "tools/writers/PropModels.h"

#include "tools/writers/MeshBuilder.h"

#include <cmath>
#include <algorithm>
#include <functional>

namespace tarsel::tools {

using ZOR::float3;
using ZOR::float4;
using ZOR::float4x4;

namespace {

struct Glyph {
    char c;
    const char* rows[7];
};

const Glyph kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {'x', {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
};

float4x4 Translation(const float3& t)
{
    return float4x4(1.0f, 0.0f, 0.0f, t.x, 0.0f, 1.0f, 0.0f, t.y, 0.0f, 0.0f, 1.0f, t.z, 0.0f, 0.0f, 0.0f, 1.0f);
}

ModelDescription Boxes(std::initializer_list<std::pair<float3, float3>> boxes)
{
    ModelDescription model;
    for (const auto& [center, half] : boxes)
        AddBox(model.vertices, center, half);
    return model;
}

} // namespace

ModelDescription BuildBlockText(const std::string& text)
{
    constexpr float dot = 1.0f / 7.0f;
    constexpr float advance = 6.0f * dot;
    ModelDescription model;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph* glyph = nullptr;
        for (const Glyph& candidate : kGlyphs)
            if (candidate.c == text[i])
                glyph = &candidate;
        if (!glyph)
            continue;
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column)
                if (glyph->rows[row][column] == '#')
                    AddBox(model.vertices,
                           float3(advance * static_cast<float>(i) + dot * (static_cast<float>(column) + 0.5f),
                                  1.0f - dot * (static_cast<float>(row) + 0.5f), 0.0f),
                           float3(dot / 2.0f, dot / 2.0f, 0.075f));
    }
    return model;
}

ModelDescription BuildArrow()
{
    // A shaft and a head stepped down to its point at x = -2.
    return Boxes({{float3(0.6f, 0.0f, 0.0f), float3(1.4f, 0.25f, 0.2f)},
                  {float3(-1.0f, 0.0f, 0.0f), float3(0.2f, 0.9f, 0.2f)},
                  {float3(-1.4f, 0.0f, 0.0f), float3(0.2f, 0.6f, 0.2f)},
                  {float3(-1.8f, 0.0f, 0.0f), float3(0.2f, 0.3f, 0.2f)}});
}

ModelDescription BuildCheckmark()
{
    ModelDescription model;
    constexpr float unit = 5.0f;
    // Two strokes of dots: the short one down to the right, the long one up to the right.
    for (int i = 0; i < 3; ++i)
        AddBox(model.vertices, float3(-0.45f + 0.12f * static_cast<float>(i), -0.12f * static_cast<float>(i), 0.0f) * unit,
               float3(0.08f, 0.08f, 0.08f) * unit);
    for (int i = 1; i < 7; ++i)
        AddBox(model.vertices, float3(-0.21f + 0.11f * static_cast<float>(i), -0.24f + 0.13f * static_cast<float>(i), 0.0f) * unit,
               float3(0.08f, 0.08f, 0.08f) * unit);
    return model;
}

ModelDescription BuildHair(bool tall)
{
    if (!tall)
        return Boxes({{float3(0.0f, 16.1f, -0.1f), float3(1.1f, 0.25f, 1.1f)},
                      {float3(0.0f, 15.4f, -1.0f), float3(1.1f, 0.6f, 0.2f)}});
    return Boxes({{float3(0.0f, 16.3f, -0.1f), float3(1.1f, 0.4f, 1.1f)},
                  {float3(0.0f, 17.0f, -0.4f), float3(0.4f, 0.5f, 0.4f)},
                  {float3(0.0f, 15.0f, -1.2f), float3(0.5f, 1.2f, 0.25f)}});
}

ModelDescription BuildMask(MaskShape shape)
{
    ModelDescription model = Boxes({{float3(0.0f, 15.2f, 1.05f), float3(0.95f, 0.55f, 0.1f)}});
    if (shape == MaskShape::Fox) {
        AddBox(model.vertices, float3(0.0f, 14.9f, 1.4f), float3(0.3f, 0.25f, 0.3f));
        AddBox(model.vertices, float3(0.7f, 16.2f, 0.4f), float3(0.25f, 0.4f, 0.15f));
        AddBox(model.vertices, float3(-0.7f, 16.2f, 0.4f), float3(0.25f, 0.4f, 0.15f));
    } else if (shape == MaskShape::Bunny) {
        AddBox(model.vertices, float3(0.4f, 16.9f, 0.2f), float3(0.2f, 1.0f, 0.12f));
        AddBox(model.vertices, float3(-0.4f, 16.9f, 0.2f), float3(0.2f, 1.0f, 0.12f));
    }
    return model;
}

ModelDescription BuildFeather()
{
    return Boxes({{float3(0.0f, 2.0f, 0.0f), float3(0.08f, 2.0f, 0.08f)},
                  {float3(0.0f, 2.5f, 0.0f), float3(0.6f, 1.4f, 0.05f)}});
}

ModelDescription BuildCrate() { return Boxes({{float3(0.0f, 3.0f, 0.0f), float3(3.0f, 3.0f, 3.0f)}}); }

ModelDescription BuildBoard() { return Boxes({{float3(0.0f, 0.0f, 0.0f), float3(0.5f, 0.5f, 0.01f)}}); }

ModelDescription BuildHingedPiece(const float3& baseCenter, const float3& baseHalf, const float3& partCenter, const float3& partHalf,
                                  const float3& pivot)
{
    ModelDescription model;
    model.skinned = true;
    model.nodes.push_back(MakeNode(-1, Translation(float3(0.0f, 0.0f, 0.0f))));
    model.nodes.push_back(MakeNode(0, Translation(pivot)));
    for (std::uint32_t i = 0; i < 2; ++i) {
        ZOR::Skeleton::Bone bone;
        bone.node = i;
        bone.parent = i == 0 ? 2u : 0u;
        bone.offset = Translation(i == 0 ? float3(0.0f, 0.0f, 0.0f) : -pivot);
        model.bones.push_back(bone);
    }
    model.names = {"base", "part"};
    AddBox(model.vertices, baseCenter, baseHalf, 0);
    AddBox(model.vertices, partCenter, partHalf, 1);
    return model;
}

namespace {

ClipDescription TwoBoneClip(const float3& pivot, float seconds, unsigned keys,
                            const std::function<void(float, float3&, float4&)>& pose)
{
    ClipDescription clip;
    clip.ticksPerSecond = 30.0f;
    clip.duration = std::max(1.0f, seconds * 30.0f);
    ZOR::Animation::Track base;
    base.id = 0;
    base.positionKeys.push_back({0.0f, float3(0.0f, 0.0f, 0.0f)});
    base.rotationKeys.push_back({0.0f, float4(0.0f, 0.0f, 0.0f, 1.0f)});
    ZOR::Animation::Track part;
    part.id = 1;
    for (unsigned k = 0; k < keys; ++k) {
        const float along = keys == 1 ? 0.0f : static_cast<float>(k) / static_cast<float>(keys - 1);
        float3 offset(0.0f, 0.0f, 0.0f);
        float4 rotation(0.0f, 0.0f, 0.0f, 1.0f);
        pose(along, offset, rotation);
        part.positionKeys.push_back({clip.duration * along, pivot + offset});
        part.rotationKeys.push_back({clip.duration * along, rotation});
    }
    clip.tracks = {base, part};
    return clip;
}

} // namespace

ClipDescription BuildHingeClip(const float3& pivot, float from, float to, float seconds)
{
    return TwoBoneClip(pivot, seconds, from == to ? 1 : 5, [&](float along, float3&, float4& rotation) {
        const float angle = from + (to - from) * along;
        rotation = float4(std::sin(angle / 2.0f), 0.0f, 0.0f, std::cos(angle / 2.0f));
    });
}

ClipDescription BuildStampClip(const float3& pivot, float lift, float seconds)
{
    return TwoBoneClip(pivot, seconds, 9, [&](float along, float3& offset, float4&) {
        offset.y = lift * std::sin(3.14159265f * along);
    });
}

} // namespace tarsel::tools
