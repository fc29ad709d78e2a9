#pragma once
#include "renderer/Skeleton.h"
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/AABB.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ZOR {

// A mesh loaded from a model file: a CPU copy of its vertices, a vertex buffer of the full
// vertices and one of the position stream, and for a skinned mesh its skeleton.
class Model {
public:
    struct StaticVertex {
        float4 position;
        float3 normal;
        float3 tangent;
        float3 bitangent;
        float2 uv;
    };
    struct SkinnedVertex {
        float4 position;
        float3 normal;
        float3 tangent;
        float3 bitangent;
        float2 uv;
        std::uint32_t boneIds[4];
        float weights[4];
    };

    Model() = default;
    // The GPU buffers are not released here: whoever unloads models releases them.
    ~Model() = default;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Reads a model file and creates its two vertex buffers through the context (none without
    // one). An unopenable file returns false silently; a malformed one logs why. On failure
    // the model is left as it was. A failed buffer creation leaves that handle as the context
    // left it and does not fail the load.
    bool Load(RenderContext* context, const std::string& path);
    // The same from bytes already in memory; path is for the log lines.
    bool LoadFromMemory(RenderContext* context, std::span<const std::uint8_t> bytes, const std::string& path);

    // The position-stream buffer when true, the full vertex buffer otherwise.
    const Handle& GetVertexBuffer(bool positionStream) const { return m_vertexBuffers[positionStream ? 1 : 0]; }
    unsigned GetVertexCount() const { return m_vertexCount; }
    // The CPU copy of the vertices, as the file stores them.
    std::span<const std::uint8_t> GetVertexData() const { return m_vertexData; }
    bool IsSkinned() const { return m_skeleton != nullptr; }
    const Skeleton* GetSkeleton() const { return m_skeleton.get(); }

    // The box around every vertex position.
    AABB CalculateAABB() const;

private:
    Handle m_vertexBuffers[2];
    std::vector<std::uint8_t> m_vertexData;
    std::uint32_t m_vertexCount = 0;
    std::unique_ptr<Skeleton> m_skeleton;
};

static_assert(sizeof(Model::StaticVertex) == 60, "a static vertex is 60 bytes");
static_assert(sizeof(Model::SkinnedVertex) == 92, "a skinned vertex is 92 bytes");

} // namespace ZOR
