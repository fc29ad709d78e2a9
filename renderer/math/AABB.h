#pragma once
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

namespace ZOR {

// Axis-aligned box. The center always follows min and max; min and max are taken as given,
// never reordered.
struct AABB {
    float3 min;
    float3 max;
    float3 center;

    AABB() = default;
    AABB(const float3& min_, const float3& max_);
    AABB(const float4& min_, const float4& max_);
    AABB(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);

    void Set(const float3& min_, const float3& max_);
    void Set(const float4& min_, const float4& max_);
    void Set(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);

    void ComputeCenter() { center = min + (max - min) / 2.0f; }
    const float3& GetCenter() const { return center; }

    // Bounds are inclusive.
    bool Contains(const AABB& other) const { return Contains(other.min) && Contains(other.max); }
    bool Contains(const float3& p) const
    {
        return min.x <= p.x && p.x <= max.x && min.y <= p.y && p.y <= max.y && min.z <= p.z &&
               p.z <= max.z;
    }
    bool Contains(const float4& p) const { return Contains(float3(p.x, p.y, p.z)); }

    // Grows this box to hold other as well.
    void FormUnion(const AABB& other);

    // True when the boxes overlap or touch; false when they are apart on some axis.
    bool Intersects(const AABB& other) const;
};

} // namespace ZOR
