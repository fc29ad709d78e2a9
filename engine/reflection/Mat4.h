#pragma once

#include "engine/reflection/Reflected.h"

namespace quellor {

// Reflected 4x4 matrix, row by row (element k in row k / 4, column k % 4); identity by default.
// Points are columns and the translation sits in m03, m13, m23.
class Mat4 final {
    QUELLOR_REFLECT_ROOT(Mat4)

    float m00 = 1.0f, m01 = 0.0f, m02 = 0.0f, m03 = 0.0f;
    float m10 = 0.0f, m11 = 1.0f, m12 = 0.0f, m13 = 0.0f;
    float m20 = 0.0f, m21 = 0.0f, m22 = 1.0f, m23 = 0.0f;
    float m30 = 0.0f, m31 = 0.0f, m32 = 0.0f, m33 = 1.0f;

    Mat4() = default;
    Mat4(float a00, float a01, float a02, float a03,
         float a10, float a11, float a12, float a13,
         float a20, float a21, float a22, float a23,
         float a30, float a31, float a32, float a33)
        : m00(a00), m01(a01), m02(a02), m03(a03),
          m10(a10), m11(a11), m12(a12), m13(a13),
          m20(a20), m21(a21), m22(a22), m23(a23),
          m30(a30), m31(a31), m32(a32), m33(a33)
    {
    }

};

} // namespace quellor
