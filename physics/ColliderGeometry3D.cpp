#include "physics/ColliderGeometry3D.h"

#include "physics/Collider3D.h"
#include "physics/RigidBody3D.h"

namespace quellor {

ColliderGeometry3D::BodyPose3D ColliderGeometry3D::PoseOf(const RigidBody3D& body)
{
    return BodyPose3D{body.m_position, body.m_rotation, body.m_inverseRotation};
}

ColliderGeometry3D::BodyPose3D ColliderGeometry3D::Pose() const
{
    if (m_collider && m_collider->m_body)
        return PoseOf(*m_collider->m_body);
    return BodyPose3D{};
}

} // namespace quellor
