#include "gameplay/OrbitComponent.h"

#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace quellor {

QUELLOR_RECORD(OrbitComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_radius));
    reg.Member(QL_FIELD(m_speed));
    reg.Member(QL_FIELD(m_startAngleDeg));
}

OrbitComponent::~OrbitComponent() = default;

void OrbitComponent::Initialize()
{
    JoinGameLogic();
    if (const Transform3D* transform = FindTransform3D(*this)) {
        m_centre = transform->GetPosition();
        m_startRotation = transform->m_rotation;
    }
}

void OrbitComponent::Uninitialize()
{
    LeaveGameLogic();
}

void OrbitComponent::Update(float dt)
{
    const float a = m_startAngleDeg * std::numbers::pi_v<float> / 180.0f + m_angle;
    if (!std::isfinite(a) || !std::isfinite(m_radius) || !std::isfinite(m_speed)) {
        if (!m_warnedNotFinite) {
            m_warnedNotFinite = true;
            std::printf("Warning: OrbitComponent has a radius, speed or angle that is not a number; it stays put\n");
        }
        return;
    }
    const float x = std::sin(a) * m_radius;
    const float z = std::cos(a) * m_radius;
    const float length = std::sqrt(x * x + z * z);

    // The look matrix: columns right, up and -forward, forward pointing away from the centre.
    // At the centre itself (radius 0) there is no direction to face: the rotation is kept.
    const bool facing = length > 0.0f;
    ZOR::float4x4 look;
    if (facing) {
        const ZOR::float3 f(x / length, 0.0f, z / length);
        const ZOR::float3 r = f.Cross(ZOR::float3(0.0f, 1.0f, 0.0f));
        const ZOR::float3 u = r.Cross(f);
        look = ZOR::float4x4(r.x, u.x, -f.x, 0, r.y, u.y, -f.y, 0, r.z, u.z, -f.z, 0, 0, 0, 0, 1);
    }

    RigidBodyComponent3D* body = GetRigidBody();
    if (body && body->GetBody()) {
        body->SetPosition(Vec4(m_centre.x + x, m_centre.y, m_centre.z + z, m_centre.w));
        if (facing) {
            const ZOR::float4x4 start =
                ToFloat4x4(Transform3D::BuildWorldMatrix(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, m_startRotation));
            body->SetRotation(ToMat4(start * look));
        }
    } else if (Transform3D* transform = FindTransform3D(*this)) {
        if (facing)
            transform->m_rotation.SetFromMat4(ToMat4(look));
        transform->SetPosition(m_centre.x + x, m_centre.y, m_centre.z + z);
    }
    m_angle += m_speed * dt;
}

} // namespace quellor
