#include "gameplay/effects/OrbLightningComponent.h"

#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/effects/EffectFamily.h"

#include <cmath>

namespace quellor {

QUELLOR_RECORD(OrbLightningComponent, DynamicMeshComponent, DerivedMetaNotPOD, NoID) {}

OrbLightningComponent::OrbLightningComponent()
    : DynamicMeshComponent(kMaxVertices), m_orientation(RandomOrientation())
{
    SetUpEffectMesh(*this, kTexture, ZOR::BlendMode::Additive);
}

OrbLightningComponent::~OrbLightningComponent() = default;

Component* OrbLightningComponent::Clone() const
{
    return new OrbLightningComponent(*this);
}

void OrbLightningComponent::Update(float dt)
{
    Clear();
    m_phase = std::fmod(m_scrollSpeed * dt + m_phase, 1.0f);
    Sphere(EffectOwnerPosition(*this), m_radius, 1.0f, kSegments, ZOR::float2(m_phase, 0.0f),
           ZOR::float2(m_phase + kWindow, 1.0f), m_orientation);
}

} // namespace quellor
