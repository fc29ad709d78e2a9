#pragma once
#include "engine/IntrusiveList.h"

#include <cstdint>

namespace quellor {

class RigidBody3D;

// One body's half of the link to another body with which it shares contacts; the twin is the
// other body's half. The count is the number of such contacts.
struct BodyPairEdge3D {
    IntrusiveLink<BodyPairEdge3D> m_link; // in the body's edge list
    RigidBody3D* m_other = nullptr;
    BodyPairEdge3D* m_twin = nullptr;
    std::uint32_t m_count = 0;
};

using BodyPairEdgeList3D = IntrusiveList<BodyPairEdge3D, &BodyPairEdge3D::m_link>;

} // namespace quellor
