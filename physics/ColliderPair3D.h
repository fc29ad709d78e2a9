#pragma once
#include "engine/IntrusiveList.h"

namespace quellor {

class Collider3D;

// Two colliders whose world boxes overlap, in the order the broadphase's scan met them.
struct ColliderPair3D {
    Collider3D* m_colliderA = nullptr;
    Collider3D* m_colliderB = nullptr;
    IntrusiveLink<ColliderPair3D> m_link;
};

using ColliderPairList3D = IntrusiveList<ColliderPair3D, &ColliderPair3D::m_link>;

} // namespace quellor
