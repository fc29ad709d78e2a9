#pragma once
#include "renderer/Skeleton.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::tools {

// One vertex as the model file stores it; bone ids and weights are written for skinned models
// only.
struct MeshVertex {
    ZOR::float4 position{0.0f, 0.0f, 0.0f, 1.0f};
    ZOR::float3 normal;
    ZOR::float3 tangent;
    ZOR::float3 bitangent;
    ZOR::float2 uv;
    std::uint32_t boneIds[4] = {0, 0, 0, 0};
    float weights[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

struct ModelDescription {
    bool skinned = false;
    std::vector<MeshVertex> vertices;
    // Skinned models only. Each node's current local is written equal to its bind local and its
    // global to the bind global (the product of the bind locals up the parents).
    std::vector<ZOR::Skeleton::Node> nodes;
    std::vector<ZOR::Skeleton::Bone> bones;
    std::vector<std::string> names;
};

// A node record from its parent and bind-pose local transform, with the reserved field zeroed.
ZOR::Skeleton::Node MakeNode(std::int32_t parent, const ZOR::float4x4& bindLocal);

// The bytes of a model file.
std::string WriteModel(const ModelDescription& model);

} // namespace tarsel::tools
