#include "renderer/Camera.h"

#include <gtest/gtest.h>

#include <numbers>

using ZOR::AABB;
using ZOR::Camera;
using ZOR::float3;
using ZOR::float4;
using ZOR::float4x4;
using ZOR::Frustum;
using ZOR::FrustumPlane;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// The frustum's six planes, for comparing two frustums.
void ExpectSamePlanes(const Frustum& a, const Frustum& b)
{
    for (int i = 0; i < 6; ++i) {
        const float4& pa = a.GetPlane(static_cast<FrustumPlane>(i));
        const float4& pb = b.GetPlane(static_cast<FrustumPlane>(i));
        EXPECT_EQ(pa.x, pb.x) << "plane " << i;
        EXPECT_EQ(pa.y, pb.y) << "plane " << i;
        EXPECT_EQ(pa.z, pb.z) << "plane " << i;
        EXPECT_EQ(pa.w, pb.w) << "plane " << i;
    }
}

// A camera at the origin with identity view looking down -z.
Camera MakeCamera(float nearPlane, float farPlane)
{
    Camera camera;
    camera.SetProjectionMatrix(kPi / 2, 1.0f, nearPlane, farPlane);
    return camera;
}

} // namespace

TEST(Camera, FrustumClassifiesBoxesInsideOutsideAndCrossing)
{
    const Camera camera = MakeCamera(1.0f, 100.0f);
    const Frustum& frustum = camera.GetFrustum();
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-1, -1, -20), float3(1, 1, -10))), ZOR::AABB_INSIDE);
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-1, -1, 10), float3(1, 1, 20))), ZOR::AABB_OUTSIDE);
    // Crossing the left plane (x = z at this field of view).
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-20, -1, -15), float3(-5, 1, -12))), ZOR::AABB_INTERSECTING);
    // Wholly beyond the left, top and far planes.
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-30, -1, -12), float3(-20, 1, -10))), ZOR::AABB_OUTSIDE);
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-1, 20, -12), float3(1, 30, -10))), ZOR::AABB_OUTSIDE);
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-1, -1, -150), float3(1, 1, -120))), ZOR::AABB_OUTSIDE);
    // Crossing the far plane.
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-1, -1, -120), float3(1, 1, -50))), ZOR::AABB_INTERSECTING);
    // A box that holds the whole volume crosses every plane.
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-500, -500, -500), float3(500, 500, 500))),
              ZOR::AABB_INTERSECTING);
}

TEST(Camera, BoxTouchingPlaneFromInsideIsInside)
{
    // Exact unit entries so the right plane is exactly x + z <= 0.
    float4x4 projection;
    projection.SetPerspective(kPi / 2, 1.0f, 1.0f, 100.0f);
    projection.m[0] = 1.0f;
    projection.m[5] = 1.0f;
    Camera camera;
    camera.SetProjectionMatrix(projection);
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(0, -1, -10), float3(10, 1, -10))), ZOR::AABB_INSIDE);
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(0, -1, -10), float3(10.01f, 1, -10))),
              ZOR::AABB_INTERSECTING);
    // Touching from outside: only the near vertex lies on the plane, so it is not outside.
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(10, -1, -10), float3(12, 1, -10))),
              ZOR::AABB_INTERSECTING);
}

TEST(Camera, NearCullingReachesInFrontOfTheNearPlane)
{
    const Camera camera = MakeCamera(1.0f, 100.0f);
    const Frustum& frustum = camera.GetFrustum();
    // The culling near plane lies at depth near*far/(2*far - near), about -0.5025.
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-0.1f, -0.1f, -0.6f), float3(0.1f, 0.1f, -0.6f))), ZOR::AABB_INSIDE);
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-0.1f, -0.1f, -0.55f), float3(0.1f, 0.1f, -0.51f))),
              ZOR::AABB_INSIDE);
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-0.1f, -0.1f, -0.49f), float3(0.1f, 0.1f, -0.4f))),
              ZOR::AABB_OUTSIDE);
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-0.1f, -0.1f, -0.6f), float3(0.1f, 0.1f, -0.4f))),
              ZOR::AABB_INTERSECTING);
}

TEST(Camera, SetPositionAloneKeepsTheOldFrustum)
{
    Camera camera = MakeCamera(1.0f, 100.0f);
    camera.LookAt(float3(0, 0, -1), float3(0, 1, 0));
    const Frustum before = camera.GetFrustum();
    const float4x4 viewBefore = camera.GetViewMatrix();
    const AABB ahead(float3(-1, -1, -20), float3(1, 1, -10));

    camera.SetPosition(0, 0, -50);
    EXPECT_TRUE(camera.GetPosition() == float3(0, 0, -50));
    ExpectSamePlanes(camera.GetFrustum(), before);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(camera.GetViewMatrix().m[i], viewBefore.m[i]);
    EXPECT_EQ(camera.GetFrustum().TestAABB(ahead), ZOR::AABB_INSIDE);

    // LookAt takes the stored position as the eye: the box is now behind it.
    camera.LookAt(float3(0, 0, -1), float3(0, 1, 0));
    EXPECT_EQ(camera.GetFrustum().TestAABB(ahead), ZOR::AABB_OUTSIDE);
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(-1, -1, -70), float3(1, 1, -60))), ZOR::AABB_INSIDE);

    camera.SetPosition(float3(3, 4, 5));
    EXPECT_TRUE(camera.GetPosition() == float3(3, 4, 5));
}

TEST(Camera, LookAtTakesADirectionFromThePosition)
{
    Camera camera = MakeCamera(1.0f, 500.0f);
    camera.SetPosition(float3(100, 0, 0));
    camera.LookAt(float3(-5, 0, 0), float3(0, 1, 0));
    const Frustum& frustum = camera.GetFrustum();
    EXPECT_EQ(frustum.TestAABB(AABB(float3(-1, -1, -1), float3(1, 1, 1))), ZOR::AABB_INSIDE);
    EXPECT_EQ(frustum.TestAABB(AABB(float3(110, -1, -1), float3(120, 1, 1))), ZOR::AABB_OUTSIDE);
    // A target-point reading would look at (-5, 0, 0) the same way; a direction of +y must differ.
    camera.LookAt(float3(0, 1, 0), float3(0, 0, 1));
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(-1, -1, -1), float3(1, 1, 1))), ZOR::AABB_OUTSIDE);
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(99, 20, -1), float3(101, 30, 1))), ZOR::AABB_INSIDE);
}

TEST(Camera, FrustumUsesProjectionTimesView)
{
    Camera camera = MakeCamera(1.0f, 100.0f);
    float4x4 view;
    view.SetLookAt(float3(0, 0, 30), float3(0, 0, -1), float3(0, 1, 0));
    camera.SetViewMatrix(view);
    // The eye is at z = 30, so a box at the origin is 30 units ahead.
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(-1, -1, -1), float3(1, 1, 1))), ZOR::AABB_INSIDE);
    EXPECT_EQ(camera.GetFrustum().TestAABB(AABB(float3(-1, -1, 40), float3(1, 1, 50))), ZOR::AABB_OUTSIDE);

    // Planes equal those built from a camera given projection x view as its projection.
    Camera combined;
    combined.SetProjectionMatrix(camera.GetProjectionMatrix() * view);
    ExpectSamePlanes(camera.GetFrustum(), combined.GetFrustum());
}

TEST(Camera, ProjectionFormsWriteOnlyTheirEntries)
{
    Camera camera;
    float4x4 start;
    start.m[3] = 7.0f;
    camera.SetProjectionMatrix(start);
    camera.SetProjectionMatrix(kPi / 2, 2.0f, 1.0f, 101.0f);
    const float4x4& p = camera.GetProjectionMatrix();
    EXPECT_FLOAT_EQ(p.m[0], 0.5f);
    EXPECT_FLOAT_EQ(p.m[5], 1.0f);
    EXPECT_FLOAT_EQ(p.m[10], -1.01f);
    EXPECT_FLOAT_EQ(p.m[11], -1.01f);
    EXPECT_EQ(p.m[14], -1.0f);
    EXPECT_EQ(p.m[15], 0.0f);
    EXPECT_EQ(p.m[3], 7.0f);

    // The size form keeps entries 14 and 15 of the earlier perspective setting.
    camera.SetProjectionMatrix(ZOR::Dimension(800, 600), 1.0f, 11.0f);
    EXPECT_FLOAT_EQ(p.m[0], 2.0f / 800.0f);
    EXPECT_FLOAT_EQ(p.m[5], 2.0f / 600.0f);
    EXPECT_FLOAT_EQ(p.m[10], -0.1f);
    EXPECT_FLOAT_EQ(p.m[11], -0.1f);
    EXPECT_EQ(p.m[14], -1.0f);
    EXPECT_EQ(p.m[15], 0.0f);

    // On a fresh camera the size form is a plain orthographic projection.
    Camera ortho;
    ortho.SetProjectionMatrix(ZOR::Dimension(20, 10), 1.0f, 11.0f);
    EXPECT_EQ(ortho.GetProjectionMatrix().m[14], 0.0f);
    EXPECT_EQ(ortho.GetProjectionMatrix().m[15], 1.0f);
    EXPECT_EQ(ortho.GetFrustum().TestAABB(AABB(float3(-9, -4, -10), float3(9, 4, -2))), ZOR::AABB_INSIDE);
    EXPECT_EQ(ortho.GetFrustum().TestAABB(AABB(float3(11, -4, -10), float3(15, 4, -2))), ZOR::AABB_OUTSIDE);
}
