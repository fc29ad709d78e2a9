#include "gameplay/effects/SnapshotFxComponent.h"

#include "engine/ActionComponent.h"
#include "engine/Easing.h"
#include "engine/Entity.h"
#include "engine/TweenTo.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/effects/EffectActions.h"
#include "gameplay/effects/EffectFamily.h"
#include "renderer/math/float2.h"

namespace quellor {

QUELLOR_RECORD(SnapshotFxComponent, DynamicMeshComponent, DerivedMetaNotPOD, NoID) {}

SnapshotFxComponent::SnapshotFxComponent() : DynamicMeshComponent(kMaxVertices)
{
    SetUpEffectMesh(*this, kTexture, ZOR::BlendMode::Additive);
}

SnapshotFxComponent::~SnapshotFxComponent() = default;

Component* SnapshotFxComponent::Clone() const
{
    return new SnapshotFxComponent(*this);
}

void SnapshotFxComponent::Update(float)
{
    Clear();
    Tube(m_from, m_to, m_radius, 1.0f, kSegments, ZOR::float2(0.0f, 0.0f), ZOR::float2(1.0f, 1.0f), 0.0f);
}

void SnapshotFxComponent::Play(float growSeconds, float shrinkSeconds)
{
    m_radius = 0.0f;
    Entity* owner = GetEntity();
    ActionComponent* actions = owner ? EffectActions::Of(*owner) : nullptr;
    if (!actions)
        return;
    actions->AddAction(MakeSequence(new TweenTo(&m_radius, growSeconds, kOpenRadius, Easing::kElasticOut, true, false),
                                    new TweenTo(&m_radius, shrinkSeconds, 0.0f, Easing::kCubicOut, true, false),
                                    EffectActions::DestroyEntity(*owner)),
                       0);
}

} // namespace quellor
