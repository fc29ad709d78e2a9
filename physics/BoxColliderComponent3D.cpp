#include "physics/BoxColliderComponent3D.h"

#include "engine/reflection/MetaRegistrar.h"
#include "physics/ColliderDescription3D.h"
#include "physics/RigidBody3D.h"

#include <cmath>

namespace quellor {

QUELLOR_RECORD(BoxColliderComponent3D, ColliderComponent3D, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_center)).Setter(QL_METHOD(SetCenter));
    reg.Member(QL_FIELD(m_rotationX)).Setter(QL_METHOD(SetRotationX));
    reg.Member(QL_FIELD(m_rotationY)).Setter(QL_METHOD(SetRotationY));
    reg.Member(QL_FIELD(m_rotationZ)).Setter(QL_METHOD(SetRotationZ));
    reg.Member(QL_FIELD(m_halfExtents)).Setter(QL_METHOD(SetHalfExtents));
    reg.Member(QL_FIELD(m_enviroType)).Setter(QL_METHOD(SetEnvironmentType));
    reg.Member(QL_FIELD(m_isSensor)).Setter(QL_METHOD(SetSensor));
}

BoxColliderComponent3D::~BoxColliderComponent3D() = default;

Component* BoxColliderComponent3D::Clone() const
{
    auto* copy = new BoxColliderComponent3D;
    copy->m_center = m_center;
    copy->m_rotationX = m_rotationX;
    copy->m_rotationY = m_rotationY;
    copy->m_rotationZ = m_rotationZ;
    copy->m_halfExtents = m_halfExtents;
    return copy;
}

Collider3D* BoxColliderComponent3D::BuildCollider(RigidBody3D* body)
{
    const ZOR::float3 scale = GetEntityScale();
    ColliderDescription3D description;
    description.m_type = kColliderBox;
    description.m_box.center = ZOR::float3(m_center.x, m_center.y, m_center.z);
    description.m_box.halfExtents = ZOR::float3(std::fabs(m_halfExtents.x * scale.x), std::fabs(m_halfExtents.y * scale.y),
                                                std::fabs(m_halfExtents.z * scale.z));
    description.m_box.rotation = Rotation(m_rotationX, m_rotationY, m_rotationZ);
    return body->AddCollider(description);
}

BoxColliderComponent3D* BoxColliderComponent3D::SetCenter(const Vec4& center)
{
    return Reshape<BoxColliderComponent3D>(m_center, center);
}

BoxColliderComponent3D* BoxColliderComponent3D::SetRotationX(float radians)
{
    return Reshape<BoxColliderComponent3D>(m_rotationX, radians);
}

BoxColliderComponent3D* BoxColliderComponent3D::SetRotationY(float radians)
{
    return Reshape<BoxColliderComponent3D>(m_rotationY, radians);
}

BoxColliderComponent3D* BoxColliderComponent3D::SetRotationZ(float radians)
{
    return Reshape<BoxColliderComponent3D>(m_rotationZ, radians);
}

BoxColliderComponent3D* BoxColliderComponent3D::SetHalfExtents(const Vec4& halfExtents)
{
    return Reshape<BoxColliderComponent3D>(m_halfExtents, halfExtents);
}

} // namespace quellor
