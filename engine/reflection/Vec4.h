#pragma once

#include "engine/reflection/Reflected.h"

namespace quellor {

// Reflected four-float value type; all zeros by default, w included.
class Vec4 final {
    QUELLOR_REFLECT_ROOT(Vec4)

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    Vec4() = default;
    Vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    void SetX(float value) { x = value; }
    float GetX() const { return x; }
};

} // namespace quellor
