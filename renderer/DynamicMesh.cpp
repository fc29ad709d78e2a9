#include "renderer/DynamicMesh.h"

#include <algorithm>
#include <cmath>

namespace ZOR {

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;

// v normalised, or false when v is too short to give a direction.
bool TryNormalize(const float3& v, float3& out)
{
    const float length = v.Length();
    if (!(length >= kEpsilon))
        return false;
    out = v * (1.0f / length);
    return true;
}

// Some unit vector perpendicular to a non-zero axis: the axis crossed with the world axis it is
// least aligned with.
float3 AnyPerpendicular(const float3& axis)
{
    const float ax = std::fabs(axis.x), ay = std::fabs(axis.y), az = std::fabs(axis.z);
    float3 other(0.0f, 0.0f, 1.0f);
    if (ax <= ay && ax <= az)
        other = float3(1.0f, 0.0f, 0.0f);
    else if (ay <= az)
        other = float3(0.0f, 1.0f, 0.0f);
    float3 p;
    if (!TryNormalize(axis.Cross(other), p))
        p = float3(1.0f, 0.0f, 0.0f);
    return p;
}

} // namespace

DynamicMesh::DynamicMesh(unsigned maxVerts) : Renderable(Type::DynamicMesh), m_maxVerts(maxVerts)
{
    m_vertices.reserve(m_maxVerts);
}

DynamicMesh::DynamicMesh(const DynamicMesh& other)
    : Renderable(other), m_maxVerts(other.m_maxVerts), m_vertices(other.m_vertices), m_blendMode(other.m_blendMode),
      m_cullMode(other.m_cullMode), m_texture(other.m_texture)
{
    m_vertices.reserve(m_maxVerts);
}

DynamicMesh& DynamicMesh::Push(const DynamicMeshVertex& vertex)
{
    if (!Full())
        m_vertices.push_back(vertex);
    return *this;
}

DynamicMesh& DynamicMesh::Push(const float3& position, const float2& texCoord, float alpha)
{
    return Push(DynamicMeshVertex{position, texCoord, alpha});
}

DynamicMesh& DynamicMesh::Push()
{
    return Push(DynamicMeshVertex{float3(0.0f, 0.0f, 0.0f), float2(0.0f, 0.0f), 1.0f});
}

DynamicMesh& DynamicMesh::Clear()
{
    m_vertices.clear();
    return *this;
}

DynamicMesh& DynamicMesh::Cone(const float3& apex, float length, float radius, const float3& direction,
                               float alpha, int segments, const float2& uv0, const float2& uv1)
{
    if (segments < 1)
        return *this;
    const float s = 1.0f / static_cast<float>(segments);
    const float du = uv1.x - uv0.x;

    // A zero direction has no axis of its own; its rim circle is built about +y.
    float3 axis = direction;
    if (!(axis.Length() >= kEpsilon))
        axis = float3(0.0f, 1.0f, 0.0f);
    float3 p;
    const float3 candidate = axis.x >= 0.57735f ? float3(axis.y, -axis.x, 0.0f) : float3(0.0f, axis.z, -axis.y);
    if (!TryNormalize(candidate, p))
        p = AnyPerpendicular(axis);
    float3 q;
    if (!TryNormalize(axis.Cross(p), q))
        q = p.Cross(AnyPerpendicular(p));

    const float3 rimCenter = apex + direction * length;
    auto rim = [&](float a) { return rimCenter + (p * std::cos(a) + q * std::sin(a)) * radius; };
    for (int i = 0; i < segments && !Full(); ++i) {
        const float t0 = static_cast<float>(i) * s;
        const float t1 = static_cast<float>(i + 1) * s;
        Push(apex, uv0, alpha);
        Push(rim(kTwoPi * t0), float2(uv0.x + du * t0, uv1.y), alpha);
        Push(rim(kTwoPi * t1), float2(uv0.x + du * t1, uv1.y), alpha);
    }
    return *this;
}

DynamicMesh& DynamicMesh::Tube(const float3& start, const float3& end, float radius, float alpha, int segments,
                               const float2& uv0, const float2& uv1, float angleOffset)
{
    if (segments < 1)
        return *this;
    const float s = 1.0f / static_cast<float>(segments);
    const float du = uv1.x - uv0.x;

    // A zero-length tube has no axis of its own; its rings are built about +y.
    float3 axis = end - start;
    if (!(axis.Length() >= kEpsilon))
        axis = float3(0.0f, 1.0f, 0.0f);
    float3 p;
    if (!TryNormalize(axis.Cross(float3(0.0f, 1.0f, 0.0f)), p))
        p = AnyPerpendicular(axis);
    float3 q;
    if (!TryNormalize(p.Cross(axis), q))
        q = p.Cross(AnyPerpendicular(p));

    for (int i = 0; i < segments && !Full(); ++i) {
        const float s0 = static_cast<float>(i) * s;
        const float s1 = s0 + s;
        const float a0 = kTwoPi * s0 + angleOffset;
        const float a1 = kTwoPi * s1 + angleOffset;
        const float3 o0 = (p * std::cos(a0) + q * std::sin(a0)) * radius;
        const float3 o1 = (p * std::cos(a1) + q * std::sin(a1)) * radius;
        const DynamicMeshVertex k1{start + o0, float2(uv0.x + du * s0, uv0.y), alpha};
        const DynamicMeshVertex k2{start + o1, float2(uv0.x + du * s1, uv0.y), alpha};
        const DynamicMeshVertex k3{end + o1, float2(uv0.x + du * s1, uv1.y), alpha};
        const DynamicMeshVertex k4{end + o0, float2(uv0.x + du * s0, uv1.y), alpha};
        Push(k1).Push(k2).Push(k3);
        Push(k1).Push(k3).Push(k4);
    }
    return *this;
}

DynamicMesh& DynamicMesh::Sphere(const float3& center, float radius, float alpha, int segments, const float2& uv0,
                                 const float2& uv1, const float3x3& rotation)
{
    if (segments < 1)
        return *this;
    const float s = 1.0f / static_cast<float>(segments);
    const float du = uv1.x - uv0.x;
    const float dv = uv1.y - uv0.y;
    const float dPhi = kTwoPi * s;
    const float dTheta = kPi * s;

    // Each ring point is computed once per row of them that a band or cap uses, not once per
    // triangle corner: the azimuths' cosines and sines once for the sphere, the polar angle's
    // once per row. A row reaches no further than the room left lets a loop go (each of its
    // steps adds at least three vertices), so a huge segment count costs no more than a full mesh.
    const std::size_t room = m_maxVerts - std::min<std::size_t>(m_vertices.size(), m_maxVerts);
    const std::size_t columns = std::min(static_cast<std::size_t>(segments), room) + 1;
    m_sphereAzimuths.resize(columns);
    for (std::size_t i = 0; i < columns; ++i) {
        const float phi = dPhi * static_cast<float>(i);
        m_sphereAzimuths[i] = float2(std::cos(phi), std::sin(phi));
    }
    m_sphereRows.resize(2 * columns);
    float3* const rowA = m_sphereRows.data();
    float3* const rowB = rowA + columns;
    const auto fillRow = [&](float theta, float3* row) {
        const float sinTheta = std::sin(theta);
        const float cosTheta = std::cos(theta);
        for (std::size_t i = 0; i < columns; ++i) {
            const float3 local(m_sphereAzimuths[i].x * sinTheta, cosTheta, m_sphereAzimuths[i].y * sinTheta);
            row[i] = rotation * (local * radius) + center;
        }
    };
    const float3 top = center + float3(0.0f, radius, 0.0f);
    const float3 bottom = center + float3(0.0f, -radius, 0.0f);

    fillRow(dTheta, rowA);
    for (int i = 0; i < segments && !Full(); ++i) {
        const float f0 = static_cast<float>(i) * s;
        const float f1 = static_cast<float>(i + 1) * s;
        Push(top, uv0, alpha);
        Push(rowA[i], float2(uv0.x + du * f0, uv0.y), alpha);
        Push(rowA[i + 1], float2(uv0.x + du * f1, uv0.y), alpha);
    }
    for (int j = 0; j + 1 < segments && !Full(); ++j) {
        const float thetaA = static_cast<float>(j + 1) * dTheta;
        const float thetaB = thetaA + dTheta;
        const float tA = static_cast<float>(j) * s;
        const float tB = tA + s;
        fillRow(thetaA, rowA);
        fillRow(thetaB, rowB);
        for (int i = 0; i < segments && !Full(); ++i) {
            const float f0 = static_cast<float>(i) * s;
            const float f1 = static_cast<float>(i + 1) * s;
            const DynamicMeshVertex k1{rowA[i], float2(uv0.x + du * f0, uv0.y + dv * tA), alpha};
            const DynamicMeshVertex k2{rowA[i + 1], float2(uv0.x + du * f1, uv0.y + dv * tA), alpha};
            const DynamicMeshVertex k3{rowB[i + 1], float2(uv0.x + du * f1, uv0.y + dv * tB), alpha};
            const DynamicMeshVertex k4{rowB[i], float2(uv0.x + du * f0, uv0.y + dv * tB), alpha};
            Push(k1).Push(k2).Push(k3);
            Push(k1).Push(k3).Push(k4);
        }
    }
    fillRow(kPi - dTheta, rowA);
    for (int i = 0; i < segments && !Full(); ++i) {
        const float f0 = static_cast<float>(i) * s;
        const float f1 = static_cast<float>(i + 1) * s;
        Push(bottom, uv0, alpha);
        Push(rowA[i + 1], float2(uv0.x + du * f1, uv1.y), alpha);
        Push(rowA[i], float2(uv0.x + du * f0, uv1.y), alpha);
    }
    return *this;
}

} // namespace ZOR
