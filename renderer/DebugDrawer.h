#pragma once
#include "renderer/math/AABB.h"
#include "renderer/math/Color.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"

#include <cstdint>
#include <memory>

namespace ZOR {

class Camera;

// Collects coloured line segments during a frame into a fixed array. Shapes are drawn with a pen:
// a colour, a position they are drawn around, and an object scale and rotation applied about that
// position (p -> P + S * R^T * (p - P)). A full drawer drops further vertices one by one.
class DebugDrawer {
public:
    // The line pass reads this layout straight from the vertex buffer.
    struct Vertex {
        float4 position;
        Color color;
    };

    explicit DebugDrawer(unsigned capacity);

    DebugDrawer(const DebugDrawer&) = delete;
    DebugDrawer& operator=(const DebugDrawer&) = delete;

    void Clear() { m_size = 0; }
    std::uint32_t GetSize() const { return m_size; }
    std::uint32_t GetCapacity() const { return m_capacity; }
    const Vertex* GetVertices() const { return m_vertices.get(); }

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

} // namespace ZOR
