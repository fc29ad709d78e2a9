#include "physics/ColliderComponent3D.h"

#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/Collider3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBody3D.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>

namespace quellor {

// Only a base: the record neither creates nor copies, and has no "ID".
QUELLOR_RECORD(ColliderComponent3D, Component, DerivedMetaNotPODNoDefNoCopy, NoID)
{
    reg.Member(QL_FIELD(m_isSensor));
    reg.Member(QL_FIELD(m_eType));
    reg.Member(QL_FIELD(m_pType));
    reg.Member(QL_FIELD(m_enviroType));
    reg.Member(QL_FIELD(m_mass)).Setter(QL_METHOD(SetMass));
}

namespace {

// Takes the collider off whatever body it is on. The body's mass no longer includes it.
void Detach(Collider3D* collider)
{
    if (RigidBody3D* body = collider->m_body) {
        body->RemoveCollider(collider);
        body->MarkMassDirty();
    }
}

} // namespace

ColliderComponent3D::~ColliderComponent3D() = default;

Component* ColliderComponent3D::Clone() const
{
    return nullptr;
}

void ColliderComponent3D::Initialize()
{
    if (m_collider)
        Detach(m_collider);
    m_collider = nullptr;
    m_built = false;
    if (auto* system = GetSystem<PhysicsSystem3D>())
        system->AddCollider(this);
}

void ColliderComponent3D::Uninitialize()
{
    if (m_collider)
        Detach(m_collider);
    m_collider = nullptr;
    m_built = false;
    m_records.clear();
    if (auto* system = GetSystem<PhysicsSystem3D>())
        system->RemoveCollider(this);
    else
        m_systemLink.Unlink();
}

Collider3D* ColliderComponent3D::BuildCollider(RigidBody3D*)
{
    return nullptr;
}

void ColliderComponent3D::SyncContacts()
{
    m_records.clear();
    if (!m_built) {
        Entity* entity = GetEntity();
        RigidBodyComponent3D* rigid = entity ? entity->GetRigidBody() : nullptr;
        // Without a body nothing is attached; the test repeats next frame.
        if (RigidBody3D* body = rigid ? rigid->GetBody() : nullptr) {
            if (m_collider)
                Detach(m_collider);
            m_collider = BuildCollider(body);
            if (m_collider) {
                // The mass stays the one computed from the description's density.
                m_collider->m_density = m_density;
                m_collider->m_restitution = m_restitution;
                m_collider->m_friction = m_friction;
                m_collider->m_userData = this;
                m_collider->m_sensor = m_isSensor ? 1 : 0;
                m_collider->m_filter = m_filter;
                if (m_mass > 0.0f)
                    m_collider->SetMass(m_mass);
            }
            m_built = true;
        }
    }
    if (!m_collider)
        return;
    m_records.reserve(m_collider->m_contacts.Count());
    for (ContactEdge3D* edge : m_collider->m_contacts)
        m_records.push_back(MakeContactRecord3D(*edge->m_contact, m_collider));
}

void ColliderComponent3D::SetMass(float mass)
{
    m_mass = mass;
    if (m_collider)
        m_collider->SetMass(mass);
}

ColliderComponent3D* ColliderComponent3D::SetSensor(bool sensor)
{
    m_isSensor = sensor;
    if (m_collider)
        m_collider->m_sensor = sensor ? 1 : 0;
    return this;
}

void ColliderComponent3D::SetEnemyType(EnemyType type)
{
    m_eType = type;
}

void ColliderComponent3D::SetPType(int type)
{
    m_pType = type;
}

void ColliderComponent3D::SetEnvironmentType(EnvironmentType type)
{
    m_enviroType = type;
}

bool ColliderComponent3D::IsSensor() const
{
    return m_collider ? m_collider->m_sensor != 0 : m_isSensor;
}

void ColliderComponent3D::ForgetCollider()
{
    m_collider = nullptr;
    m_built = false;
    m_records.clear();
}

ZOR::float3 ColliderComponent3D::GetEntityScale() const
{
    Entity* entity = GetEntity();
    const Transform3D* transform = entity ? entity->GetComponent<Transform3D>() : nullptr;
    if (!transform)
        return ZOR::float3(1.0f, 1.0f, 1.0f);
    return ZOR::float3(transform->m_scaleX, transform->m_scaleY, transform->m_scaleZ);
}

ZOR::float3x3 ColliderComponent3D::Rotation(float x, float y, float z)
{
    const float cx = std::cos(x), sx = std::sin(x);
    const float cy = std::cos(y), sy = std::sin(y);
    const float cz = std::cos(z), sz = std::sin(z);
    const ZOR::float3x3 rx(1.0f, 0.0f, 0.0f, 0.0f, cx, -sx, 0.0f, sx, cx);
    const ZOR::float3x3 ry(cy, 0.0f, sy, 0.0f, 1.0f, 0.0f, -sy, 0.0f, cy);
    const ZOR::float3x3 rz(cz, -sz, 0.0f, sz, cz, 0.0f, 0.0f, 0.0f, 1.0f);
    return rz * (ry * rx);
}

} // namespace quellor
