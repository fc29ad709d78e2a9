#include "physics/ContactRecord3D.h"

#include "physics/Collider3D.h"
#include "physics/Contact3D.h"
#include "physics/ContactPoint3D.h"

namespace quellor {

ContactRecord3D MakeContactRecord3D(const Contact3D& contact, const Collider3D* self)
{
    ContactRecord3D record;
    const bool selfIsA = contact.m_colliderA == self;
    const Collider3D* other = selfIsA ? contact.m_colliderB : contact.m_colliderA;
    record.m_other = other ? static_cast<ColliderComponent3D*>(other->m_userData) : nullptr;
    record.m_wasTouching = contact.m_wasTouching;
    record.m_touching = contact.m_touching;

    const int count = contact.m_pointCount <= Contact3D::kMaxPoints ? contact.m_pointCount : Contact3D::kMaxPoints;
    for (int i = 0; i < count; ++i) {
        const ContactPoint3D* point = contact.m_points[i];
        if (!point)
            break;
        ContactRecordPoint3D& out = record.m_points[record.m_pointCount++];
        out.m_point = selfIsA ? point->m_pointB : point->m_pointA;
        out.m_normal = selfIsA ? -point->m_normal : point->m_normal;
        out.m_depth = point->m_depth;
        out.m_normalRelativeVelocity = point->m_normalRelativeVelocity;
        out.m_tangentialRelativeVelocity = point->m_tangentialRelativeVelocity;
        out.m_normalImpulse = point->m_normalImpulse;
        out.m_frictionImpulse = point->m_frictionImpulse;
    }
    return record;
}

} // namespace quellor
