// The 3D transform: its defaults, the T·R·S build, the axes read from the stored matrix, and
// the conversions to and from the renderer's matrix.
#include "engine/Transform3D.h"
#include "engine/graphics/Convert.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using quellor::Mat4;
using quellor::Quat;
using quellor::Transform3D;
using quellor::Vec4;

void ExpectVec(const Vec4& v, float x, float y, float z, float w)
{
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
    EXPECT_EQ(v.w, w);
}

const float* Elements(const Mat4& m)
{
    return &m.m00;
}

Quat AboutY(float radians)
{
    return Quat(0.0f, std::sin(radians / 2.0f), 0.0f, std::cos(radians / 2.0f));
}

TEST(Transform3DTest, TheDefaultIsTheIdentityWithUnitAxes)
{
    Transform3D t;
    t.UpdateWorldMatrix(0.0f);
    const Mat4 identity;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Elements(t.GetWorldMatrix())[i], Elements(identity)[i]) << i;
    ExpectVec(t.GetRight(), 1, 0, 0, 0);
    ExpectVec(t.GetUp(), 0, 1, 0, 0);
    ExpectVec(t.GetForward(), 0, 0, 1, 0);
}

TEST(Transform3DTest, ScaleComesBeforeRotationAndTranslationLast)
{
    Transform3D t;
    t.SetScale(2.0f, 3.0f, 4.0f);
    t.m_rotation = AboutY(static_cast<float>(M_PI) / 2.0f);
    t.SetPosition(5.0f, 6.0f, 7.0f);
    t.UpdateWorldMatrix(0.0f);
    const Mat4& m = t.GetWorldMatrix();
    // First column: local x scaled by 2, turned a quarter about y onto -z.
    EXPECT_NEAR(m.m00, 0.0f, 1e-6f);
    EXPECT_NEAR(m.m10, 0.0f, 1e-6f);
    EXPECT_NEAR(m.m20, -2.0f, 1e-6f);
    // Second column: local y only scaled.
    EXPECT_NEAR(m.m11, 3.0f, 1e-6f);
    // Third column: local z scaled by 4 onto +x.
    EXPECT_NEAR(m.m02, 4.0f, 1e-6f);
    EXPECT_EQ(m.m03, 5.0f);
    EXPECT_EQ(m.m13, 6.0f);
    EXPECT_EQ(m.m23, 7.0f);
    EXPECT_EQ(m.m33, 1.0f);
    // Axes come back normalised whatever the scale.
    ExpectVec(t.GetRight(), 0, 0, -1, 0);
    ExpectVec(t.GetForward(), 1, 0, 0, 0);
}

TEST(Transform3DTest, AQuaternionIsNotNormalised)
{
    Transform3D t;
    t.m_rotation = Quat(0.0f, 0.0f, 0.0f, 2.0f);
    Mat4 m = t.BuildWorldMatrix();
    EXPECT_EQ(m.m00, 1.0f);
    EXPECT_EQ(m.m01, 0.0f);
    t.m_rotation = Quat(0.0f, 0.0f, 1.0f, 1.0f);
    m = t.BuildWorldMatrix();
    // Rotation mixed with scaling: 1 - 2z², -2wz.
    EXPECT_EQ(m.m00, -1.0f);
    EXPECT_EQ(m.m01, -2.0f);
    EXPECT_EQ(m.m10, 2.0f);
}

TEST(Transform3DTest, ZeroScaleGivesZeroAxesAndPositionHasW1)
{
    Transform3D t;
    t.SetScale(0.0f, 0.0f, 0.0f);
    t.SetPosition(1.0f, 2.0f, 3.0f);
    t.UpdateWorldMatrix(0.0f);
    ExpectVec(t.GetRight(), 0, 0, 0, 0);
    ExpectVec(t.GetUp(), 0, 0, 0, 0);
    ExpectVec(t.GetForward(), 0, 0, 0, 0);
    ExpectVec(t.GetPosition(), 1, 2, 3, 1);
}

TEST(Transform3DTest, AxesStayStaleUntilTheMatrixIsRebuiltOrCopied)
{
    Transform3D t;
    t.UpdateWorldMatrix(0.0f);
    t.m_rotation = AboutY(static_cast<float>(M_PI) / 2.0f);
    t.m_x = 10.0f;
    ExpectVec(t.GetRight(), 1, 0, 0, 0);
    EXPECT_EQ(t.GetWorldMatrix().m03, 0.0f);

    t.UpdateWorldMatrix(123.0f);
    ExpectVec(t.GetRight(), 0, 0, -1, 0);
    EXPECT_EQ(t.GetWorldMatrix().m03, 10.0f);

    std::unique_ptr<quellor::Component> clone(t.Clone());
    auto* copy = dynamic_cast<Transform3D*>(clone.get());
    ASSERT_NE(copy, nullptr);
    ExpectVec(copy->GetRight(), 0, 0, -1, 0);
    EXPECT_EQ(copy->m_x, 10.0f);
}

TEST(Transform3DTest, ConversionsKeepTheElementOrder)
{
    Mat4 m;
    float* e = &m.m00;
    for (int i = 0; i < 16; ++i)
        e[i] = static_cast<float>(i + 1) * 0.5f;
    const ZOR::float4x4 f = quellor::ToFloat4x4(m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(f.m[i], e[i]) << i;
    const Mat4 back = quellor::ToMat4(f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Elements(back)[i], e[i]) << i;

    // The renderer reads the translation where the transform writes it.
    Transform3D t;
    t.SetPosition(4.0f, 5.0f, 6.0f);
    const ZOR::float4 moved = quellor::ToFloat4x4(t.BuildWorldMatrix()) * ZOR::float4(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(moved.x, 4.0f);
    EXPECT_EQ(moved.y, 5.0f);
    EXPECT_EQ(moved.z, 6.0f);
}

} // namespace
