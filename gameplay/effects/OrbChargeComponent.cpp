#include "gameplay/effects/OrbChargeComponent.h"

#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/Entity.h"
#include "engine/SetValue.h"
#include "engine/TweenTo.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/effects/EffectFamily.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(OrbChargeComponent, DynamicMeshComponent, DerivedMetaNotPOD, NoID) {}

OrbChargeComponent::OrbChargeComponent()
    : DynamicMeshComponent(kMaxVertices), m_orientation(RandomOrientation())
{
    SetUpEffectMesh(*this, "", ZOR::BlendMode::Alpha);
}

OrbChargeComponent::~OrbChargeComponent() = default;

Component* OrbChargeComponent::Clone() const
{
    return new OrbChargeComponent(*this);
}

void OrbChargeComponent::StartCharge()
{
    SetTexture(kChargeTexture);
    m_timer = 0.0f;
    m_visible = true;
    m_scale = 1.0f;
}

void OrbChargeComponent::StopCharge()
{
    Entity* owner = GetEntity();
    auto* actions = owner ? owner->GetComponent<ActionComponent>() : nullptr;
    if (!actions) {
        if (!m_warnedNoActions) {
            m_warnedNoActions = true;
            std::printf("Warning: OrbChargeComponent has no ActionComponent to shrink with; it hides at once\n");
        }
        m_scale = 0.0f;
        m_visible = false;
        return;
    }
    actions->AddAction(MakeSequence(new TweenTo(&m_scale, kShrinkTime, 0.0f, 0, true, false),
                                    new SetValue(&m_visible, false)),
                       0);
}

void OrbChargeComponent::Update(float dt)
{
    Clear();
    if (!m_visible)
        return;
    m_timer += dt;
    // The charge strip plays once; from then on the spin strip loops.
    if (m_timer >= m_strip.Cycle()) {
        SetTexture(kSpinTexture);
        m_timer = std::fmod(m_timer, m_strip.Cycle());
    }
    const int frame = GetFrame();
    Sphere(ZOR::float3(m_centre.x, m_centre.y, m_centre.z), m_scale * m_radius, 0.5f, kSegments,
           m_strip.UvMin(frame, 0.0f), m_strip.UvMax(frame, 1.0f), m_orientation);
}

} // namespace quellor
