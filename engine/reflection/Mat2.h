#pragma once

#include "engine/reflection/Reflected.h"

namespace quellor {

// Reflected 2x2 matrix, row by row; identity by default.
class Mat2 final {
    QUELLOR_REFLECT_ROOT(Mat2)

    float m00 = 1.0f, m01 = 0.0f;
    float m10 = 0.0f, m11 = 1.0f;

    Mat2() = default;
    Mat2(float a00, float a01, float a10, float a11) : m00(a00), m01(a01), m10(a10), m11(a11) {}

};

} // namespace quellor
