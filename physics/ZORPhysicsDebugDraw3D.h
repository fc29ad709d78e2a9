#pragma once
#include "physics/PhysicsDebugDraw3D.h"
#include "renderer/math/Color.h"

#include <cstdint>

namespace ZOR {
class DebugDrawer;
}

namespace quellor {

// Draws the simulation's shapes with the renderer's debug drawer, every position and size
// multiplied by the scale. The drawer belongs to the render system.
class ZORPhysicsDebugDraw3D : public PhysicsDebugDraw3D {
public:
    ZORPhysicsDebugDraw3D(ZOR::DebugDrawer* drawer, float scale);

    void DrawLine(const ZOR::float3& from, const ZOR::float3& to, std::uint32_t colour) override;
    void DrawSphere(const ZOR::float3& centre, float radius, const ZOR::float3x3& rotation,
                    std::uint32_t colour) override;
    void DrawAABB(const ZOR::float3& min, const ZOR::float3& max, std::uint32_t colour) override;
    // Always axis-aligned: the orientation is not applied.
    void DrawBox(const ZOR::float3& centre, const ZOR::float3& halfExtents, const ZOR::float3x3& orientation,
                 std::uint32_t colour) override;
    // The quad lies in its local x-z plane.
    void DrawQuad(const ZOR::float3& centre, float width, float height, const ZOR::float3x3& rotation,
                  std::uint32_t colour) override;
    void DrawProxy(const BroadphaseProxy3D& proxy, std::uint32_t colour) override;

    // ARGB, alpha in the top byte, each channel over 255.
    static ZOR::Color ToColor(std::uint32_t argb);

private:
    ZOR::DebugDrawer* m_drawer;
    float m_scale;
};

} // namespace quellor
