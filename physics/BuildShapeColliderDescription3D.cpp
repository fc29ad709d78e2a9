#include "physics/BuildShapeColliderDescription3D.h"

#include "physics/BuildMeshColliderDescription3D.h"
#include "physics/CheckShapePiece3D.h"

#include <algorithm>
#include <cstdio>

namespace quellor {

namespace {

int Sign(float value)
{
    return value > 0.0f ? 1 : (value < 0.0f ? -1 : 0);
}

} // namespace

ColliderDescription3D BuildShapeColliderDescription3D(const ShapeData3D& shape, const ZOR::float3& scale,
                                                      const std::string& name)
{
    const bool reverse = Sign(scale.x) * Sign(scale.y) * Sign(scale.z) <= 0;
    std::vector<std::vector<ZOR::float3>> vertexLists;
    std::vector<std::vector<std::int32_t>> indexLists;
    const std::size_t pieces = std::min(shape.m_vertexLists.size(), shape.m_indexLists.size());
    for (std::size_t i = 0; i < pieces; ++i) {
        std::vector<ZOR::float3> vertices;
        vertices.reserve(shape.m_vertexLists[i].size());
        for (const Vec4& v : shape.m_vertexLists[i])
            vertices.emplace_back(v.x * scale.x, v.y * scale.y, v.z * scale.z);

        const std::vector<std::uint32_t>& stored = shape.m_indexLists[i];
        std::vector<std::uint32_t> indices(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(stored.size() / 3 * 3));
        if (reverse)
            std::reverse(indices.begin(), indices.end());

        const ShapePieceCheck3D check = CheckShapePiece3D(vertices, indices);
        if (!check.valid) {
            std::printf("Warning: Dropped piece %zu of shape data %s after scaling: %s\n", i, name.c_str(),
                        check.reason.c_str());
            continue;
        }
        vertexLists.push_back(std::move(vertices));
        indexLists.emplace_back(indices.begin(), indices.end());
    }
    return BuildMeshColliderDescription3D(vertexLists, indexLists);
}

} // namespace quellor
