#include "physics/RigidBody3D.h"

#include "physics/PhysicsMath3D.h"

namespace quellor {

using namespace physics_math;

RigidBody3D::RigidBody3D(const BodyDescription3D& description)
    : m_userData(description.m_userData),
      m_motionType(description.m_motionType),
      m_unitInertia(ZeroMatrix()),
      m_shapeFlags(static_cast<std::uint8_t>((description.m_flags & (kBodyAllowRotation | kBodyHasGravity)) << 1)),
      m_position(description.m_position),
      m_linearVelocity(description.m_linearVelocity),
      m_rotation(description.m_rotation),
      m_inverseRotation(description.m_rotation.Transpose()),
      m_angularVelocity(description.m_angularVelocity)
{
    Wake();
}

void RigidBody3D::Wake()
{
    m_stateFlags |= kBodyAwake;
    m_sleepTime = 0.0f;
}

void RigidBody3D::SetPosition(const ZOR::float3& position)
{
    m_position = position;
    m_worldCenterOfMass = m_position + m_rotation * m_localCenterOfMass;
    Wake();
}

void RigidBody3D::SetOrientation(const ZOR::float3x3& rotation)
{
    m_rotation = rotation;
    UpdateRotation();
    m_worldCenterOfMass = m_position + m_rotation * m_localCenterOfMass;
    Wake();
}

void RigidBody3D::UpdateRotation()
{
    Mat3 rotation = ToMat3(m_rotation);
    Mat3::Orthonormalize(rotation);
    m_rotation = FromMat3(rotation);
    m_inverseRotation = m_rotation.Transpose();
}

} // namespace quellor
