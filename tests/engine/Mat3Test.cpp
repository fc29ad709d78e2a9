#include "engine/Mat3.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/Quat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace quellor {
namespace {

const float* Elements(const Mat3& m) { return &m.m00; }

Mat3 Multiply(const Mat3& a, const Mat3& b)
{
    const float* x = Elements(a);
    const float* y = Elements(b);
    float r[9];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i * 3 + j] = x[i * 3 + 0] * y[0 * 3 + j] + x[i * 3 + 1] * y[1 * 3 + j] + x[i * 3 + 2] * y[2 * 3 + j];
    return Mat3(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]);
}

Mat3 Transpose(const Mat3& m)
{
    return Mat3(m.m00, m.m10, m.m20, m.m01, m.m11, m.m21, m.m02, m.m12, m.m22);
}

Mat3 Scaled(const Mat3& m, float k)
{
    return Mat3(m.m00 * k, m.m01 * k, m.m02 * k, m.m10 * k, m.m11 * k, m.m12 * k, m.m20 * k, m.m21 * k, m.m22 * k);
}

// Rotation by angle about a unit axis (Rodrigues), computed in double independently of Quat.
Mat3 AxisAngle(double ax, double ay, double az, double angle)
{
    const double n = std::sqrt(ax * ax + ay * ay + az * az);
    ax /= n;
    ay /= n;
    az /= n;
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    return Mat3(static_cast<float>(t * ax * ax + c), static_cast<float>(t * ax * ay - s * az), static_cast<float>(t * ax * az + s * ay),
                static_cast<float>(t * ax * ay + s * az), static_cast<float>(t * ay * ay + c), static_cast<float>(t * ay * az - s * ax),
                static_cast<float>(t * ax * az - s * ay), static_cast<float>(t * ay * az + s * ax), static_cast<float>(t * az * az + c));
}

void ExpectNear(const Mat3& a, const Mat3& b, float tolerance)
{
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(Elements(a)[k], Elements(b)[k], tolerance) << "element " << k;
}

TEST(Mat3Invert, DiagonalGivesReciprocals)
{
    Mat3 m(2, 0, 0, 0, 4, 0, 0, 0, 8);
    Mat3::Invert(m);
    ExpectNear(m, Mat3(0.5f, 0, 0, 0, 0.25f, 0, 0, 0, 0.125f), 0.0f);
}

TEST(Mat3Invert, SymmetricTensorTimesInverseIsIdentityAndGeneralMatrixGetsTransposedInverse)
{
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (int trial = 0; trial < 50; ++trial) {
        // A well-conditioned general matrix: random entries on a dominant diagonal.
        Mat3 a(value(rng), value(rng), value(rng), value(rng), value(rng), value(rng), value(rng), value(rng), value(rng));
        a.m00 += 4.0f;
        a.m11 += 4.0f;
        a.m22 += 4.0f;

        // Symmetric, like the inertia tensors it serves: the result is the inverse itself.
        const Mat3 sym = Multiply(a, Transpose(a));
        Mat3 symInv = sym;
        Mat3::Invert(symInv);
        ExpectNear(Multiply(symInv, sym), Mat3(), 1e-4f);
        ExpectNear(Multiply(sym, symInv), Mat3(), 1e-4f);

        // Not symmetric: cofactors over the determinant, the transpose of the inverse.
        Mat3 inv = a;
        Mat3::Invert(inv);
        ExpectNear(Multiply(Transpose(inv), a), Mat3(), 1e-5f);
    }
}

TEST(Mat3Invert, SingularOrNonFiniteBecomesZero)
{
    const Mat3 zero(0, 0, 0, 0, 0, 0, 0, 0, 0);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Mat3 cases[] = {
        zero,
        Mat3(1, 2, 3, 2, 4, 6, 0, 1, 5),    // second row twice the first
        Mat3(1, 0, 0, 0, 1, 0, 0, 0, 0),    // flat in z
        Mat3(1, 0, 0, 0, nan, 0, 0, 0, 1),
        Mat3(inf, 0, 0, 0, 1, 0, 0, 0, 1),
        Mat3(1e-20f, 0, 0, 0, 1e-20f, 0, 0, 0, 1e-20f), // determinant underflows to 0
    };
    for (const Mat3& c : cases) {
        Mat3 m = c;
        Mat3::Invert(m);
        for (int k = 0; k < 9; ++k)
            EXPECT_EQ(Elements(m)[k], 0.0f) << "element " << k;
    }
}

TEST(Mat3Orthonormalize, IdentityStaysAndScaledOrDriftedRotationsComeBack)
{
    Mat3 identity;
    Mat3::Orthonormalize(identity);
    ExpectNear(identity, Mat3(), 1e-6f);

    const Mat3 rotations[] = {
        AxisAngle(0, 0, 1, 1.5707963267948966),
        AxisAngle(1, 2, 3, 0.7),
        AxisAngle(-1, 0.5, 0.25, 2.9),
        AxisAngle(0, 1, 0, 3.141592653589793),
        AxisAngle(1, 1, 0, 3.141592653589793),
    };
    for (const Mat3& r : rotations) {
        Mat3 doubled = Scaled(r, 2.0f);
        Mat3::Orthonormalize(doubled);
        ExpectNear(doubled, r, 2e-6f);

        // A rotation that drifted off orthonormal through accumulated steps.
        Mat3 drifted = r;
        drifted.m01 += 0.002f;
        drifted.m12 -= 0.001f;
        drifted.m20 += 0.0015f;
        drifted.m11 *= 1.003f;
        Mat3::Orthonormalize(drifted);
        ExpectNear(Multiply(drifted, Transpose(drifted)), Mat3(), 1e-5f);
        ExpectNear(drifted, r, 5e-3f);
    }
}

// The standard unit-quaternion rotation matrix.
Mat3 FromQuat(double x, double y, double z, double w)
{
    return Mat3(static_cast<float>(1 - 2 * (y * y + z * z)), static_cast<float>(2 * (x * y - w * z)), static_cast<float>(2 * (x * z + w * y)),
                static_cast<float>(2 * (x * y + w * z)), static_cast<float>(1 - 2 * (x * x + z * z)), static_cast<float>(2 * (y * z - w * x)),
                static_cast<float>(2 * (x * z - w * y)), static_cast<float>(2 * (y * z + w * x)), static_cast<float>(1 - 2 * (x * x + y * y)));
}

void ExpectRoundTrip(double x, double y, double z, double w)
{
    const double n = std::sqrt(x * x + y * y + z * z + w * w);
    x /= n;
    y /= n;
    z /= n;
    w /= n;
    Quat q;
    q.SetFromMatrix(FromQuat(x, y, z, w));
    // q and -q are the same rotation; compare with the sign of the scalar part aligned.
    const double sign = (q.w * w + q.x * x + q.y * y + q.z * z) < 0 ? -1.0 : 1.0;
    EXPECT_NEAR(q.x * sign, x, 1e-5);
    EXPECT_NEAR(q.y * sign, y, 1e-5);
    EXPECT_NEAR(q.z * sign, z, 1e-5);
    EXPECT_NEAR(q.w * sign, w, 1e-5);
}

TEST(QuatSetFromMatrix, RoundTripsThroughEachBranchAndReturnsItself)
{
    // Which diagonal entry is largest when the trace is not positive picks the branch.
    enum Branch { PositiveTrace, X, Y, Z, Any };
    const struct {
        double x, y, z, w;
        Branch branch;
    } cases[] = {
        {0.1, -0.2, 0.3, 0.927, PositiveTrace},
        {0.9, 0.3, -0.2, 0.1, X},
        {-0.2, 0.9, 0.3, 0.1, Y},
        {0.3, -0.2, 0.9, -0.1, Z},
        {1, 1, 0, 0, Any}, // half a turn about (1, 1, 0): m00 == m11, the tie falls to the m11 branch
    };
    for (const auto& c : cases) {
        const double n = std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z + c.w * c.w);
        const Mat3 m = FromQuat(c.x / n, c.y / n, c.z / n, c.w / n);
        const float trace = m.m00 + m.m11 + m.m22;
        const bool xLargest = m.m00 > m.m11 && m.m00 > m.m22;
        switch (c.branch) {
        case PositiveTrace: ASSERT_GT(trace, 0.0f); break;
        case X: ASSERT_TRUE(trace <= 0.0f && xLargest); break;
        case Y: ASSERT_TRUE(trace <= 0.0f && !xLargest && m.m11 > m.m22); break;
        case Z: ASSERT_TRUE(trace <= 0.0f && !xLargest && !(m.m11 > m.m22)); break;
        case Any: break;
        }
        ExpectRoundTrip(c.x, c.y, c.z, c.w);
    }

    Quat q(5, 6, 7, 8);
    EXPECT_EQ(&q.SetFromMatrix(Mat3()), &q);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_EQ(q.z, 0.0f);
    EXPECT_EQ(q.w, 1.0f);
}

TEST(QuatSetFromMat4, ReadsTheUpperLeftBlockThroughTheSameFormula)
{
    Quat identity(5, 6, 7, 8);
    EXPECT_EQ(&identity.SetFromMat4(Mat4()), &identity);
    EXPECT_EQ(identity.x, 0.0f);
    EXPECT_EQ(identity.y, 0.0f);
    EXPECT_EQ(identity.z, 0.0f);
    EXPECT_EQ(identity.w, 1.0f);

    // Half a turn about y: the trace is -1 and m11 is the largest diagonal entry.
    Quat halfTurn;
    halfTurn.SetFromMat4(Mat4(-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1));
    EXPECT_FLOAT_EQ(halfTurn.x, 0.0f);
    EXPECT_FLOAT_EQ(halfTurn.y, 1.0f);
    EXPECT_FLOAT_EQ(halfTurn.z, 0.0f);
    EXPECT_FLOAT_EQ(halfTurn.w, 0.0f);

    // One rotation per branch, with a translation and a last row that must not matter.
    const double rotations[][4] = {
        {0.1, -0.2, 0.3, 0.927}, {0.9, 0.3, -0.2, 0.1}, {-0.2, 0.9, 0.3, 0.1}, {0.3, -0.2, 0.9, -0.1}};
    for (const auto& r : rotations) {
        const double n = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2] + r[3] * r[3]);
        const Mat3 m = FromQuat(r[0] / n, r[1] / n, r[2] / n, r[3] / n);
        const Mat4 m4(m.m00, m.m01, m.m02, 7, m.m10, m.m11, m.m12, -3, m.m20, m.m21, m.m22, 11, 0.5f, 2, 4, 9);
        Quat from3;
        from3.SetFromMatrix(m);
        Quat from4;
        from4.SetFromMat4(m4);
        EXPECT_EQ(from4.x, from3.x);
        EXPECT_EQ(from4.y, from3.y);
        EXPECT_EQ(from4.z, from3.z);
        EXPECT_EQ(from4.w, from3.w);
    }
}

} // namespace
} // namespace quellor
