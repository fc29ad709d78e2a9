#pragma once
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>

namespace quellor {

struct BroadphaseProxy3D;

// How the simulation draws its shapes, bodies, contacts and rays without knowing the renderer.
// Colours are 32-bit ARGB (alpha in the top byte).
class PhysicsDebugDraw3D {
public:
    virtual ~PhysicsDebugDraw3D() = default;

    // Hooks around one drawing pass; no drawer needs them, so they do nothing unless overridden.
    virtual void BeginDraw() {}
    virtual void EndDraw() {}

    virtual void DrawLine(const ZOR::float3& from, const ZOR::float3& to, std::uint32_t colour) = 0;
    virtual void DrawSphere(const ZOR::float3& centre, float radius, const ZOR::float3x3& rotation,
                            std::uint32_t colour) = 0;
    virtual void DrawAABB(const ZOR::float3& min, const ZOR::float3& max, std::uint32_t colour) = 0;
    virtual void DrawBox(const ZOR::float3& centre, const ZOR::float3& halfExtents,
                         const ZOR::float3x3& orientation, std::uint32_t colour) = 0;
    virtual void DrawQuad(const ZOR::float3& centre, float width, float height, const ZOR::float3x3& rotation,
                          std::uint32_t colour) = 0;
    virtual void DrawProxy(const BroadphaseProxy3D& proxy, std::uint32_t colour) = 0;
};

} // namespace quellor
