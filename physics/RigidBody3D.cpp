#include "physics/RigidBody3D.h"

#include "physics/Broadphase3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/MassProperties3D.h"
#include "physics/PhysicsDebugDraw3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/PhysicsWorld3D.h"

#include <cmath>
#include <limits>

namespace quellor {

using namespace physics_math;

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

float3x3 Filled(float value)
{
    return float3x3(value, value, value, value, value, value, value, value, value);
}

} // namespace

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

RigidBody3D::~RigidBody3D()
{
    while (Collider3D* collider = m_colliders.Front())
        RemoveCollider(collider);
    m_colliders.Clear();
    m_edges.Clear();
}

void RigidBody3D::Wake()
{
    m_stateFlags |= kBodyAwake;
    m_sleepTime = 0.0f;
}

Collider3D* RigidBody3D::AddCollider(const ColliderDescription3D& description)
{
    if (!m_world)
        return nullptr;
    Collider3D* collider = CreateCollider3D(description, m_world->GetColliderPool(), m_world->GetAllocator());
    if (!collider)
        return nullptr;
    collider->m_serial = m_world->TakeColliderSerial();
    collider->m_body = this;
    m_colliders.PushBack(collider);
    collider->m_geometry->Build();
    collider->ComputeAABB();
    MarkMassDirty();
    Broadphase3D& broadphase = m_world->GetBroadphase();
    broadphase.GetProxyList().PushBack(&collider->m_proxy);
    broadphase.AddProxy(&collider->m_proxy);
    return collider;
}

void RigidBody3D::RemoveCollider(Collider3D* collider)
{
    if (!collider || !ColliderList3D::Contains(collider, m_colliders))
        return;
    collider->m_proxy.m_link.Unlink();
    collider->m_bodyLink.Unlink();
    if (!m_world)
        return;
    m_world->GetBroadphase().RemoveProxy(&collider->m_proxy);
    DestroyCollider3D(collider, m_world->GetColliderPool(), m_world->GetAllocator());
}

void RigidBody3D::ApplyForceAtPoint(const ZOR::float3& force, const ZOR::float3& point)
{
    m_force += force;
    m_torque += (point - m_worldCenterOfMass).Cross(force);
    Wake();
}

void RigidBody3D::SetLinearVelocity(const ZOR::float3& velocity)
{
    m_linearVelocity = velocity;
    Wake();
}

void RigidBody3D::SetAngularVelocity(const ZOR::float3& velocity)
{
    m_angularVelocity = velocity;
    Wake();
}

void RigidBody3D::SetAllowRotation(bool allow)
{
    if (allow)
        m_shapeFlags |= kShapeAllowRotation;
    else
        m_shapeFlags &= static_cast<std::uint8_t>(~kShapeAllowRotation);
    Wake();
}

void RigidBody3D::SetHasGravity(bool hasGravity)
{
    if (hasGravity)
        m_shapeFlags |= kShapeHasGravity;
    else
        m_shapeFlags &= static_cast<std::uint8_t>(~kShapeHasGravity);
    Wake();
}

void RigidBody3D::SetAwake(bool awake)
{
    if (awake)
        Wake();
    else
        m_stateFlags &= static_cast<std::uint8_t>(~kBodyAwake);
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

void RigidBody3D::ComputeMass()
{
    m_mass = 0.0f;
    m_localCenterOfMass = float3();
    for (const Collider3D* collider : m_colliders) {
        if (collider->m_sensor)
            continue;
        m_mass += collider->m_mass;
        m_localCenterOfMass += collider->m_centerOfMass * collider->m_mass;
    }
    m_inverseMass = m_mass != 0.0f ? 1.0f / m_mass : 0.0f;
    m_localCenterOfMass *= m_inverseMass;

    switch (m_motionType) {
    case kBodyDynamic: {
        float3x3 inertia = ZeroMatrix();
        for (const Collider3D* collider : m_colliders) {
            const float3x3 own = Scaled(collider->m_inertia, collider->m_mass);
            inertia = Add(inertia,
                          ParallelAxis(own, m_localCenterOfMass - collider->m_centerOfMass, collider->m_mass));
        }
        m_unitInertia = Scaled(inertia, m_inverseMass);
        break;
    }
    case kBodyStatic:
    case kBodyFixed:
        m_mass = kInfinity;
        m_inverseMass = 0.0f;
        m_unitInertia = Filled(kInfinity);
        break;
    default:
        break;
    }
    if (m_mass == 0.0f)
        m_unitInertia = Filled(kInfinity);
}

void RigidBody3D::UpdateMassProperties()
{
    ComputeMass();
    m_worldCenterOfMass = m_position + m_rotation * m_localCenterOfMass;
    m_shapeFlags &= static_cast<std::uint8_t>(~kShapeMassDirty);
}

void RigidBody3D::UpdateRotation()
{
    Mat3 rotation = ToMat3(m_rotation);
    Mat3::Orthonormalize(rotation);
    m_rotation = FromMat3(rotation);
    m_inverseRotation = m_rotation.Transpose();
}

void RigidBody3D::UpdatePosition()
{
    m_position = m_worldCenterOfMass - m_rotation * m_localCenterOfMass;
}

void RigidBody3D::UpdateWorldInverseInertia()
{
    if (m_motionType == kBodyDynamic && (m_shapeFlags & kShapeAllowRotation) == 0) {
        // A body that may not turn must take every contact impulse as a push. With its inertia
        // the solver would spend part of each off-centre impulse on a turn that the integration
        // then drops, and a resting body would slide off at the speed that turn left behind.
        m_worldInverseInertia = ZeroMatrix();
    } else if (m_motionType == kBodyDynamic && m_mass != 0.0f) {
        // Mat3::Invert gives the zero matrix for a singular or non-finite tensor, so a body with
        // no rotational inertia (a sphere of radius 0 given a mass) simply does not turn.
        Mat3 inertia = ToMat3(Scaled(m_rotation * m_unitInertia * m_inverseRotation, m_mass));
        Mat3::Invert(inertia);
        m_worldInverseInertia = FromMat3(inertia);
    } else if (m_motionType == kBodyStatic || m_motionType == kBodyFixed || m_mass == 0.0f) {
        m_worldInverseInertia = ZeroMatrix();
    }
}

void RigidBody3D::UpdateColliderBounds()
{
    for (Collider3D* collider : m_colliders)
        collider->ComputeAABB();
}

void RigidBody3D::IntegratePosition(float dt)
{
    if (m_motionType == kBodyStatic) {
        m_linearVelocity = float3();
        m_angularVelocity = float3();
        return;
    }
    if (m_motionType != kBodyDynamic)
        return;

    m_worldCenterOfMass += m_linearVelocity * dt;
    if ((m_shapeFlags & kShapeAllowRotation) == 0) {
        m_angularVelocity = float3();
        UpdatePosition();
        UpdateRotation();
        return;
    }

    const float speedSquared = LengthSquared(m_angularVelocity);
    if (speedSquared > 0.00001f) {
        const float speed = std::sqrt(speedSquared);
        const float3 axis = m_angularVelocity * (1.0f / speed);
        const float angle = speed * dt;
        const float axisSquared = LengthSquared(axis);
        float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
        if (axisSquared > 0.00001f) {
            const float half = 0.5f * angle;
            const float s = std::sin(half) / std::sqrt(axisSquared);
            x = axis.x * s;
            y = axis.y * s;
            z = axis.z * s;
            w = std::cos(half);
        }
        m_rotation = RotationFromQuaternion(x, y, z, w) * m_rotation;
    }

    Mat3 rotation = ToMat3(m_rotation);
    Mat3::Orthonormalize(rotation);
    m_rotation = FromMat3(rotation);
    UpdatePosition();
    UpdateRotation();
}

void RigidBody3D::DebugDraw(PhysicsDebugDraw3D& drawer) const
{
    const bool awake = IsAwake();
    std::uint32_t colour = kBodyColourAsleep;
    if (awake) {
        switch (m_motionType) {
        case kBodyStatic:
            colour = kBodyColourStatic;
            break;
        case kBodyFixed:
            colour = kBodyColourFixed;
            break;
        default:
            colour = kBodyColourDynamic;
            break;
        }
    }
    for (const Collider3D* collider : m_colliders)
        collider->DebugDraw(drawer, awake && collider->m_sensor ? kBodyColourSensor : colour);

    drawer.DrawSphere(m_worldCenterOfMass, 0.05f, m_rotation, 0xFFFFFFFFu);
    drawer.DrawLine(m_position, m_position + Column(m_rotation, 0) * 0.3f, 0xFFFF0000u);
    drawer.DrawLine(m_position, m_position + Column(m_rotation, 1) * 0.3f, 0xFF00FF00u);
    drawer.DrawLine(m_position, m_position + Column(m_rotation, 2) * 0.3f, 0xFF0000FFu);
}

} // namespace quellor
