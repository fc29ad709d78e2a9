#include "renderer/math/float2x2.h"

#include <cmath>

namespace ZOR {

const float2x2& float2x2::Rotate(float angle)
{
    thread_local float2x2 result;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    result.m[0] = c;
    result.m[1] = -s;
    result.m[2] = s;
    result.m[3] = c;
    return result;
}

} // namespace ZOR
