#include "physics/Contact3D.h"

#include "engine/BlockPool.h"
#include "physics/ContactPoint3D.h"

namespace quellor {

Contact3D::Contact3D(Collider3D* colliderA, Collider3D* colliderB) : m_colliderA(colliderA), m_colliderB(colliderB)
{
    m_edgeA.m_contact = this;
    m_edgeA.m_other = colliderB;
    m_edgeB.m_contact = this;
    m_edgeB.m_other = colliderA;
}

void Contact3D::ReleasePoints(BlockPool& pointPool)
{
    for (int i = 0; i < m_pointCount; ++i) {
        if (m_points[i]) {
            m_points[i]->~ContactPoint3D();
            pointPool.Free(m_points[i]);
        }
        m_points[i] = nullptr;
    }
    m_pointCount = 0;
}

} // namespace quellor
