#include "physics/RigidBodyComponent3D.h"

#include "engine/Entity.h"
#include "engine/Mat3.h"
#include "engine/Transform3D.h"
#include "engine/graphics/Convert.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/BodyDescription3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/PhysicsWorld3D.h"
#include "physics/RigidBody3D.h"

#include <cstdint>

namespace quellor {

QUELLOR_RECORD(RigidBodyComponent3D, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_type)).Setter(QL_METHOD(SetType));
    reg.Member(QL_FIELD(m_linearVelocity)).Setter(QL_METHOD(SetLinearVelocity));
    reg.Member(QL_FIELD(m_angularVelocity)).Setter(QL_METHOD(SetAngularVelocity));
    reg.Member(QL_FIELD(m_allowRotation)).Setter(QL_METHOD(SetAllowRotation));
    reg.Member(QL_FIELD(m_hasGravity)).Setter(QL_METHOD(SetHasGravity));
}

namespace {

// A column of the rotation, unit length unless it is zero.
Vec4 Axis(const ZOR::float3x3& m, int column, float sign)
{
    ZOR::float3 axis(m.m[column], m.m[3 + column], m.m[6 + column]);
    const float length = axis.Length();
    if (length != 0.0f)
        axis = axis * (1.0f / length);
    return Vec4(sign * axis.x, sign * axis.y, sign * axis.z, 0.0f);
}

void SetRotationOf(Transform3D& transform, const ZOR::float3x3& rotation)
{
    transform.m_rotation.SetFromMatrix(physics_math::ToMat3(rotation));
}

} // namespace

RigidBodyComponent3D* Entity::GetRigidBody() const
{
    return static_cast<RigidBodyComponent3D*>(GetComponent(RigidBodyComponent3D::ID));
}

RigidBodyComponent3D* Component::GetRigidBody() const
{
    Entity* entity = GetEntity();
    return entity ? entity->GetRigidBody() : nullptr;
}

RigidBodyComponent3D::~RigidBodyComponent3D() = default;

Component* RigidBodyComponent3D::Clone() const
{
    return new RigidBodyComponent3D();
}

void RigidBodyComponent3D::Initialize()
{
    auto* system = GetSystem<PhysicsSystem3D>();
    if (!system || !system->GetWorld())
        return;
    m_pushTransform = true;
    BodyDescription3D description;
    description.m_motionType = static_cast<std::uint8_t>(m_type);
    description.m_userData = this;
    m_body = system->GetWorld()->CreateBody(description);
    if (!m_body)
        return;
    m_body->SetLinearVelocity(ToFloat3(m_linearVelocity));
    m_body->SetAngularVelocity(ToFloat3(m_angularVelocity));
    m_body->SetAllowRotation(m_allowRotation);
    m_body->SetHasGravity(m_hasGravity);
    system->AddRigidBody(this);
}

void RigidBodyComponent3D::Uninitialize()
{
    auto* system = GetSystem<PhysicsSystem3D>();
    if (m_body && system && system->GetWorld()) {
        // The body frees its colliders: the components holding them must not reach them again.
        for (ColliderComponent3D* collider : system->GetColliders()) {
            if (collider->GetCollider() && collider->GetCollider()->m_body == m_body)
                collider->ForgetCollider();
        }
        system->GetWorld()->DestroyBody(m_body);
    }
    m_body = nullptr;
    m_touching.clear();
    if (system)
        system->RemoveRigidBody(this);
    else
        m_systemLink.Unlink();
}

void RigidBodyComponent3D::SyncTransform()
{
    if (!m_body)
        return;
    if (Transform3D* transform = GetTransform()) {
        if (m_pushTransform) {
            m_body->SetPosition(ZOR::float3(transform->m_x, transform->m_y, transform->m_z));
            m_body->SetOrientation(physics_math::FromMat3(transform->m_rotation.ToMatrix()));
            m_pushTransform = false;
        }
        transform->m_x = m_body->m_position.x;
        transform->m_y = m_body->m_position.y;
        transform->m_z = m_body->m_position.z;
        SetRotationOf(*transform, m_body->m_rotation);
    }
    m_touching.clear();
    m_touching.reserve(m_body->GetEdges().Count());
    for (BodyPairEdge3D* edge : m_body->GetEdges())
        m_touching.push_back(static_cast<RigidBodyComponent3D*>(edge->m_other->m_userData));
}

RigidBodyComponent3D* RigidBodyComponent3D::SetType(int type)
{
    m_type = type;
    // Only the byte: the mass stays as computed until it is next marked out of date.
    if (m_body)
        m_body->m_motionType = static_cast<std::uint8_t>(type);
    return this;
}

RigidBodyComponent3D* RigidBodyComponent3D::SetLinearVelocity(const Vec4& velocity)
{
    m_linearVelocity = velocity;
    if (m_body)
        m_body->SetLinearVelocity(ToFloat3(velocity));
    return this;
}

RigidBodyComponent3D* RigidBodyComponent3D::SetAngularVelocity(const Vec4& velocity)
{
    m_angularVelocity = velocity;
    if (m_body)
        m_body->SetAngularVelocity(ToFloat3(velocity));
    return this;
}

RigidBodyComponent3D* RigidBodyComponent3D::SetAllowRotation(bool allow)
{
    m_allowRotation = allow;
    if (m_body)
        m_body->SetAllowRotation(allow);
    return this;
}

RigidBodyComponent3D* RigidBodyComponent3D::SetHasGravity(bool hasGravity)
{
    m_hasGravity = hasGravity;
    if (m_body)
        m_body->SetHasGravity(hasGravity);
    return this;
}

int RigidBodyComponent3D::GetType() const
{
    return m_body ? m_body->m_motionType : m_type;
}

Vec4 RigidBodyComponent3D::GetLinearVelocity() const
{
    if (!m_body)
        return m_linearVelocity;
    const ZOR::float3& v = m_body->m_linearVelocity;
    return Vec4(v.x, v.y, v.z, 0.0f);
}

Transform3D* RigidBodyComponent3D::GetTransform() const
{
    Entity* entity = GetEntity();
    return entity ? entity->GetComponent<Transform3D>() : nullptr;
}

ZOR::float3 RigidBodyComponent3D::PoseOrigin() const
{
    if (m_body)
        return m_body->m_position;
    const Transform3D* transform = GetTransform();
    return transform ? ZOR::float3(transform->m_x, transform->m_y, transform->m_z) : ZOR::float3();
}

Vec4 RigidBodyComponent3D::GetPosition() const
{
    const ZOR::float3 p = PoseOrigin();
    return Vec4(p.x, p.y, p.z, 1.0f);
}

Vec4 RigidBodyComponent3D::GetCenterOfMass() const
{
    // Without a body there is no mass yet: the centre is where the body will start.
    const ZOR::float3 c = m_body ? m_body->m_worldCenterOfMass : PoseOrigin();
    return Vec4(c.x, c.y, c.z, 1.0f);
}

ZOR::float3x3 RigidBodyComponent3D::GetOrientation() const
{
    if (m_body)
        return m_body->m_rotation;
    const Transform3D* transform = GetTransform();
    return transform ? physics_math::FromMat3(transform->m_rotation.ToMatrix()) : ZOR::float3x3();
}

Vec4 RigidBodyComponent3D::GetRight() const
{
    return Axis(GetOrientation(), 0, 1.0f);
}

Vec4 RigidBodyComponent3D::GetUp() const
{
    return Axis(GetOrientation(), 1, 1.0f);
}

Vec4 RigidBodyComponent3D::GetForward() const
{
    return Axis(GetOrientation(), 2, -1.0f);
}

void RigidBodyComponent3D::SetPosition(const Vec4& position)
{
    if (m_body) {
        m_body->SetPosition(ToFloat3(position));
    } else if (Transform3D* transform = GetTransform()) {
        // The body, once made, is placed at its transform.
        transform->SetPosition(position.x, position.y, position.z);
    }
}

void RigidBodyComponent3D::SetOrientation(const ZOR::float3x3& rotation)
{
    if (m_body) {
        m_body->SetOrientation(rotation);
    } else if (Transform3D* transform = GetTransform()) {
        SetRotationOf(*transform, rotation);
    }
}

void RigidBodyComponent3D::SetRotation(const Mat4& rotation)
{
    SetOrientation(ZOR::float3x3(rotation.m00, rotation.m01, rotation.m02, rotation.m10, rotation.m11, rotation.m12,
                                 rotation.m20, rotation.m21, rotation.m22));
}

void RigidBodyComponent3D::ApplyForceAtPoint(const Vec4& force, const Vec4& point)
{
    if (m_body)
        m_body->ApplyForceAtPoint(ToFloat3(force), ToFloat3(point));
}

} // namespace quellor
