#include "renderer/math/float3.h"

#include "renderer/math/float4.h"

namespace ZOR {

void float3::Set(const float4& o)
{
    x = o.x;
    y = o.y;
    z = o.z;
}

} // namespace ZOR
