#pragma once
#include "renderer/Renderable.h"
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ZOR {

// One vertex of a dynamic mesh, as the dynamic-mesh pass uploads it.
struct DynamicMeshVertex {
    float3 position;
    float2 texCoord;
    float alpha;
};

static_assert(sizeof(DynamicMeshVertex) == 24);
static_assert(offsetof(DynamicMeshVertex, position) == 0);
static_assert(offsetof(DynamicMeshVertex, texCoord) == 12);
static_assert(offsetof(DynamicMeshVertex, alpha) == 20);

// A CPU-side triangle list that its owner rebuilds whenever it likes. The vertex count never
// passes the maximum fixed at construction: every append beyond it is dropped, so a builder can be
// cut off vertex by vertex.
class DynamicMesh : public Renderable {
public:
    static constexpr unsigned kDefaultMaxVerts = 60;

    explicit DynamicMesh(unsigned maxVerts = kDefaultMaxVerts);
    // A copy takes the vertices and settings but no vertex buffer: the buffer belongs to the
    // original, and its render system releases it when that one is removed. The copy gets its
    // own when it is added.
    DynamicMesh(const DynamicMesh& other);
    // The buffer was sized for this mesh's maximum: another's vertices are not assigned over it.
    DynamicMesh& operator=(const DynamicMesh&) = delete;

    DynamicMesh& Push(const DynamicMeshVertex& vertex);
    DynamicMesh& Push(const float3& position, const float2& texCoord, float alpha);
    DynamicMesh& Push();
    // Empties the list, keeping its storage.
    DynamicMesh& Clear();

    std::uint32_t NumVerts() const { return static_cast<std::uint32_t>(m_vertices.size()); }
    std::uint32_t MaxVerts() const { return m_maxVerts; }
    const std::vector<DynamicMeshVertex>& Vertices() const { return m_vertices; }

    void SetTexture(const std::string& name) { m_texture = name; }
    const std::string& GetTexture() const { return m_texture; }
    void SetBlendMode(BlendMode mode) { m_blendMode = mode; }
    BlendMode GetBlendMode() const { return m_blendMode; }
    void SetCullMode(CullMode mode) { m_cullMode = mode; }
    CullMode GetCullMode() const { return m_cullMode; }
    // Null until the render system creates it (max x 24 bytes) for the dynamic-mesh pass.
    const Handle& GetVertexBuffer() const { return m_vertexBuffer; }

    // Builders append whole triangles through the same capped Push. Fewer than one segment
    // appends nothing. Where a direction leaves the ring's frame undefined (a zero axis, a tube
    // along y, a cone along -x) any perpendicular frame is used, so every vertex stays finite.
    // An open cone: tip at apex, rim circle at apex + direction * length.
    DynamicMesh& Cone(const float3& apex, float length, float radius, const float3& direction, float alpha,
                      int segments, const float2& uv0, const float2& uv1);
    // An open cylinder from start to end; angleOffset (radians) turns every segment.
    DynamicMesh& Tube(const float3& start, const float3& end, float radius, float alpha, int segments,
                      const float2& uv0, const float2& uv1, float angleOffset);
    // Latitude and longitude bands; the rotation turns the ring points (not the poles).
    DynamicMesh& Sphere(const float3& center, float radius, float alpha, int segments, const float2& uv0,
                        const float2& uv1, const float3x3& rotation);

private:
    friend class RenderSystem;

    bool Full() const { return m_vertices.size() >= m_maxVerts; }

    Handle m_vertexBuffer;
    std::uint32_t m_maxVerts;
    std::vector<DynamicMeshVertex> m_vertices;
    BlendMode m_blendMode = BlendMode::Alpha;
    CullMode m_cullMode = CullMode::None;
    std::string m_texture;
    // What Sphere reuses from call to call: the azimuths' cosines and sines, two rows of points.
    std::vector<float2> m_sphereAzimuths;
    std::vector<float3> m_sphereRows;
};

} // namespace ZOR
