#pragma once

#include "engine/reflection/Reflected.h"

namespace quellor {

// Reflected two-float value type.
class Vec2 final {
    QUELLOR_REFLECT_ROOT(Vec2)

    float x = 0.0f;
    float y = 0.0f;

    Vec2() = default;
    Vec2(float x_, float y_) : x(x_), y(y_) {}

    void SetX(float value) { x = value; }
    float GetX() const { return x; }
    void SetY(float value) { y = value; }
    float GetY() const { return y; }
};

} // namespace quellor
