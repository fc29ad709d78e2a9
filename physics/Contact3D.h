#pragma once
#include "engine/IntrusiveList.h"

#include <cstdint>

namespace quellor {

class BlockPool;
class Collider3D;
class Contact3D;
struct ContactPoint3D;

// A contact's entry in one collider's contact list, naming the other collider.
struct ContactEdge3D {
    Contact3D* m_contact = nullptr;
    Collider3D* m_other = nullptr;
    IntrusiveLink<ContactEdge3D> m_link;
};

using ContactEdgeList3D = IntrusiveList<ContactEdge3D, &ContactEdge3D::m_link>;

// Contact marks.
enum ContactMarks3D : std::uint8_t {
    kContactInIsland = 4,
};

// The record of one pair of colliders (A, B in a fixed order) and up to four points.
class Contact3D {
public:
    static constexpr int kMaxPoints = 4;

    // Empty: no points, not touching, in no list.
    Contact3D(Collider3D* colliderA, Collider3D* colliderB);
    Contact3D(const Contact3D&) = delete;
    Contact3D& operator=(const Contact3D&) = delete;

    // Destroys every point and gives it back to the pool; the point count becomes 0.
    void ReleasePoints(BlockPool& pointPool);

    float m_restitution = 0.0f;
    float m_friction = 0.0f;
    ContactEdge3D m_edgeA; // in collider A's list; other is B
    ContactEdge3D m_edgeB; // in collider B's list; other is A
    Collider3D* m_colliderA;
    Collider3D* m_colliderB;
    std::uint8_t m_freshOnly = 0; // either shape is a sphere: keep no old point
    ContactPoint3D* m_points[kMaxPoints] = {};
    std::uint8_t m_pointCount = 0;
    std::uint8_t m_touching = 0;
    std::uint8_t m_wasTouching = 0;
    IntrusiveLink<Contact3D> m_managerLink;
    IntrusiveLink<Contact3D> m_islandLink;
    std::uint8_t m_marks = 0;
};

} // namespace quellor
