#include "physics/BuildMeshColliderDescription3D.h"

namespace quellor {

ColliderDescription3D BuildMeshColliderDescription3D(const std::vector<std::vector<ZOR::float3>>& vertexLists,
                                                     const std::vector<std::vector<std::int32_t>>& indexLists)
{
    ColliderDescription3D description;
    description.m_density = 1.0f;
    description.m_restitution = 0.4f;
    description.m_friction = 1.0f;
    description.m_type = kColliderMesh;
    description.m_sensor = 0;
    description.m_filter = CollisionFilter3D();
    description.m_userData = nullptr;

    description.m_hulls.resize(vertexLists.size());
    for (std::size_t i = 0; i < vertexLists.size(); ++i) {
        for (const ZOR::float3& position : vertexLists[i])
            description.m_hulls[i].AddVertex(position);
    }
    const std::size_t lists = indexLists.size() < vertexLists.size() ? indexLists.size() : vertexLists.size();
    for (std::size_t i = 0; i < lists; ++i) {
        const std::vector<std::int32_t>& indices = indexLists[i];
        for (std::size_t k = 0; k + 2 < indices.size(); k += 3)
            description.m_hulls[i].AddFace(indices[k], indices[k + 1], indices[k + 2]);
    }
    return description;
}

} // namespace quellor
