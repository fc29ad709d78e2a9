#include "physics/ZORPhysicsDebugDraw3D.h"

#include "physics/BroadphaseProxy3D.h"
#include "renderer/DebugDrawer.h"
#include "renderer/math/float4x4.h"

namespace quellor {

namespace {

constexpr float kChannel = 0.003921569f; // 1 / 255

ZOR::float4x4 Widened(const ZOR::float3x3& r)
{
    return ZOR::float4x4(r.m[0], r.m[1], r.m[2], 0.0f, r.m[3], r.m[4], r.m[5], 0.0f, r.m[6], r.m[7], r.m[8], 0.0f,
                         0.0f, 0.0f, 0.0f, 1.0f);
}

} // namespace

ZORPhysicsDebugDraw3D::ZORPhysicsDebugDraw3D(ZOR::DebugDrawer* drawer, float scale) : m_drawer(drawer), m_scale(scale)
{
}

ZOR::Color ZORPhysicsDebugDraw3D::ToColor(std::uint32_t argb)
{
    return ZOR::Color(static_cast<float>((argb >> 16) & 0xFFu) * kChannel,
                      static_cast<float>((argb >> 8) & 0xFFu) * kChannel, static_cast<float>(argb & 0xFFu) * kChannel,
                      static_cast<float>((argb >> 24) & 0xFFu) * kChannel);
}

void ZORPhysicsDebugDraw3D::DrawLine(const ZOR::float3& from, const ZOR::float3& to, std::uint32_t colour)
{
    if (!m_drawer)
        return;
    m_drawer->SetPenColor(ToColor(colour));
    m_drawer->SetPenPosition(from * m_scale);
    m_drawer->SetObjectRotation(ZOR::float4x4());
    m_drawer->SetObjectScale(1.0f, 1.0f, 1.0f);
    m_drawer->Line(to * m_scale);
}

void ZORPhysicsDebugDraw3D::DrawSphere(const ZOR::float3& centre, float radius, const ZOR::float3x3& rotation,
                                       std::uint32_t colour)
{
    if (!m_drawer)
        return;
    m_drawer->SetPenColor(ToColor(colour));
    m_drawer->SetPenPosition(centre * m_scale);
    m_drawer->SetObjectRotation(Widened(rotation));
    const float size = radius * m_scale;
    m_drawer->SetObjectScale(size, size, size);
    m_drawer->Sphere();
}

void ZORPhysicsDebugDraw3D::DrawAABB(const ZOR::float3& min, const ZOR::float3& max, std::uint32_t colour)
{
    if (!m_drawer)
        return;
    m_drawer->SetPenColor(ToColor(colour));
    m_drawer->SetPenPosition((min + max) * (0.5f * m_scale));
    m_drawer->SetObjectRotation(ZOR::float4x4());
    const ZOR::float3 size = (max - min) * m_scale;
    m_drawer->SetObjectScale(size.x, size.y, size.z);
    m_drawer->Cube();
}

void ZORPhysicsDebugDraw3D::DrawBox(const ZOR::float3& centre, const ZOR::float3& halfExtents,
                                    const ZOR::float3x3&, std::uint32_t colour)
{
    if (!m_drawer)
        return;
    m_drawer->SetPenColor(ToColor(colour));
    m_drawer->SetPenPosition(centre * m_scale);
    m_drawer->SetObjectRotation(ZOR::float4x4());
    const ZOR::float3 size = halfExtents * (2.0f * m_scale);
    m_drawer->SetObjectScale(size.x, size.y, size.z);
    m_drawer->Cube();
}

void ZORPhysicsDebugDraw3D::DrawQuad(const ZOR::float3& centre, float width, float height,
                                     const ZOR::float3x3& rotation, std::uint32_t colour)
{
    const float a = 0.5f * m_scale * width;
    const float b = 0.5f * m_scale * height;
    const ZOR::float3 corners[4] = {
        centre + rotation * ZOR::float3(a, 0.0f, b),
        centre + rotation * ZOR::float3(-a, 0.0f, b),
        centre + rotation * ZOR::float3(-a, 0.0f, -b),
        centre + rotation * ZOR::float3(a, 0.0f, -b),
    };
    for (int i = 0; i < 4; ++i)
        DrawLine(corners[i], corners[(i + 1) % 4], colour);
}

void ZORPhysicsDebugDraw3D::DrawProxy(const BroadphaseProxy3D& proxy, std::uint32_t colour)
{
    DrawAABB(proxy.m_min, proxy.m_max, colour);
}

} // namespace quellor
