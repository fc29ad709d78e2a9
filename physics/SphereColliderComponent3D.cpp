#include "physics/SphereColliderComponent3D.h"

#include "engine/reflection/MetaRegistrar.h"
#include "physics/ColliderDescription3D.h"
#include "physics/RigidBody3D.h"

#include <cmath>

namespace quellor {

QUELLOR_RECORD(SphereColliderComponent3D, ColliderComponent3D, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_center)).Setter(QL_METHOD(SetCenter));
    reg.Member(QL_FIELD(m_radius)).Setter(QL_METHOD(SetRadius));
    reg.Member(QL_FIELD(m_eType)).Setter(QL_METHOD(SetEnemyType));
    reg.Member(QL_FIELD(m_enviroType)).Setter(QL_METHOD(SetEnvironmentType));
}

SphereColliderComponent3D::~SphereColliderComponent3D() = default;

Component* SphereColliderComponent3D::Clone() const
{
    auto* copy = new SphereColliderComponent3D;
    copy->m_center = m_center;
    copy->m_radius = m_radius;
    return copy;
}

Collider3D* SphereColliderComponent3D::BuildCollider(RigidBody3D* body)
{
    const ZOR::float3 scale = GetEntityScale();
    const float meanScale = (std::fabs(scale.x) + std::fabs(scale.y) + std::fabs(scale.z)) * 0.33333334f;
    ColliderDescription3D description;
    description.m_type = kColliderSphere;
    description.m_sphere.center = ZOR::float3(m_center.x, m_center.y, m_center.z);
    description.m_sphere.radius = std::fabs(m_radius) * meanScale;
    return body->AddCollider(description);
}

SphereColliderComponent3D* SphereColliderComponent3D::SetCenter(const Vec4& center)
{
    return Reshape<SphereColliderComponent3D>(m_center, center);
}

SphereColliderComponent3D* SphereColliderComponent3D::SetRadius(float radius)
{
    return Reshape<SphereColliderComponent3D>(m_radius, radius);
}

} // namespace quellor
