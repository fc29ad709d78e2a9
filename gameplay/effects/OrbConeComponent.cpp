#include "gameplay/effects/OrbConeComponent.h"

#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/effects/EffectFamily.h"
#include "physics/RigidBodyComponent3D.h"

namespace quellor {

QUELLOR_RECORD(OrbConeComponent, DynamicMeshComponent, DerivedMetaNotPOD, NoID) {}

OrbConeComponent::OrbConeComponent() : DynamicMeshComponent(kMaxVertices)
{
    SetUpEffectMesh(*this, kTexture, ZOR::BlendMode::Additive);
}

OrbConeComponent::~OrbConeComponent() = default;

Component* OrbConeComponent::Clone() const
{
    return new OrbConeComponent(*this);
}

void OrbConeComponent::Update(float dt)
{
    Clear();
    ZOR::float3 velocity;
    if (const RigidBodyComponent3D* body = GetRigidBody()) {
        const Vec4 v = body->GetLinearVelocity();
        velocity = ZOR::float3(v.x, v.y, v.z);
    }
    // Normalize leaves a zero velocity as it is: a resting orb draws along a zero direction.
    m_direction = -velocity.Normalized();
    m_timer = m_strip.Advance(m_timer, dt);
    const int frame = GetFrame();
    Cone(EffectOwnerPosition(*this), m_length, m_rimRadius, m_direction, 1.0f, kSegments, m_strip.UvMin(frame, 0.1f),
         m_strip.UvMax(frame, 0.9f));
}

} // namespace quellor
