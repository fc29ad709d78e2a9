#include "gameplay/FloatComponent.h"

#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/reflection/MetaRegistrar.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(FloatComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_xDuration));
    reg.Member(QL_FIELD(m_xSpeed));
    reg.Member(QL_FIELD(m_yDuration));
    reg.Member(QL_FIELD(m_ySpeed));
    reg.Member(QL_FIELD(m_zDuration));
    reg.Member(QL_FIELD(m_zSpeed));
}

FloatComponent::~FloatComponent() = default;

void FloatComponent::Initialize()
{
    JoinGameLogic();
}

void FloatComponent::Uninitialize()
{
    LeaveGameLogic();
}

float FloatComponent::Axis::Step(float dt, float duration, float speed)
{
    timer -= dt;
    if (timer < 0.0f) {
        positive = !positive;
        timer = duration;
    }
    return positive ? speed * dt : -speed * dt;
}

void FloatComponent::Update(float dt)
{
    Transform3D* transform = FindTransform3D(*this);
    if (m_captureOrigin && transform) {
        m_origin = transform->GetPosition();
        m_captureOrigin = false;
    }
    m_offset.x += m_x.Step(dt, m_xDuration, m_xSpeed);
    m_offset.y += m_y.Step(dt, m_yDuration, m_ySpeed);
    m_offset.z += m_z.Step(dt, m_zDuration, m_zSpeed);

    const Vec4 place(m_origin.x + m_offset.x, m_origin.y + m_offset.y, m_origin.z + m_offset.z,
                     m_origin.w + m_offset.w);
    if (!std::isfinite(place.x) || !std::isfinite(place.y) || !std::isfinite(place.z)) {
        if (!m_warnedNotFinite) {
            m_warnedNotFinite = true;
            Entity* entity = GetEntity();
            std::printf("Warning: FloatComponent on \"%s\" has a duration or speed that is not a number; it stays put\n",
                        entity ? entity->GetName().c_str() : "");
        }
        return;
    }
    // A body component without a body counts as none.
    RigidBodyComponent3D* body = GetRigidBody();
    if (body && body->GetBody())
        body->SetPosition(place);
    else if (transform)
        transform->SetPosition(place.x, place.y, place.z);
}

} // namespace quellor
