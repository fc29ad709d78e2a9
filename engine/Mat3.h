#pragma once

namespace quellor {

// A 3x3 float matrix, row by row. Physics keeps rotations and inertia tensors in it; points are
// columns (M * p). Not reflected: no level file names it.
struct Mat3 {
    float m00 = 1.0f, m01 = 0.0f, m02 = 0.0f;
    float m10 = 0.0f, m11 = 1.0f, m12 = 0.0f;
    float m20 = 0.0f, m21 = 0.0f, m22 = 1.0f;

    Mat3() = default;
    Mat3(float a00, float a01, float a02,
         float a10, float a11, float a12,
         float a20, float a21, float a22)
        : m00(a00), m01(a01), m02(a02), m10(a10), m11(a11), m12(a12), m20(a20), m21(a21), m22(a22)
    {
    }

    // In place: the cofactor matrix over the determinant. That is the transpose of the inverse,
    // which is the inverse for the symmetric tensors it is used on. A singular or non-finite
    // matrix becomes all zeros, so a body that cannot turn does not spread inf/NaN.
    static void Invert(Mat3& m);

    // In place: the nearest rotation, through a quaternion. A uniform scale is divided out first.
    static void Orthonormalize(Mat3& m);
};

} // namespace quellor
