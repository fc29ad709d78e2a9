#pragma once
// Shape files (convex pieces of a collision shape): a u32 piece count, then one vertex block
// per piece (u32 count, four floats per vertex), then one index block per piece (u32 count,
// u32 indices), little-endian.
#include "renderer/math/float3.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

struct ShapePiece {
    std::vector<ZOR::float3> vertices;
    std::vector<std::uint32_t> indices; // triangles, counter-clockwise seen from outside
};

// The file's bytes, written exactly as the pieces stand (an empty or malformed piece is
// written as it is, for tests). w is the fourth float of every vertex.
std::string WriteShape(const std::vector<ShapePiece>& pieces, float w = 1.0f);

} // namespace tarsel::tools
