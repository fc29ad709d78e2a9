#include "gameplay/effects/OrbMeshComponent.h"

#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/effects/EffectFamily.h"

namespace quellor {

QUELLOR_RECORD(OrbMeshComponent, DynamicMeshComponent, DerivedMetaNotPOD, NoID) {}

OrbMeshComponent::OrbMeshComponent() : DynamicMeshComponent(kMaxVertices), m_orientation(RandomOrientation())
{
    SetUpEffectMesh(*this, kTexture, ZOR::BlendMode::Alpha);
}

OrbMeshComponent::~OrbMeshComponent() = default;

Component* OrbMeshComponent::Clone() const
{
    return new OrbMeshComponent(*this);
}

void OrbMeshComponent::Update(float dt)
{
    Clear();
    m_timer = m_strip.Advance(m_timer, dt);
    const int frame = GetFrame();
    const ZOR::float3 centre = EffectOwnerPosition(*this);
    const ZOR::float2 uv0 = m_strip.UvMin(frame, 0.0f);
    const ZOR::float2 uv1 = m_strip.UvMax(frame, 1.0f);
    Sphere(centre, m_radius, 1.0f, kSegments, uv0, uv1, m_orientation);
    Sphere(centre, m_radius + 0.5f, 0.35f, kSegments, uv0, uv1, m_orientation);
}

} // namespace quellor
