#include "renderer/math/Frustum.h"

namespace ZOR {

AABBTestResult Frustum::TestAABB(const AABB& box) const
{
    AABBTestResult result = AABB_INSIDE;
    for (const float4& plane : m_planes) {
        // Near vertex: the corner least far along the outward normal; far vertex: the opposite one.
        const float nearX = plane.x < 0.0f ? box.max.x : box.min.x;
        const float nearY = plane.y < 0.0f ? box.max.y : box.min.y;
        const float nearZ = plane.z < 0.0f ? box.max.z : box.min.z;
        const float farX = plane.x < 0.0f ? box.min.x : box.max.x;
        const float farY = plane.y < 0.0f ? box.min.y : box.max.y;
        const float farZ = plane.z < 0.0f ? box.min.z : box.max.z;
        if (plane.x * nearX + plane.y * nearY + plane.z * nearZ + plane.w > 0.0f)
            return AABB_OUTSIDE;
        if (plane.x * farX + plane.y * farY + plane.z * farZ + plane.w > 0.0f)
            result = AABB_INTERSECTING;
    }
    return result;
}

void Frustum::BuildFromMatrix(const float4x4& m)
{
    const float4 r0(m.m[0], m.m[1], m.m[2], m.m[3]);
    const float4 r1(m.m[4], m.m[5], m.m[6], m.m[7]);
    const float4 r2(m.m[8], m.m[9], m.m[10], m.m[11]);
    const float4 r3(m.m[12], m.m[13], m.m[14], m.m[15]);
    m_planes[FRUSTUM_LEFT] = -(r0 + r3);
    m_planes[FRUSTUM_RIGHT] = r0 - r3;
    m_planes[FRUSTUM_BOTTOM] = -(r1 + r3);
    m_planes[FRUSTUM_TOP] = r1 - r3;
    m_planes[FRUSTUM_NEAR] = -(r2 + r3);
    m_planes[FRUSTUM_FAR] = r2 - r3;
}

} // namespace ZOR
