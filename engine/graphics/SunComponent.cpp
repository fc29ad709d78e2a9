#include "engine/graphics/SunComponent.h"

#include <algorithm>
#include <cmath>

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "renderer/math/Angles.h"

namespace quellor {

QUELLOR_RECORD(SunComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_size));
    reg.Member(QL_FIELD(m_direction));
    reg.Member(QL_FIELD(m_fov));
    reg.Member(QL_FIELD(m_nearPlane));
    reg.Member(QL_FIELD(m_farPlane));
    reg.Member(QL_FIELD(m_rayDensity));
    reg.Member(QL_FIELD(m_rayDecay));
    reg.Member(QL_FIELD(m_rayWeight));
    reg.Member(QL_FIELD(m_rayExposure));
    reg.Member(QL_FIELD(m_raySamples));
}

SunComponent::~SunComponent() = default;

Component* SunComponent::Clone() const
{
    auto* clone = new SunComponent(*this);
    clone->m_transform = nullptr;
    return clone;
}

void SunComponent::Initialize()
{
    m_graphics = FindGraphicsSystem(*this, "SunComponent");
    if (m_graphics) {
        m_graphics->RegisterSunComponent(this);
    }
}

void SunComponent::Uninitialize()
{
    if (m_graphics) {
        m_graphics->UnregisterSunComponent(this);
    }
}

void SunComponent::Update(float)
{
    // Only the system it registered with updates it.
    if (!m_graphics || (!m_transform && !(m_transform = FindTransform3D(*this)))) {
        return;
    }
    if (!m_shadowCaster) {
        m_shadowCaster = &m_graphics->GetShadowCaster();
    }
    ZOR::Camera& camera = m_shadowCaster->camera;
    camera.SetPosition(m_transform->m_x, m_transform->m_y, m_transform->m_z);
    const ZOR::float3 direction = ToFloat3(m_direction);
    m_shadowCaster->target = direction;
    m_shadowCaster->fov = m_fov;
    m_shadowCaster->nearFar = ZOR::float2(m_nearPlane, m_farPlane);

    // An up vector parallel to the direction would leave the view matrix with zero rows, and a
    // zero direction has no view at all: the camera then keeps its last view.
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z);
    if (length > 0.0f && std::isfinite(length)) {
        const bool vertical = std::fabs(direction.y / length) > 0.99999f;
        const ZOR::float3 up = vertical ? ZOR::float3(1.0f, 0.0f, 0.0f) : ZOR::float3(0.0f, 1.0f, 0.0f);
        camera.LookAt(direction, up);
    }
    // The projection is built from what the caster now holds: its field of view and planes.
    const ZOR::float2& planes = m_shadowCaster->nearFar;
    camera.SetProjectionMatrix(m_shadowCaster->fov * ZOR::kDegreesToRadians, 1.0f, planes.x, planes.y);

    m_graphics->SetSunSize(m_size);
    m_graphics->SetSunPosition(camera.GetPosition());
    m_graphics->SetGodRayProperties(m_rayDensity, m_rayDecay, m_rayWeight, m_rayExposure,
                                 std::clamp(m_raySamples, 0, kMaxRaySamples));
}

} // namespace quellor
