#include "tools/writers/ShapeBuilder.h"

#include <algorithm>
#include <cmath>

namespace tarsel::tools {

namespace {

using ZOR::float3;

float3 Rotate(const ZOR::float3x3& r, const float3& v)
{
    return float3(r.m[0] * v.x + r.m[1] * v.y + r.m[2] * v.z, r.m[3] * v.x + r.m[4] * v.y + r.m[5] * v.z,
                  r.m[6] * v.x + r.m[7] * v.y + r.m[8] * v.z);
}

float3 Centroid(const std::vector<float3>& points)
{
    float3 sum;
    for (const float3& p : points)
        sum += p;
    return sum / static_cast<float>(points.size());
}

// Adds a flat convex polygon as a fan of triangles, turned so that they run counter-clockwise
// seen from outside (from the side away from the piece's centroid).
void AddFace(ShapePiece& piece, std::vector<std::uint32_t> corners)
{
    const float3 inside = Centroid(piece.vertices);
    const float3& a = piece.vertices[corners[0]];
    const float3& b = piece.vertices[corners[1]];
    const float3& c = piece.vertices[corners[2]];
    if ((b - a).Cross(c - a).Dot(a - inside) < 0.0f)
        std::reverse(corners.begin(), corners.end());
    for (std::size_t i = 1; i + 1 < corners.size(); ++i)
        piece.indices.insert(piece.indices.end(), {corners[0], corners[i], corners[i + 1]});
}

} // namespace

ShapePiece BoxPiece(const float3& center, const float3& halfExtents)
{
    return OrientedBoxPiece(center, halfExtents, ZOR::float3x3());
}

ShapePiece OrientedBoxPiece(const float3& center, const float3& halfExtents, const ZOR::float3x3& rotation)
{
    ShapePiece piece;
    // Corner i has +x when bit 0 is set, +y for bit 1, +z for bit 2.
    for (std::uint32_t i = 0; i < 8; ++i) {
        const float3 local((i & 1) ? halfExtents.x : -halfExtents.x, (i & 2) ? halfExtents.y : -halfExtents.y,
                           (i & 4) ? halfExtents.z : -halfExtents.z);
        piece.vertices.push_back(center + Rotate(rotation, local));
    }
    AddFace(piece, {0, 2, 6, 4}); // -x
    AddFace(piece, {1, 3, 7, 5}); // +x
    AddFace(piece, {0, 1, 5, 4}); // -y
    AddFace(piece, {2, 3, 7, 6}); // +y
    AddFace(piece, {0, 1, 3, 2}); // -z
    AddFace(piece, {4, 5, 7, 6}); // +z
    return piece;
}

ShapePiece WedgePiece(const float3& center, const float3& halfExtents)
{
    const float3& e = halfExtents;
    ShapePiece piece;
    piece.vertices = {
        center + float3(-e.x, -e.y, -e.z), // 0 low edge
        center + float3(-e.x, -e.y, e.z),  // 1 low edge
        center + float3(e.x, -e.y, -e.z),  // 2 foot of the wall
        center + float3(e.x, -e.y, e.z),   // 3 foot of the wall
        center + float3(e.x, e.y, -e.z),   // 4 top edge
        center + float3(e.x, e.y, e.z),    // 5 top edge
    };
    AddFace(piece, {0, 2, 3, 1}); // floor
    AddFace(piece, {2, 4, 5, 3}); // wall
    AddFace(piece, {0, 1, 5, 4}); // slope
    AddFace(piece, {0, 2, 4});    // side -z
    AddFace(piece, {1, 3, 5});    // side +z
    return piece;
}

ShapePiece PrismPiece(const float3& center, float radius, float halfHeight, unsigned sides)
{
    sides = std::max(sides, 3u);
    ShapePiece piece;
    for (unsigned i = 0; i < sides; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / static_cast<float>(sides);
        const float x = radius * std::cos(angle);
        const float z = radius * std::sin(angle);
        piece.vertices.push_back(center + float3(x, -halfHeight, z)); // 2i: bottom
        piece.vertices.push_back(center + float3(x, halfHeight, z));  // 2i + 1: top
    }
    std::vector<std::uint32_t> bottom, top;
    for (unsigned i = 0; i < sides; ++i) {
        bottom.push_back(2 * i);
        top.push_back(2 * i + 1);
        const std::uint32_t j = (i + 1) % sides;
        AddFace(piece, {2 * i, 2 * j, 2 * j + 1, 2 * i + 1});
    }
    AddFace(piece, bottom);
    AddFace(piece, top);
    return piece;
}

ZOR::float3x3 RotationY(float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return ZOR::float3x3(c, 0.0f, s, 0.0f, 1.0f, 0.0f, -s, 0.0f, c);
}

} // namespace tarsel::tools
