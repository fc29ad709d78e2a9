#pragma once

#include "engine/reflection/Reflected.h"

namespace quellor {

struct Mat3;
class Mat4;

// Reflected quaternion; w is the scalar part, so the default is the identity rotation.
class Quat final {
    QUELLOR_REFLECT_ROOT(Quat)

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    Quat() = default;
    Quat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    // Sets this quaternion from a row-major rotation matrix and returns it. Not normalised.
    Quat& SetFromMatrix(const Mat3& m);
    // The same from the upper-left 3x3 of a 4x4 matrix; translation and the last row are ignored.
    Quat& SetFromMat4(const Mat4& m);
    // Scales to length 1 (all four parts) and returns it; a zero quaternion stays zero.
    Quat& Normalize();
};

} // namespace quellor
