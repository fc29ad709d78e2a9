#include "renderer/DebugDrawer.h"

#include "renderer/Camera.h"

#include <cmath>
#include <cstdint>

namespace ZOR {

namespace {

constexpr float kCircleStep = 0.3926991f;  // pi / 8
constexpr int kCircleSegments = 16;
constexpr float kSphereStep = 0.15707964f; // pi / 20
constexpr int kSphereSegments = 40;

} // namespace

DebugDrawer::DebugDrawer(unsigned capacity)
    : m_vertices(std::make_unique<Vertex[]>(capacity)), m_capacity(capacity)
{
    for (std::uint32_t i = 0; i < m_capacity; ++i)
        m_vertices[i] = Vertex{float4(0.0f, 0.0f, 0.0f, 1.0f), Color(1.0f, 1.0f, 1.0f, 1.0f)};
}

bool DebugDrawer::Initialize(RenderContext* context)
{
    m_context = context;
    if (m_context == nullptr)
        return false;
    // A capacity whose byte size does not fit the buffer's 32-bit size would make a buffer
    // smaller than the copies into it.
    const std::uint64_t bytes = static_cast<std::uint64_t>(m_capacity) * kVertexSize;
    if (bytes > UINT32_MAX)
        return false;
    m_context->CreateVertexBuffer(m_vertexBuffer, BufferUsage::Dynamic, static_cast<std::uint32_t>(bytes), nullptr);
    return static_cast<bool>(m_vertexBuffer);
}

void DebugDrawer::Draw()
{
    if (m_context == nullptr || !m_vertexBuffer)
        return;
    m_context->CopyData(m_vertexBuffer, m_vertices.get(), m_size * kVertexSize);
    m_context->BindVertexBuffer(m_vertexBuffer, kVertexSize);
    m_context->Draw(m_size, 0);
}

void DebugDrawer::SetPenPosition(const float3& position)
{
    m_penPosition = position;
    m_transformDirty = true;
}

void DebugDrawer::SetPenPosition(const float4& position)
{
    m_penPosition.Set(position.x, position.y, position.z);
    m_transformDirty = true;
}

void DebugDrawer::SetPenPosition(float x, float y, float z)
{
    m_penPosition.Set(x, y, z);
    m_transformDirty = true;
}

void DebugDrawer::SetObjectScale(float x, float y, float z)
{
    m_objectScale.Set(x, y, z);
    m_transformDirty = true;
}

void DebugDrawer::SetObjectRotation(const float4x4& rotation)
{
    m_objectRotation = rotation;
    m_transformDirty = true;
}

const float4x4& DebugDrawer::ObjectTransform()
{
    if (m_transformDirty) {
        const float s[3] = {m_objectScale.x, m_objectScale.y, m_objectScale.z};
        const float p[3] = {m_penPosition.x, m_penPosition.y, m_penPosition.z};
        float4x4& t = m_objectTransform;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                t.m[r * 4 + c] = s[r] * m_objectRotation.m[c * 4 + r];
            t.m[r * 4 + 3] = p[r] - (t.m[r * 4] * p[0] + t.m[r * 4 + 1] * p[1] + t.m[r * 4 + 2] * p[2]);
        }
        t.m[12] = 0.0f;
        t.m[13] = 0.0f;
        t.m[14] = 0.0f;
        t.m[15] = 1.0f;
        m_transformDirty = false;
    }
    return m_objectTransform;
}

void DebugDrawer::EmitUntransformed(const float3& p)
{
    if (m_size >= m_capacity)
        return;
    m_vertices[m_size] = Vertex{float4(p.x, p.y, p.z, 1.0f), m_penColor};
    ++m_size;
}

void DebugDrawer::Emit(const float3& p)
{
    if (m_size >= m_capacity)
        return;
    const float4 t = ObjectTransform() * float4(p.x, p.y, p.z, 1.0f);
    m_vertices[m_size] = Vertex{float4(t.x, t.y, t.z, 1.0f), m_penColor};
    ++m_size;
}

void DebugDrawer::Line(const float3& to)
{
    Emit(m_penPosition);
    Emit(to);
}

void DebugDrawer::Line(const float4& to)
{
    Line(float3(to.x, to.y, to.z));
}

void DebugDrawer::Vector(const float3& v)
{
    const float3 start = m_penPosition;
    const float3 end = start + v;
    const float3 a = (v.x == 0.0f && v.y == 0.0f) ? float3(0.0f, 1.0f, 0.0f) : float3(0.0f, 0.0f, 1.0f);
    const float3 w = v.Cross(a).Normalized() * 0.1f;
    const float3 back = end - v * 0.2f;
    Emit(start);
    Emit(end);
    Emit(end);
    Emit(back - w);
    Emit(end);
    Emit(back + w);
}

void DebugDrawer::Vector(const float4& v)
{
    Vector(float3(v.x, v.y, v.z));
}

void DebugDrawer::Axis()
{
    const Color saved = m_penColor;
    m_penColor = Color(1.0f, 0.0f, 0.0f, 1.0f);
    Vector(float3(m_objectScale.x, 0.0f, 0.0f));
    m_penColor = Color(0.0f, 1.0f, 0.0f, 1.0f);
    Vector(float3(0.0f, m_objectScale.y, 0.0f));
    m_penColor = Color(0.0f, 0.0f, 1.0f, 1.0f);
    Vector(float3(0.0f, 0.0f, m_objectScale.z));
    m_penColor = saved;
}

void DebugDrawer::Circle(float radius)
{
    const float3 center = m_penPosition;
    float3 previous = center + float3(radius, 0.0f, 0.0f);
    for (int i = 1; i <= kCircleSegments; ++i) {
        const float angle = static_cast<float>(i) * kCircleStep;
        const float3 point = center + float3(radius * std::cos(angle), radius * std::sin(angle), 0.0f);
        Emit(previous);
        Emit(point);
        previous = point;
    }
}

void DebugDrawer::Rect()
{
    const float3& p = m_penPosition;
    const float3& s = m_objectScale;
    // The corners lie in the z = 0 plane whatever the pen's z.
    const float3 a(p.x - s.x, p.y + s.y, 0.0f);
    const float3 b(p.x + s.x, p.y + s.y, 0.0f);
    const float3 c(p.x + s.x, p.y - s.y, 0.0f);
    const float3 d(p.x - s.x, p.y - s.y, 0.0f);
    Emit(a);
    Emit(b);
    Emit(b);
    Emit(c);
    Emit(c);
    Emit(d);
    Emit(d);
    Emit(a);
}

void DebugDrawer::Cube()
{
    const float3& p = m_penPosition;
    auto corner = [&p](float x, float y, float z) { return p + float3(x * 0.5f, y * 0.5f, z * 0.5f); };
    const float3 ppp = corner(1, 1, 1), ppn = corner(1, 1, -1), pnp = corner(1, -1, 1);
    const float3 pnn = corner(1, -1, -1), npp = corner(-1, 1, 1), npn = corner(-1, 1, -1);
    const float3 nnp = corner(-1, -1, 1), nnn = corner(-1, -1, -1);
    const float3 edges[12][2] = {
        {ppp, ppn}, {ppp, pnp}, {ppp, npp}, {pnp, pnn}, {pnp, nnp}, {nnp, npp},
        {pnn, ppn}, {pnn, nnn}, {ppn, npn}, {npp, npn}, {nnp, nnn}, {nnn, npn},
    };
    for (const auto& edge : edges) {
        Emit(edge[0]);
        Emit(edge[1]);
    }
}

void DebugDrawer::Sphere()
{
    const float3 center = m_penPosition;
    // XY, YZ and XZ great circles, each from angle 0 round to 2 pi.
    for (int plane = 0; plane < 3; ++plane) {
        auto point = [&center, plane](float angle) {
            const float c = std::cos(angle);
            const float s = std::sin(angle);
            if (plane == 0)
                return center + float3(c, s, 0.0f);
            if (plane == 1)
                return center + float3(0.0f, c, s);
            return center + float3(s, 0.0f, c);
        };
        float3 previous = point(0.0f);
        for (int i = 1; i <= kSphereSegments; ++i) {
            const float3 next = point(static_cast<float>(i) * kSphereStep);
            Emit(previous);
            Emit(next);
            previous = next;
        }
    }
}

void DebugDrawer::BoundingBox(const AABB& box)
{
    const float3& m = box.min;
    const float3& M = box.max;
    const float3 mmm(m.x, m.y, m.z), mMm(m.x, M.y, m.z), mmM(m.x, m.y, M.z), Mmm(M.x, m.y, m.z);
    const float3 MMM(M.x, M.y, M.z), mMM(m.x, M.y, M.z), MmM(M.x, m.y, M.z), MMm(M.x, M.y, m.z);
    const float3 edges[12][2] = {
        {mmm, mMm}, {mmm, mmM}, {mmm, Mmm}, {MMM, mMM}, {MMM, MmM}, {MMM, MMm},
        {mMm, mMM}, {mMm, MMm}, {MmM, mmM}, {MmM, Mmm}, {mMM, mmM}, {MMm, Mmm},
    };
    for (const auto& edge : edges) {
        EmitUntransformed(edge[0]);
        EmitUntransformed(edge[1]);
    }
}

void DebugDrawer::CameraBounds(const Camera& camera)
{
    float4x4 inverse = camera.GetProjectionMatrix() * camera.GetViewMatrix();
    inverse.InvertThis();
    static constexpr float kClip[8][3] = {
        {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
        {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1},
    };
    float3 corners[8];
    for (int k = 0; k < 8; ++k) {
        const float4 p = inverse * float4(kClip[k][0], kClip[k][1], kClip[k][2], 1.0f);
        corners[k] = float3(p.x / p.w, p.y / p.w, p.z / p.w);
    }
    const float3& eye = camera.GetPosition();
    static constexpr int kEdges[12][2] = {
        {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {7, 6}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7},
    };
    for (int k = 0; k < 4; ++k) {
        EmitUntransformed(corners[k]);
        EmitUntransformed(eye);
    }
    for (const auto& edge : kEdges) {
        EmitUntransformed(corners[edge[0]]);
        EmitUntransformed(corners[edge[1]]);
    }
}

} // namespace ZOR
