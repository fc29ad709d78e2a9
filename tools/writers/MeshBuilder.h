#pragma once
#include "tools/writers/ModelWriter.h"

#include <vector>

namespace tarsel::tools {

// Appends a box of 36 vertices (two triangles per face, counter-clockwise seen from outside):
// face normals, uv 0..1 per face with (0, 0) at the face's top-left seen from outside, tangent
// along +u and bitangent along +v. Every vertex is weighted 1 to bone.
void AddBox(std::vector<MeshVertex>& vertices, const ZOR::float3& center, const ZOR::float3& halfExtents,
            std::uint32_t bone = 0);

// A closed sphere of radius 1 at the origin: segments around y, rings from the top (v = 0) to the
// bottom (v = 1), single triangles at the poles; outward normals, tangent along +u, bitangent
// along +v, counter-clockwise seen from outside.
ModelDescription BuildSphere(unsigned segments = 32, unsigned rings = 16);

// The unit cube, corners at +-0.5.
ModelDescription BuildCube();

} // namespace tarsel::tools
