#pragma once
#include "engine/IntrusiveList.h"
#include "renderer/math/float3.h"

namespace quellor {

class Collider3D;

// What the broadphase holds of a collider: the collider and its world box, which the collider's
// geometry rewrites whenever the body's bounds are refreshed. No margin is added.
struct BroadphaseProxy3D {
    IntrusiveLink<BroadphaseProxy3D> m_link; // the broadphase's list of every proxy
    Collider3D* m_collider = nullptr;
    ZOR::float3 m_min;
    ZOR::float3 m_max;
};

} // namespace quellor
