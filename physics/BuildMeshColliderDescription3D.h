#pragma once
#include "physics/ColliderDescription3D.h"
#include "renderer/math/float3.h"

#include <cstdint>
#include <vector>

namespace quellor {

// A mesh collider description with one hull per vertex list: hull i takes the vertices of
// vertexLists[i] and the triangles read from indexLists[i] in whole triples. Index lists beyond
// the vertex lists, and triangles naming a vertex their hull does not have, are left out.
ColliderDescription3D BuildMeshColliderDescription3D(const std::vector<std::vector<ZOR::float3>>& vertexLists,
                                                     const std::vector<std::vector<std::int32_t>>& indexLists);

} // namespace quellor
