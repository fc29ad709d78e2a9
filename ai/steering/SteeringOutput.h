#pragma once
// What a steering behaviour computes: a linear vector (a desired velocity or velocity change,
// w = 0) and an angular quaternion. Default-constructed it is the zero output: linear
// (0, 0, 0, 0), angular the identity (0, 0, 0, 1).
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

struct SteeringOutput {
    Vec4 linear;
    Quat angular;

    void Reset() { *this = SteeringOutput(); }
};

} // namespace quellor
