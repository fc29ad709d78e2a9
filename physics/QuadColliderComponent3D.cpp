#include "physics/QuadColliderComponent3D.h"

#include "engine/reflection/MetaRegistrar.h"
#include "physics/ColliderDescription3D.h"
#include "physics/RigidBody3D.h"

namespace quellor {

QUELLOR_RECORD(QuadColliderComponent3D, ColliderComponent3D, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_center)).Setter(QL_METHOD(SetCenter));
    reg.Member(QL_FIELD(m_rotationX)).Setter(QL_METHOD(SetRotationX));
    reg.Member(QL_FIELD(m_rotationY)).Setter(QL_METHOD(SetRotationY));
    reg.Member(QL_FIELD(m_rotationZ)).Setter(QL_METHOD(SetRotationZ));
    reg.Member(QL_FIELD(m_halfWidth)).Setter(QL_METHOD(SetHalfWidth));
    reg.Member(QL_FIELD(m_halfHeight)).Setter(QL_METHOD(SetHalfHeight));
    reg.Member(QL_FIELD(m_enviroType)).Setter(QL_METHOD(SetEnvironmentType));
}

QuadColliderComponent3D::~QuadColliderComponent3D() = default;

Component* QuadColliderComponent3D::Clone() const
{
    auto* copy = new QuadColliderComponent3D;
    copy->m_center = m_center;
    copy->m_rotationX = m_rotationX;
    copy->m_rotationY = m_rotationY;
    copy->m_rotationZ = m_rotationZ;
    copy->m_halfWidth = m_halfWidth;
    copy->m_halfHeight = m_halfHeight;
    return copy;
}

Collider3D* QuadColliderComponent3D::BuildCollider(RigidBody3D* body)
{
    ColliderDescription3D description;
    description.m_type = kColliderQuad;
    description.m_quad.center = ZOR::float3(m_center.x, m_center.y, m_center.z);
    description.m_quad.rotation = Rotation(m_rotationX, m_rotationY, m_rotationZ);
    description.m_quad.halfWidth = m_halfWidth;
    description.m_quad.halfHeight = m_halfHeight;
    return body->AddCollider(description);
}

QuadColliderComponent3D* QuadColliderComponent3D::SetCenter(const Vec4& center)
{
    return Reshape<QuadColliderComponent3D>(m_center, center);
}

QuadColliderComponent3D* QuadColliderComponent3D::SetRotationX(float radians)
{
    return Reshape<QuadColliderComponent3D>(m_rotationX, radians);
}

QuadColliderComponent3D* QuadColliderComponent3D::SetRotationY(float radians)
{
    return Reshape<QuadColliderComponent3D>(m_rotationY, radians);
}

QuadColliderComponent3D* QuadColliderComponent3D::SetRotationZ(float radians)
{
    return Reshape<QuadColliderComponent3D>(m_rotationZ, radians);
}

QuadColliderComponent3D* QuadColliderComponent3D::SetHalfWidth(float halfWidth)
{
    return Reshape<QuadColliderComponent3D>(m_halfWidth, halfWidth);
}

QuadColliderComponent3D* QuadColliderComponent3D::SetHalfHeight(float halfHeight)
{
    return Reshape<QuadColliderComponent3D>(m_halfHeight, halfHeight);
}

QuadColliderComponent3D* QuadColliderComponent3D::SetHalfSize(float halfWidth, float halfHeight)
{
    m_halfWidth = halfWidth;
    m_halfHeight = halfHeight;
    MarkForRebuild();
    return this;
}

} // namespace quellor
