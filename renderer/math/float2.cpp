#include "renderer/math/float2.h"

#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

namespace ZOR {

void float2::Set(const float3& o)
{
    x = o.x;
    y = o.y;
}

void float2::Set(const float4& o)
{
    x = o.x;
    y = o.y;
}

} // namespace ZOR
