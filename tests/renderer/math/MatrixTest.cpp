#include "renderer/math/Viewport.h"
#include "renderer/math/float2x2.h"
#include "renderer/math/float3x3.h"
#include "renderer/math/float4x4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <thread>

using ZOR::float2;
using ZOR::float2x2;
using ZOR::float3;
using ZOR::float3x3;
using ZOR::float4;
using ZOR::float4x4;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void ExpectNear(const float4x4& actual, const float4x4& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "entry " << i;
}

void ExpectNear(const float3x3& actual, const float3x3& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "entry " << i;
}

// Entries in [-1, 1] plus a dominant diagonal: invertible and well conditioned.
float4x4 RandomWellConditioned4(std::mt19937& rng)
{
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    float4x4 r;
    for (int i = 0; i < 16; ++i)
        r.m[i] = dist(rng) + (i % 5 == 0 ? 5.0f : 0.0f);
    return r;
}

float3x3 RandomWellConditioned3(std::mt19937& rng)
{
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    float3x3 r;
    for (int i = 0; i < 9; ++i)
        r.m[i] = dist(rng) + (i % 4 == 0 ? 4.0f : 0.0f);
    return r;
}

} // namespace

TEST(MatrixMath, DefaultsAreIdentityAndStorageIsRowMajor)
{
    ExpectNear(float4x4(), float4x4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    ExpectNear(float3x3(), float3x3(1, 0, 0, 0, 1, 0, 0, 0, 1));
    const float2x2 i2;
    EXPECT_EQ(i2.m[0], 1.0f);
    EXPECT_EQ(i2.m[1], 0.0f);
    EXPECT_EQ(i2.m[3], 1.0f);

    // Row r of M * v is row r of M dotted with v.
    const float4x4 a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const float4 v = a * float4(1, 0, 0, 1);
    EXPECT_TRUE(v == float4(5, 13, 21, 29));
    const float3 w = float3x3(1, 2, 3, 4, 5, 6, 7, 8, 9) * float3(0, 1, 0);
    EXPECT_TRUE(w == float3(2, 5, 8));
    const float2 u = float2x2(1, 2, 3, 4) * float2(1, 1);
    EXPECT_TRUE(u == float2(3, 7));

    float4x4 changed = a;
    changed.SetIdentity();
    ExpectNear(changed, float4x4());
}

TEST(MatrixMath, ProductsAreOrdinaryMatrixProducts)
{
    const float4x4 a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const float4x4 b(2, 0, 1, 0, 0, 1, 0, 3, 1, 0, 0, 1, 0, 2, 1, 0);
    // Hand-computed a * b.
    ExpectNear(a * b, float4x4(5, 10, 5, 9, 17, 22, 13, 25, 29, 34, 21, 41, 41, 46, 29, 57));
    float4x4 c = a;
    c *= b;
    ExpectNear(c, a * b);

    // A * B applies B first: scale then translate.
    const float4x4 t = float4x4::Translate(10, 0, 0);
    const float4x4 s = float4x4::Scale(2, 2, 2);
    EXPECT_TRUE((t * s) * float4(1, 1, 1, 1) == float4(12, 2, 2, 1));
    EXPECT_TRUE((s * t) * float4(1, 1, 1, 1) == float4(22, 2, 2, 1));

    const float3x3 p(1, 2, 0, 0, 1, 0, 3, 0, 1);
    const float3x3 q(0, 1, 0, 1, 0, 0, 0, 0, 2);
    ExpectNear(p * q, float3x3(2, 1, 0, 1, 0, 0, 0, 3, 2));
    float3x3 pq = p;
    pq *= q;
    ExpectNear(pq, p * q);

    float2x2 r(1, 2, 3, 4);
    r *= float2x2(0, 1, 1, 0);
    EXPECT_EQ(r.m[0], 2.0f);
    EXPECT_EQ(r.m[1], 1.0f);
    EXPECT_EQ(r.m[2], 4.0f);
    EXPECT_EQ(r.m[3], 3.0f);
}

TEST(MatrixMath, InverseOfSingularMatrixIsUnchanged)
{
    const float4x4 zeroRow(1, 2, 3, 4, 0, 0, 0, 0, 9, 10, 11, 12, 13, 14, 15, 16);
    ExpectNear(zeroRow.Inverse(), zeroRow, 0.0f);
    float4x4 copy = zeroRow;
    EXPECT_EQ(&copy.InvertThis(), &copy);
    ExpectNear(copy, zeroRow, 0.0f);

    const float4x4 lastRowZero(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 0);
    ExpectNear(lastRowZero.Inverse(), lastRowZero, 0.0f);

    // 3x3: a determinant within tolerance of zero counts as singular.
    const float3x3 nearlySingular(1e-3f, 0, 0, 0, 1e-3f, 0, 0, 0, 1);
    ExpectNear(nearlySingular.Inverse(), nearlySingular, 0.0f);
    const float3x3 dependentRows(1, 2, 3, 2, 4, 6, 1, 0, 1);
    ExpectNear(dependentRows.Inverse(), dependentRows, 0.0f);
}

TEST(MatrixMath, InverseOfTranslationNegatesIt)
{
    const float4x4 inv = float4x4::Translate(1, 2, 3).Inverse();
    EXPECT_FLOAT_EQ(inv.m[3], -1.0f);
    EXPECT_FLOAT_EQ(inv.m[7], -2.0f);
    EXPECT_FLOAT_EQ(inv.m[11], -3.0f);
    ExpectNear(inv * float4x4::Translate(1, 2, 3), float4x4());

    const float3x3 inv2 = float3x3::Translate(4, -5).Inverse();
    EXPECT_FLOAT_EQ(inv2.m[2], -4.0f);
    EXPECT_FLOAT_EQ(inv2.m[5], 5.0f);
}

TEST(MatrixMath, InverseTimesMatrixIsIdentityForRandomMatrices)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        const float4x4 a = RandomWellConditioned4(rng);
        ExpectNear(a.Inverse() * a, float4x4(), 1e-4f);
        ExpectNear(a * a.Inverse(), float4x4(), 1e-4f);
        float4x4 b = a;
        b.InvertThis();
        ExpectNear(b, a.Inverse(), 0.0f);

        const float3x3 c = RandomWellConditioned3(rng);
        ExpectNear(c.Inverse() * c, float3x3(), 1e-4f);
        ExpectNear(c * c.Inverse(), float3x3(), 1e-4f);
        float3x3 d = c;
        EXPECT_EQ(&d.InvertThis(), &d);
        ExpectNear(d, c.Inverse(), 0.0f);
        if (HasFailure())
            FAIL() << "round " << round;
    }
}

TEST(MatrixMath, TransposeSwapsRowsAndColumns)
{
    const float4x4 a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const float4x4 t = a.Transpose();
    ExpectNear(t, float4x4(1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16), 0.0f);
    float4x4 b = a;
    EXPECT_EQ(&b.TransposeThis(), &b);
    ExpectNear(b, t, 0.0f);

    const float3x3 c(1, 2, 3, 4, 5, 6, 7, 8, 9);
    ExpectNear(c.Transpose(), float3x3(1, 4, 7, 2, 5, 8, 3, 6, 9), 0.0f);
    float3x3 d = c;
    d.TransposeThis();
    ExpectNear(d, c.Transpose(), 0.0f);
}

TEST(MatrixMath, BuilderReferenceIsSharedPerOverload)
{
    const float4x4& first = float4x4::Translate(1, 2, 3);
    const float4x4& second = float4x4::Translate(4, 5, 6);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(first.m[3], 4.0f);
    EXPECT_EQ(first.m[11], 6.0f);

    // Each overload has its own matrix.
    EXPECT_NE(&float4x4::Translate(float3(1, 1, 1)), &first);
    EXPECT_EQ(first.m[3], 4.0f);
    float4x4::Scale(float3(5, 6, 7));
    const float4x4& s2 = float4x4::Scale(float2(2, 3));
    EXPECT_EQ(s2.m[0], 2.0f);
    EXPECT_EQ(s2.m[5], 3.0f);
    EXPECT_EQ(s2.m[10], 1.0f);
    EXPECT_EQ(float4x4::Translate(float2(8, 9)).m[11], 0.0f);
    // The float4 overloads ignore w.
    const float4x4& t4 = float4x4::Translate(float4(1, 2, 3, 99));
    EXPECT_EQ(t4.m[15], 1.0f);
    EXPECT_EQ(t4.m[11], 3.0f);
    EXPECT_EQ(float4x4::Scale(float4(1, 2, 3, 99)).m[15], 1.0f);

    const float3x3& a = float3x3::Scale(2, 3);
    float3x3::Scale(4, 5);
    EXPECT_EQ(a.m[0], 4.0f);
    EXPECT_EQ(a.m[4], 5.0f);
    EXPECT_EQ(a.m[8], 1.0f);
}

TEST(MatrixMath, BuilderReferenceIsPrivatePerThread)
{
    const float4x4& mine = float4x4::Translate(1, 2, 3);
    const float4x4* theirs = nullptr;
    float theirX = 0.0f;
    std::thread other([&] {
        const float4x4& r = float4x4::Translate(7, 8, 9);
        theirs = &r;
        theirX = r.m[3];
    });
    other.join();
    EXPECT_NE(theirs, &mine);
    EXPECT_EQ(theirX, 7.0f);
    EXPECT_EQ(mine.m[3], 1.0f) << "another thread's call must not change this thread's result";
    EXPECT_EQ(mine.m[11], 3.0f);
}

TEST(MatrixMath, RotationBuildersFollowTheirSigns)
{
    const float a = 0.7f;
    const float c = std::cos(a), s = std::sin(a);
    const float4 y(0, 1, 0, 0);
    EXPECT_TRUE(float4x4::RotateX(a) * y == float4(0, c, -s, 0));
    EXPECT_TRUE(float4x4::Rotate(float3(1, 0, 0), a) * y == float4(0, c, s, 0));
    ExpectNear(float4x4(float4x4::RotateX(a)), float4x4(float4x4::Rotate(float3(1, 0, 0), -a)));
    ExpectNear(float4x4(float4x4::RotateY(a)), float4x4(float4x4::Rotate(float3(0, 1, 0), -a)));
    ExpectNear(float4x4(float4x4::RotateZ(a)), float4x4(float4x4::Rotate(float4(0, 0, 1, 5), a)));

    // A quarter turn about z takes x to y; translation and bottom row stay identity.
    const float4x4& rz = float4x4::Rotate(float3(0, 0, 1), kPi / 2);
    EXPECT_TRUE(rz * float4(1, 0, 0, 1) == float4(0, 1, 0, 1));
    EXPECT_EQ(rz.m[3], 0.0f);
    EXPECT_EQ(rz.m[15], 1.0f);

    const float2 r2 = float2x2::Rotate(kPi / 2) * float2(1, 0);
    EXPECT_TRUE(r2 == float2(0, 1));
    const float3 r3 = float3x3::Rotate(kPi / 2) * float3(1, 0, 1);
    EXPECT_TRUE(r3 == float3(0, 1, 1));
}

TEST(MatrixMath, TwoDimensionalTransformsUseEntriesTwoAndFive)
{
    const float3x3 t = float3x3::Translate(float2(3, 4));
    const float3x3 s = float3x3::Scale(float2(2, 5));
    EXPECT_TRUE((t * s) * float3(1, 1, 1) == float3(5, 9, 1));
    EXPECT_TRUE(float3x3::Translate(-1, -2) * float3(1, 1, 1) == float3(0, -1, 1));
}

TEST(MatrixMath, ExtractSplitsTranslationRotationAndScale)
{
    const float4x4 t = float4x4::Translate(3, -4, 5);
    const float4x4 r = float4x4::Rotate(float3(0.6f, 0.0f, 0.8f), 1.1f);
    const float4x4 s = float4x4::Scale(2, 3, 4);
    const float4x4 world = t * r * s;

    const float4x4 scale = world.ExtractScale();
    ExpectNear(scale, float4x4(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1));
    ExpectNear(world.ExtractRotation(), r);
    ExpectNear(world.ExtractTranslation(), t);
    ExpectNear(world.ExtractTranslation() * world.ExtractRotation() * scale, world, 1e-4f);

    // A zero column is copied as it is rather than turned into NaN.
    const float4x4 flat = float4x4::Scale(1, 0, 2);
    const float4x4 rot = flat.ExtractRotation();
    EXPECT_EQ(rot.m[5], 0.0f);
    EXPECT_EQ(rot.m[10], 1.0f);
}

TEST(MatrixMath, PerspectiveMapsNearToZeroAndFarToOne)
{
    float4x4 p;
    p.m[3] = 42.0f; // overwritten: the projection starts from identity
    p.SetPerspective(kPi / 2, 1.0f, 1.0f, 101.0f);
    EXPECT_FLOAT_EQ(p.m[0], 1.0f);
    EXPECT_FLOAT_EQ(p.m[5], 1.0f);
    EXPECT_FLOAT_EQ(p.m[10], -1.01f);
    EXPECT_FLOAT_EQ(p.m[11], -1.01f);
    EXPECT_EQ(p.m[14], -1.0f);
    EXPECT_EQ(p.m[15], 0.0f);
    EXPECT_EQ(p.m[3], 0.0f);

    const float4 nearPoint = p * float4(0, 0, -1, 1);
    const float4 farPoint = p * float4(0, 0, -101, 1);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, 0.0f, 1e-5f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-5f);

    // The off-centre form with a symmetric window equals the field-of-view form.
    float4x4 q;
    const float n = 2.0f, f = 50.0f, fov = 1.0f, aspect = 1.5f;
    const float top = n * std::tan(fov / 2);
    q.SetPerspective(-top * aspect, top * aspect, -top, top, n, f);
    float4x4 e;
    e.SetPerspective(fov, aspect, n, f);
    ExpectNear(q, e);
    q.SetPerspective(0.0f, 2.0f, -1.0f, 3.0f, 1.0f, 10.0f);
    EXPECT_FLOAT_EQ(q.m[2], 1.0f);
    EXPECT_FLOAT_EQ(q.m[6], 0.5f);
}

TEST(MatrixMath, OrthographicMapsBoxToClipCube)
{
    float4x4 o;
    o.SetOrthographic(20.0f, 10.0f, 1.0f, 11.0f);
    const float4 corner = o * float4(10, -5, -11, 1);
    EXPECT_TRUE(corner == float4(1, -1, 1, 1));
    EXPECT_NEAR((o * float4(0, 0, -1, 1)).z, 0.0f, 1e-6f);

    float4x4 box;
    box.SetOrthographic(2.0f, 6.0f, -1.0f, 3.0f, 0.5f, 4.5f);
    EXPECT_TRUE(box * float4(2, -1, -0.5f, 1) == float4(-1, -1, 0, 1));
    EXPECT_TRUE(box * float4(6, 3, -4.5f, 1) == float4(1, 1, 1, 1));
}

TEST(MatrixMath, LookAtBuildsRightHandedView)
{
    float4x4 v;
    v.SetLookAt(float3(0, 0, 5), float3(0, 0, -1), float3(0, 1, 0));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(v.m[r * 4 + c], r == c ? 1.0f : 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(v.m[11], -5.0f);
    EXPECT_TRUE(v * float4(0, 0, 0, 1) == float4(0, 0, -5, 1));

    // The second argument is a direction: looking along +x from (1, 2, 3), a point one unit
    // ahead lands on the view's -z axis, whatever the length of the direction given.
    v.SetLookAt(float3(1, 2, 3), float3(7, 0, 0), float3(0, 2, 0));
    EXPECT_TRUE(v * float4(1, 2, 3, 1) == float4(0, 0, 0, 1));
    EXPECT_TRUE(v * float4(2, 2, 3, 1) == float4(0, 0, -1, 1));
    EXPECT_TRUE(v * float4(1, 3, 3, 1) == float4(0, 1, 0, 1));
    // Camera x is direction x up: here +z in the world.
    EXPECT_TRUE(v * float4(1, 2, 4, 1) == float4(1, 0, 0, 1));
}

TEST(ViewportMath, SetKeepsTheMatrixTheConstructorBuilds)
{
    ZOR::Viewport vp;
    vp.matrix = float4x4::Translate(1, 2, 3);
    vp.Set(-4, 5, ZOR::Dimension(640, 360), 0.25f, 0.75f);
    EXPECT_EQ(vp.x, -4);
    EXPECT_EQ(vp.size.height, 360u);
    EXPECT_EQ(vp.maxDepth, 0.75f);
    EXPECT_EQ(vp.matrix.m[3], 1.0f);
}
