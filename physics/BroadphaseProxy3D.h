#pragma once
#include "engine/IntrusiveList.h"
#include "renderer/math/float3.h"

#include <cstdint>

namespace quellor {

class Collider3D;

// What the broadphase holds of a collider: the collider and its world box, which the collider's
// geometry rewrites whenever the body's bounds are refreshed. No margin is added.
struct BroadphaseProxy3D {
    IntrusiveLink<BroadphaseProxy3D> m_link; // in the broadphase's list of all proxies
    Collider3D* m_collider = nullptr;
    ZOR::float3 m_min;
    ZOR::float3 m_max;
    // Place in the broadphase's ordered set, -1 while in none; lets removal find it at once.
    std::int32_t m_setIndex = -1;
};

} // namespace quellor
