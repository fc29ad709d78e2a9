#include "renderer/math/AABB.h"

#include <algorithm>

namespace ZOR {

AABB::AABB(const float3& min_, const float3& max_)
{
    Set(min_, max_);
}

AABB::AABB(const float4& min_, const float4& max_)
{
    Set(min_, max_);
}

AABB::AABB(float minX, float minY, float minZ, float maxX, float maxY, float maxZ)
{
    Set(minX, minY, minZ, maxX, maxY, maxZ);
}

void AABB::Set(const float3& min_, const float3& max_)
{
    min = min_;
    max = max_;
    ComputeCenter();
}

void AABB::Set(const float4& min_, const float4& max_)
{
    min.Set(min_);
    max.Set(max_);
    ComputeCenter();
}

void AABB::Set(float minX, float minY, float minZ, float maxX, float maxY, float maxZ)
{
    min.Set(minX, minY, minZ);
    max.Set(maxX, maxY, maxZ);
    ComputeCenter();
}

void AABB::FormUnion(const AABB& other)
{
    min.Set(std::min(min.x, other.min.x), std::min(min.y, other.min.y), std::min(min.z, other.min.z));
    max.Set(std::max(max.x, other.max.x), std::max(max.y, other.max.y), std::max(max.z, other.max.z));
    ComputeCenter();
}

bool AABB::Intersects(const AABB& other) const
{
    const bool apart = min.x > other.max.x || other.min.x > max.x || min.y > other.max.y ||
                       other.min.y > max.y || min.z > other.max.z || other.min.z > max.z;
    return !apart;
}

} // namespace ZOR
