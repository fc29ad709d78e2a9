#pragma once
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/AABB.h"
#include "renderer/math/Color.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ZOR {

class Camera;

// Collects coloured line segments during a frame into a fixed array and draws them with one upload
// and one draw call. Shapes are drawn with a pen: a colour, a position they are drawn around, and
// an object scale and rotation applied about that position (p -> P + S * R^T * (p - P)). A full
// drawer drops further vertices one by one.
class DebugDrawer {
public:
    // The line pass reads this layout straight from the vertex buffer.
    struct Vertex {
        float4 position;
        Color color;
    };

    static constexpr std::uint32_t kVertexSize = 32;

    // The vertex buffer is left to the back end, which frees its objects itself.
    explicit DebugDrawer(unsigned capacity);

    DebugDrawer(const DebugDrawer&) = delete;
    DebugDrawer& operator=(const DebugDrawer&) = delete;

    // Keeps the context and creates a dynamic vertex buffer of capacity x 32 bytes; true when the
    // buffer exists.
    bool Initialize(RenderContext* context);
    // Uploads the vertices and draws them as given (the caller has set topology, shaders, target
    // and depth state). Without a successful Initialize it draws nothing.
    void Draw();

    void Clear() { m_size = 0; }
    std::uint32_t GetSize() const { return m_size; }
    std::uint32_t GetCapacity() const { return m_capacity; }
    const Vertex* GetVertices() const { return m_vertices.get(); }
    const Handle& GetVertexBuffer() const { return m_vertexBuffer; }

    void SetPenColor(const Color& color) { m_penColor = color; }
    void SetPenColor(float r, float g, float b) { m_penColor = Color(r, g, b, 1.0f); }
    void SetPenPosition(const float3& position);
    void SetPenPosition(const float4& position);
    void SetPenPosition(float x, float y, float z);
    void SetObjectScale(float x, float y, float z);
    void SetObjectRotation(const float4x4& rotation);

    void Line(const float3& to);
    void Line(const float4& to);
    void Vector(const float3& v);
    void Vector(const float4& v);
    void Axis();
    void Circle(float radius);
    void Rect();
    void Cube();
    void Sphere();
    void BoundingBox(const AABB& box);
    void CameraBounds(const Camera& camera);

private:
    // Stores p through the object transform, or as given, in the pen colour.
    void Emit(const float3& p);
    void EmitUntransformed(const float3& p);
    const float4x4& ObjectTransform();

    RenderContext* m_context = nullptr;
    Handle m_vertexBuffer;
    std::unique_ptr<Vertex[]> m_vertices;
    std::uint32_t m_capacity;
    std::uint32_t m_size = 0;
    Color m_penColor = Color(1.0f, 1.0f, 1.0f, 1.0f);
    float3 m_penPosition;
    float3 m_objectScale = float3(1.0f, 1.0f, 1.0f);
    float4x4 m_objectRotation;
    bool m_transformDirty = true;
    float4x4 m_objectTransform;
};

static_assert(sizeof(DebugDrawer::Vertex) == DebugDrawer::kVertexSize);
static_assert(offsetof(DebugDrawer::Vertex, position) == 0);
static_assert(offsetof(DebugDrawer::Vertex, color) == 16);

} // namespace ZOR
