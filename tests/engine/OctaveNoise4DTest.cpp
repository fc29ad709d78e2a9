#include "engine/OctaveNoise4D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quellor {
namespace {

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(OctaveNoise4D, BadOctavesAndCoordinatesThatAreNotFiniteOrBeyondIntRangeGiveNaN)
{
    // octaves, scale, x, y, z, w (persistence 0.5)
    const float bad[][6] = {
        {0.0f, 1.0f, 0.3f, 0.2f, 0.1f, 0.7f},
        {-2.0f, 1.0f, 0.3f, 0.2f, 0.1f, 0.7f},
        {kNaN, 1.0f, 0.3f, 0.2f, 0.1f, 0.7f},
        {kInf, 1.0f, 0.3f, 0.2f, 0.1f, 0.7f}, // an endless count would never return
        {1.0f, 1.0f, kInf, 0.0f, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, -kInf, 0.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, 0.0f, kNaN, 0.0f},
        {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 3e9f},
        {1.0f, 1.0f, -3e9f, 0.0f, 0.0f, 0.0f},
        {1.0f, kInf, 1.0f, 1.0f, 1.0f, 1.0f},
        {40.0f, 1.0f, 1000.0f, 0.0f, 0.0f, 0.0f}, // in range at the first octave, out of it at a later one
    };
    for (const auto& b : bad)
        EXPECT_TRUE(std::isnan(OctaveNoise4D(b[0], 0.5f, b[1], b[2], b[3], b[4], b[5])))
            << b[0] << " " << b[1] << " " << b[2] << " " << b[3] << " " << b[4] << " " << b[5];
    EXPECT_FALSE(std::isnan(OctaveNoise4D(0.01f, 0.5f, 1.0f, 0.3f, 0.2f, 0.1f, 0.7f)));
    EXPECT_TRUE(std::isfinite(OctaveNoise4D(3.0f, 0.5f, 1.0f, -1e6f, 2e6f, 0.0f, 5e5f)));
}

TEST(OctaveNoise4D, MatchesReferenceValues)
{
    // octaves, persistence, scale, x, y, z, w, expected. The expected values were computed with
    // an independent Python transcription of the noise algorithm (its tables typed from the
    // published reference permutation and gradient set, the traversal table derived from the
    // ranking of the offsets), rounding every step to single precision. A wrong table entry
    // moves a value by far more than the tolerance.
    const float rows[][8] = {
        {1.0f, 0.5f, 1.0f, 0.3f, 0.2f, 0.1f, 0.7f, 0.166133687f},
        {1.0f, 0.5f, 1.0f, -1.37f, 2.41f, 0.55f, -0.83f, -0.315883666f},
        {1.0f, 0.5f, 1.0f, 12.6f, -7.3f, 3.9f, 100.2f, -0.180891663f},
        {1.0f, 0.5f, 0.5f, -40.25f, 17.7f, -3.1f, 8.85f, 0.205009043f},
        {3.0f, 0.5f, 0.37f, 0.3f, -1.2f, 2.5f, 0.0f, -0.096287407f},
        {2.5f, 0.6f, 1.3f, -4.1f, 0.05f, 0.9f, -2.2f, -0.0920534432f},
        {4.0f, 0.45f, 0.8f, 25.3f, -26.7f, 5.5f, -0.4f, -0.168011397f},
    };
    for (const auto& r : rows)
        EXPECT_NEAR(OctaveNoise4D(r[0], r[1], r[2], r[3], r[4], r[5], r[6]), r[7], 2e-5f)
            << r[0] << " octaves at " << r[3] << ", " << r[4] << ", " << r[5] << ", " << r[6];
}

TEST(OctaveNoise4D, FractionalOctavesAreAWeightedSumAtDoublingScales)
{
    const float persistence = 0.6f, scale = 0.37f;
    const float points[][4] = {{0.3f, -1.2f, 2.5f, 0.0f}, {-4.1f, 0.0f, 0.9f, -2.2f}, {10.5f, 3.3f, -7.7f, 1.1f}};
    for (const auto& p : points) {
        const float a = OctaveNoise4D(1.0f, persistence, scale, p[0], p[1], p[2], p[3]);
        const float b = OctaveNoise4D(1.0f, persistence, scale * 2.0f, p[0], p[1], p[2], p[3]);
        const float c = OctaveNoise4D(1.0f, persistence, scale * 4.0f, p[0], p[1], p[2], p[3]);
        const float weights = 1.0f + persistence + persistence * persistence;
        const float expected = (a + b * persistence + c * persistence * persistence) / weights;
        EXPECT_NEAR(OctaveNoise4D(2.5f, persistence, scale, p[0], p[1], p[2], p[3]), expected, 1e-6f);
        // 3 octaves run the same three; 2 run only the first two.
        EXPECT_NEAR(OctaveNoise4D(3.0f, persistence, scale, p[0], p[1], p[2], p[3]), expected, 1e-6f);
        EXPECT_NEAR(OctaveNoise4D(2.0f, persistence, scale, p[0], p[1], p[2], p[3]),
                    (a + b * persistence) / (1.0f + persistence), 1e-6f);
        // One octave does not depend on persistence.
        EXPECT_EQ(OctaveNoise4D(1.0f, 0.1f, scale, p[0], p[1], p[2], p[3]), a);
    }
}

TEST(OctaveNoise4D, DenseGridStaysWithinUnitRangeWithoutJumps)
{
    // Crosses zero and negative cells, where the floor and the table indices are easiest to get
    // wrong. Steps of 0.01 change a smooth noise by far less than 0.1.
    const float zs[] = {0.0f, -1.0f, -2.0f, 0.5f};
    const float ws[] = {0.0f, -3.25f, 1.0f};
    double sum = 0.0, sumSquares = 0.0;
    int count = 0;
    for (float z : zs) {
        for (float w : ws) {
            for (int iy = -150; iy <= 150; iy += 5) {
                const float y = iy * 0.01f;
                float previous = OctaveNoise4D(1.0f, 0.5f, 1.0f, -1.5f, y, z, w);
                for (int ix = -149; ix <= 150; ++ix) {
                    const float x = ix * 0.01f;
                    const float v = OctaveNoise4D(1.0f, 0.5f, 1.0f, x, y, z, w);
                    ASSERT_TRUE(v >= -1.0f && v <= 1.0f) << v << " at " << x << "," << y << "," << z << "," << w;
                    ASSERT_LT(std::fabs(v - previous), 0.1f) << "at " << x << "," << y << "," << z << "," << w;
                    const float across = OctaveNoise4D(1.0f, 0.5f, 1.0f, x, y + 0.01f, z, w);
                    ASSERT_LT(std::fabs(v - across), 0.1f) << "at " << x << "," << y << "," << z << "," << w;
                    previous = v;
                    sum += v;
                    sumSquares += double(v) * v;
                    ++count;
                }
            }
        }
    }
    // And it is noise, not a constant.
    const double mean = sum / count;
    EXPECT_GT(std::sqrt(sumSquares / count - mean * mean), 0.1);

    // Around the origin, whose skewed cell is taken as -1 in every axis.
    const float origin = OctaveNoise4D(1.0f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(OctaveNoise4D(1.0f, 0.5f, 1.0f, 1e-4f, 1e-4f, 1e-4f, 1e-4f), origin, 0.01f);
    EXPECT_NEAR(OctaveNoise4D(1.0f, 0.5f, 1.0f, -1e-4f, -1e-4f, -1e-4f, -1e-4f), origin, 0.01f);
}

TEST(OctaveNoise4D, RepeatsEvery256CellsOnBothSidesOfZero)
{
    // One cell step along the first lattice axis, unskewed: (1 - G4, -G4, -G4, -G4).
    const double g4 = (5.0 - std::sqrt(5.0)) / 20.0;
    const float period[4] = {static_cast<float>(256 * (1 - g4)), static_cast<float>(-256 * g4),
                             static_cast<float>(-256 * g4), static_cast<float>(-256 * g4)};
    const float points[][4] = {{-0.3f, -2.6f, -1.1f, -0.45f}, {-1.7f, 0.2f, -0.8f, -3.3f}, {0.1f, 0.9f, 0.4f, 2.2f}};
    for (const auto& p : points) {
        const float here = OctaveNoise4D(1.0f, 0.5f, 1.0f, p[0], p[1], p[2], p[3]);
        const float ahead = OctaveNoise4D(1.0f, 0.5f, 1.0f, p[0] + period[0], p[1] + period[1], p[2] + period[2], p[3] + period[3]);
        const float behind = OctaveNoise4D(1.0f, 0.5f, 1.0f, p[0] - period[0], p[1] - period[1], p[2] - period[2], p[3] - period[3]);
        EXPECT_NEAR(ahead, here, 2e-3f);
        EXPECT_NEAR(behind, here, 2e-3f);
    }
}

} // namespace
} // namespace quellor
