#include "engine/OctaveNoise4D.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace quellor {

namespace {

// Ken Perlin's permutation, written twice so that sums of two indices need no wrap.
constexpr unsigned char kPermutation[256] = {
    151, 160, 137, 91, 90, 15, 131, 13, 201, 95, 96, 53, 194, 233, 7, 225, 140, 36, 103, 30, 69, 142,
    8, 99, 37, 240, 21, 10, 23, 190, 6, 148, 247, 120, 234, 75, 0, 26, 197, 62, 94, 252, 219, 203,
    117, 35, 11, 32, 57, 177, 33, 88, 237, 149, 56, 87, 174, 20, 125, 136, 171, 168, 68, 175, 74,
    165, 71, 134, 139, 48, 27, 166, 77, 146, 158, 231, 83, 111, 229, 122, 60, 211, 133, 230, 220,
    105, 92, 41, 55, 46, 245, 40, 244, 102, 143, 54, 65, 25, 63, 161, 1, 216, 80, 73, 209, 76, 132,
    187, 208, 89, 18, 169, 200, 196, 135, 130, 116, 188, 159, 86, 164, 100, 109, 198, 173, 186, 3,
    64, 52, 217, 226, 250, 124, 123, 5, 202, 38, 147, 118, 126, 255, 82, 85, 212, 207, 206, 59,
    227, 47, 16, 58, 17, 182, 189, 28, 42, 223, 183, 170, 213, 119, 248, 152, 2, 44, 154, 163, 70,
    221, 153, 101, 155, 167, 43, 172, 9, 129, 22, 39, 253, 19, 98, 108, 110, 79, 113, 224, 232,
    178, 185, 112, 104, 218, 246, 97, 228, 251, 34, 242, 193, 238, 210, 144, 12, 191, 179, 162,
    241, 81, 51, 145, 235, 249, 14, 239, 107, 49, 192, 214, 31, 181, 199, 106, 157, 184, 84, 204,
    176, 115, 121, 50, 45, 127, 4, 150, 254, 138, 236, 205, 93, 222, 114, 67, 29, 24, 72, 243, 141,
    128, 195, 78, 66, 215, 61, 156, 180};

struct PermutationTable {
    unsigned char p[512];
    constexpr PermutationTable() : p{}
    {
        for (int i = 0; i < 512; ++i)
            p[i] = kPermutation[i & 255];
    }
};
constexpr PermutationTable kPerm;

// The 32 edge midpoints of the 4D hypercube: one coordinate 0, the others +-1.
constexpr signed char kGrad4[32][4] = {
    {0, 1, 1, 1},    {0, 1, 1, -1},   {0, 1, -1, 1},   {0, 1, -1, -1},
    {0, -1, 1, 1},   {0, -1, 1, -1},  {0, -1, -1, 1},  {0, -1, -1, -1},
    {1, 0, 1, 1},    {1, 0, 1, -1},   {1, 0, -1, 1},   {1, 0, -1, -1},
    {-1, 0, 1, 1},   {-1, 0, 1, -1},  {-1, 0, -1, 1},  {-1, 0, -1, -1},
    {1, 1, 0, 1},    {1, 1, 0, -1},   {1, -1, 0, 1},   {1, -1, 0, -1},
    {-1, 1, 0, 1},   {-1, 1, 0, -1},  {-1, -1, 0, 1},  {-1, -1, 0, -1},
    {1, 1, 1, 0},    {1, 1, -1, 0},   {1, -1, 1, 0},   {1, -1, -1, 0},
    {-1, 1, 1, 0},   {-1, 1, -1, 0},  {-1, -1, 1, 0},  {-1, -1, -1, 0}};

// Simplex traversal: for each outcome of the six pairwise comparisons of the offsets, the rank
// of each coordinate (3 = largest). Impossible outcomes are zero.
constexpr unsigned char kSimplex[64][4] = {
    {0, 1, 2, 3}, {0, 1, 3, 2}, {0, 0, 0, 0}, {0, 2, 3, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {1, 2, 3, 0},
    {0, 2, 1, 3}, {0, 0, 0, 0}, {0, 3, 1, 2}, {0, 3, 2, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {1, 3, 2, 0},
    {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
    {1, 2, 0, 3}, {0, 0, 0, 0}, {1, 3, 0, 2}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {2, 3, 0, 1}, {2, 3, 1, 0},
    {1, 0, 2, 3}, {1, 0, 3, 2}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {2, 0, 3, 1}, {0, 0, 0, 0}, {2, 1, 3, 0},
    {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
    {2, 0, 1, 3}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {3, 0, 1, 2}, {3, 0, 2, 1}, {0, 0, 0, 0}, {3, 1, 2, 0},
    {2, 1, 0, 3}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {3, 1, 0, 2}, {0, 0, 0, 0}, {3, 2, 0, 1}, {3, 2, 1, 0}};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Converting a float outside int range is undefined; -2^31 itself is excluded because the
// floor below subtracts one from it.
bool CellInRange(float v)
{
    return v > -2147483648.0f && v < 2147483648.0f;
}

int Floor(float v)
{
    const int truncated = static_cast<int>(v);
    return v > 0.0f ? truncated : truncated - 1;
}

float Corner(int gradient, float x, float y, float z, float w)
{
    float t = 0.6f - x * x - y * y - z * z - w * w;
    if (t < 0.0f)
        return 0.0f;
    t *= t;
    const signed char* g = kGrad4[gradient];
    return t * t * (g[0] * x + g[1] * y + g[2] * z + g[3] * w);
}

float Noise4(float x, float y, float z, float w)
{
    const float F4 = (std::sqrt(5.0f) - 1.0f) / 4.0f;
    const float G4 = (5.0f - std::sqrt(5.0f)) / 20.0f;

    // Skew into the lattice of hypercubes and find the cell.
    const float s = (x + y + z + w) * F4;
    const float xs = x + s, ys = y + s, zs = z + s, ws = w + s;
    if (!CellInRange(xs) || !CellInRange(ys) || !CellInRange(zs) || !CellInRange(ws))
        return kNaN;
    const int i = Floor(xs), j = Floor(ys), k = Floor(zs), l = Floor(ws);

    // Unskew the cell origin; 64-bit so that four large cells cannot overflow the sum.
    const float t = static_cast<float>(static_cast<std::int64_t>(i) + j + k + l) * G4;
    const float x0 = x - (static_cast<float>(i) - t);
    const float y0 = y - (static_cast<float>(j) - t);
    const float z0 = z - (static_cast<float>(k) - t);
    const float w0 = w - (static_cast<float>(l) - t);

    // Rank the offsets to find which of the 24 simplices holds the point.
    const int c = 32 * (x0 > y0) + 16 * (x0 > z0) + 8 * (y0 > z0) + 4 * (x0 > w0) + 2 * (y0 > w0) + (z0 > w0);
    const unsigned char* rank = kSimplex[c];
    const int i1 = rank[0] >= 3, j1 = rank[1] >= 3, k1 = rank[2] >= 3, l1 = rank[3] >= 3;
    const int i2 = rank[0] >= 2, j2 = rank[1] >= 2, k2 = rank[2] >= 2, l2 = rank[3] >= 2;
    const int i3 = rank[0] >= 1, j3 = rank[1] >= 1, k3 = rank[2] >= 1, l3 = rank[3] >= 1;

    const float x1 = x0 - i1 + G4, y1 = y0 - j1 + G4, z1 = z0 - k1 + G4, w1 = w0 - l1 + G4;
    const float x2 = x0 - i2 + 2.0f * G4, y2 = y0 - j2 + 2.0f * G4, z2 = z0 - k2 + 2.0f * G4, w2 = w0 - l2 + 2.0f * G4;
    const float x3 = x0 - i3 + 3.0f * G4, y3 = y0 - j3 + 3.0f * G4, z3 = z0 - k3 + 3.0f * G4, w3 = w0 - l3 + 3.0f * G4;
    const float x4 = x0 - 1.0f + 4.0f * G4, y4 = y0 - 1.0f + 4.0f * G4, z4 = z0 - 1.0f + 4.0f * G4, w4 = w0 - 1.0f + 4.0f * G4;

    // Non-negative residues: a negative cell must not index the tables below their start.
    const int ii = i & 255, jj = j & 255, kk = k & 255, ll = l & 255;
    const unsigned char* p = kPerm.p;
    const auto gradient = [&](int di, int dj, int dk, int dl) {
        return p[ii + di + p[jj + dj + p[kk + dk + p[ll + dl]]]] % 32;
    };

    return Corner(gradient(0, 0, 0, 0), x0, y0, z0, w0) +
           Corner(gradient(i1, j1, k1, l1), x1, y1, z1, w1) +
           Corner(gradient(i2, j2, k2, l2), x2, y2, z2, w2) +
           Corner(gradient(i3, j3, k3, l3), x3, y3, z3, w3) +
           Corner(gradient(1, 1, 1, 1), x4, y4, z4, w4);
}

} // namespace

float OctaveNoise4D(float octaves, float persistence, float scale, float x, float y, float z, float w)
{
    // An infinite count would never finish.
    if (!(octaves > 0.0f) || !std::isfinite(octaves))
        return kNaN;

    float total = 0.0f;
    float amplitude = 1.0f;
    float amplitudeSum = 0.0f;
    float frequency = scale;
    // An integer count: a float one stops growing at 2^24 and would loop for ever above it.
    std::int64_t i = 0;
    do {
        total += Noise4(x * frequency, y * frequency, z * frequency, w * frequency) * 27.0f * amplitude;
        if (std::isnan(total))
            return kNaN;
        frequency *= 2.0f;
        amplitudeSum += amplitude;
        amplitude *= persistence;
        ++i;
    } while (octaves > static_cast<float>(i));
    return total / amplitudeSum;
}

} // namespace quellor
