#pragma once
#include "renderer/math/AABB.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"

namespace ZOR {

class Camera;

enum FrustumPlane {
    FRUSTUM_LEFT = 0,
    FRUSTUM_RIGHT = 1,
    FRUSTUM_BOTTOM = 2,
    FRUSTUM_TOP = 3,
    FRUSTUM_NEAR = 4,
    FRUSTUM_FAR = 5,
};

enum AABBTestResult {
    AABB_OUTSIDE = 0,
    AABB_INSIDE = 1,
    AABB_INTERSECTING = 2,
};

// Six culling planes (a, b, c, d) taken from a camera's projection x view. A point is inside a
// plane when a*x + b*y + c*z + d <= 0; the planes are not normalised. The near plane sits at
// clip z = -w, so culling reaches slightly in front of the projection's true near plane.
class Frustum {
public:
    Frustum() = default;

    const float4& GetPlane(FrustumPlane plane) const { return m_planes[plane]; }

    // Outside as soon as one plane has the whole box beyond it; touching from inside is inside.
    AABBTestResult TestAABB(const AABB& box) const;

private:
    friend class Camera;
    void BuildFromMatrix(const float4x4& viewProjection);

    float4 m_planes[6];
};

} // namespace ZOR
