#include "physics/CheckShapePiece3D.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quellor {

namespace {

// Doubles throughout: a piece far from its origin or of mixed sizes should not fail on
// rounding alone.
struct D3 {
    double x = 0.0, y = 0.0, z = 0.0;
    D3 operator-(const D3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    D3 operator+(const D3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    D3 operator*(double s) const { return {x * s, y * s, z * s}; }
    double Dot(const D3& o) const { return x * o.x + y * o.y + z * o.z; }
    D3 Cross(const D3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double Length() const { return std::sqrt(Dot(*this)); }
};

ShapePieceCheck3D Refuse(std::string reason)
{
    ShapePieceCheck3D check;
    check.reason = std::move(reason);
    return check;
}

std::string Str(std::size_t value)
{
    return std::to_string(value);
}

} // namespace

ShapePieceCheck3D CheckShapePiece3D(const std::vector<ZOR::float3>& vertices,
                                    const std::vector<std::uint32_t>& indices)
{
    const std::size_t k = vertices.size();
    const std::size_t m = indices.size();
    if (k < 4)
        return Refuse(Str(k) + " vertices, fewer than 4");
    if (k > kMaxShapePieceVertices)
        return Refuse(Str(k) + " vertices, more than " + Str(kMaxShapePieceVertices));
    if (m % 3 != 0)
        return Refuse(Str(m) + " indices, not whole triangles");
    if (m < 12)
        return Refuse(Str(m) + " indices, fewer than 4 triangles");

    std::vector<D3> points(k);
    for (std::size_t v = 0; v < k; ++v) {
        const ZOR::float3& p = vertices[v];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return Refuse("vertex " + Str(v) + " is not a finite point");
        if (std::fabs(p.x) > kMaxShapeCoordinate || std::fabs(p.y) > kMaxShapeCoordinate ||
            std::fabs(p.z) > kMaxShapeCoordinate)
            return Refuse("vertex " + Str(v) + " lies too far out");
        points[v] = {p.x, p.y, p.z};
    }

    const std::size_t triangles = m / 3;
    std::vector<bool> used(k, false);
    for (std::size_t i = 0; i < m; ++i) {
        if (indices[i] >= k)
            return Refuse("index " + Str(i) + " is " + Str(indices[i]) + ", beyond the " + Str(k) + " vertices");
        used[indices[i]] = true;
    }
    for (std::size_t t = 0; t < triangles; ++t) {
        const std::uint32_t a = indices[3 * t], b = indices[3 * t + 1], c = indices[3 * t + 2];
        if (a == b || b == c || c == a)
            return Refuse("triangle " + Str(t) + " names one vertex twice");
    }
    for (std::size_t v = 0; v < k; ++v) {
        if (!used[v])
            return Refuse("vertex " + Str(v) + " is not used by any triangle");
    }

    // Closed and consistently oriented: every directed edge once, and its reverse once.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> edges;
    edges.reserve(m);
    for (std::size_t t = 0; t < triangles; ++t) {
        const std::uint32_t a = indices[3 * t], b = indices[3 * t + 1], c = indices[3 * t + 2];
        edges.emplace_back(a, b);
        edges.emplace_back(b, c);
        edges.emplace_back(c, a);
    }
    std::sort(edges.begin(), edges.end());
    for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
        if (edges[e] == edges[e + 1])
            return Refuse("edge " + Str(edges[e].first) + "->" + Str(edges[e].second) +
                          " belongs to two triangles: the winding is not consistent");
    }
    for (const auto& edge : edges) {
        if (!std::binary_search(edges.begin(), edges.end(), std::make_pair(edge.second, edge.first)))
            return Refuse("edge " + Str(edge.first) + "->" + Str(edge.second) +
                          " has no opposite edge: the surface is open");
    }

    D3 low = points[0], high = points[0], centre;
    for (const D3& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        centre = centre + p;
    }
    centre = centre * (1.0 / static_cast<double>(k));
    const double size = (high - low).Length();
    if (!(size > 0.0) || !std::isfinite(size))
        return Refuse("no extent");
    const double tolerance = kShapePieceTolerance * size;

    for (std::size_t a = 0; a < k; ++a) {
        for (std::size_t b = a + 1; b < k; ++b) {
            if ((points[a] - points[b]).Length() <= tolerance)
                return Refuse("vertices " + Str(a) + " and " + Str(b) + " share a position");
        }
    }

    std::vector<D3> normals(triangles);
    double volume = 0.0;
    for (std::size_t t = 0; t < triangles; ++t) {
        const D3& a = points[indices[3 * t]];
        const D3& b = points[indices[3 * t + 1]];
        const D3& c = points[indices[3 * t + 2]];
        const D3 n = (b - a).Cross(c - a);
        const double length = n.Length();
        if (!(length > 1e-10 * size * size))
            return Refuse("triangle " + Str(t) + " has no area");
        normals[t] = n * (1.0 / length);
        volume += (a - centre).Dot((b - centre).Cross(c - centre)) / 6.0;
    }
    const double minVolume = kShapePieceMinVolume * size * size * size;
    if (std::fabs(volume) <= minVolume)
        return Refuse("zero volume");
    if (volume < 0.0)
        return Refuse("inside out: the triangles run clockwise seen from outside");

    for (std::size_t t = 0; t < triangles; ++t) {
        const D3& a = points[indices[3 * t]];
        for (std::size_t v = 0; v < k; ++v) {
            if (normals[t].Dot(points[v] - a) > tolerance)
                return Refuse("not convex: vertex " + Str(v) + " lies in front of triangle " + Str(t));
        }
    }

    ShapePieceCheck3D check;
    check.valid = true;
    check.volume = volume;
    return check;
}

} // namespace quellor
