#pragma once

#include "engine/Mat3.h"
#include "engine/reflection/Reflected.h"

namespace quellor {

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
    // The row-major rotation matrix of the quaternion, by the unit-quaternion formula applied as
    // it stands (no normalisation). The one place the formula is written; inline, as physics
    // turns every body with it each step.
    Mat3 ToMatrix() const
    {
        return Mat3(1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - z * w), 2.0f * (x * z + y * w),
                    2.0f * (x * y + z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - x * w),
                    2.0f * (x * z - y * w), 2.0f * (y * z + x * w), 1.0f - 2.0f * (x * x + y * y));
    }
};

} // namespace quellor
