#include "gameplay/effects/LiftFxComponent.h"

#include "engine/ActionComponent.h"
#include "engine/Easing.h"
#include "engine/Entity.h"
#include "engine/Random.h"
#include "engine/TweenTo.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/effects/EffectActions.h"
#include "gameplay/effects/EffectFamily.h"
#include "gameplay/effects/LiftBeamMesh.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/PointLight.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(LiftFxComponent, DynamicMeshComponent, DerivedMetaNotPOD, NoID) {}

namespace {

constexpr int kAllScreens = 4;
constexpr float kTwoPi = 6.2831855f;
constexpr float kLightIntensity = 2.5f;

void Place(ZOR::ParticleEmitter& emitter, const ZOR::float3& at, float dt)
{
    emitter.SetPosition(at.x, at.y, at.z);
    emitter.Update(dt);
    emitter.Invalidate();
}

void Place(ZOR::PointLight& light, const ZOR::float3& at, float dt)
{
    light.SetIntensity(kLightIntensity + RandomUnit());
    light.SetPosition(at);
    light.Update(dt);
    light.Invalidate();
}

} // namespace

LiftFxComponent::LiftFxComponent() : DynamicMeshComponent(kMaxVertices), m_phase(RandomUnit() * kTwoPi)
{
    SetUpEffectMesh(*this, kTexture, ZOR::BlendMode::Additive);
    MakeEndPieces();
}

LiftFxComponent::LiftFxComponent(const LiftFxComponent& other)
    : DynamicMeshComponent(other), m_start(other.m_start), m_end(other.m_end), m_fade(other.m_fade),
      m_phase(other.m_phase)
{
    MakeEndPieces();
}

LiftFxComponent::~LiftFxComponent() = default;

void LiftFxComponent::MakeEndPieces()
{
    m_startEmitter = std::make_unique<ZOR::ParticleEmitter>();
    m_endEmitter = std::make_unique<ZOR::ParticleEmitter>();
    m_startLight = std::make_unique<ZOR::PointLight>();
    m_endLight = std::make_unique<ZOR::PointLight>();
    for (ZOR::ParticleEmitter* emitter : {m_startEmitter.get(), m_endEmitter.get()})
        emitter->Emit(false);
    for (ZOR::PointLight* light : {m_startLight.get(), m_endLight.get()}) {
        light->SetColor(0.5f, 0.0f, 0.7f);
        light->SetRadius(kLightRadius);
        light->SetVisible(false, kAllScreens);
    }
}

Component* LiftFxComponent::Clone() const
{
    return new LiftFxComponent(*this);
}

void LiftFxComponent::Initialize()
{
    DynamicMeshComponent::Initialize();
    if (m_renderSystem)
        return;
    m_renderSystem = FindGraphicsSystem(*this, "LiftFxComponent");
    if (!m_renderSystem)
        return;
    m_renderSystem->AddRenderable(m_startEmitter.get());
    m_renderSystem->AddRenderable(m_endEmitter.get());
    m_renderSystem->AddRenderable(m_startLight.get());
    m_renderSystem->AddRenderable(m_endLight.get());
}

void LiftFxComponent::Uninitialize()
{
    if (m_renderSystem) {
        m_renderSystem->RemoveRenderable(m_startEmitter.get());
        m_renderSystem->RemoveRenderable(m_endEmitter.get());
        m_renderSystem->RemoveRenderable(m_startLight.get());
        m_renderSystem->RemoveRenderable(m_endLight.get());
        m_renderSystem = nullptr;
    }
    DynamicMeshComponent::Uninitialize();
}

void LiftFxComponent::Update(float dt)
{
    Place(*m_startEmitter, m_start, dt);
    Place(*m_endEmitter, m_end, dt);
    Place(*m_startLight, m_start, dt);
    Place(*m_endLight, m_end, dt);
    m_phase += kPhaseSpeed * dt;
    LiftBeamMesh::Build(*this, m_start, m_end, m_fade, m_phase);
}

void LiftFxComponent::FadeIn(float seconds)
{
    m_fade = 0.0f;
    if (Entity* owner = GetEntity())
        if (ActionComponent* actions = EffectActions::Of(*owner))
            actions->AddAction(new TweenTo(&m_fade, seconds, 1.0f, Easing::kCubicOut, true, false), 0);
    for (ZOR::ParticleEmitter* emitter : {m_startEmitter.get(), m_endEmitter.get()}) {
        if (!emitter->Load(kHandEmitter))
            std::printf("Warning: LiftFxComponent cannot read \"%s\"\n", kHandEmitter.c_str());
        emitter->Emit(true);
    }
    m_startLight->SetVisible(true, kAllScreens);
    m_endLight->SetVisible(true, kAllScreens);
}

void LiftFxComponent::FadeOut(float seconds)
{
    m_startEmitter->Emit(false);
    m_endEmitter->Emit(false);
    m_startLight->SetVisible(false, kAllScreens);
    m_endLight->SetVisible(false, kAllScreens);
    Entity* owner = GetEntity();
    ActionComponent* actions = owner ? EffectActions::Of(*owner) : nullptr;
    if (!actions)
        return;
    actions->AddAction(MakeSequence(new TweenTo(&m_fade, seconds, 0.0f, Easing::kCubicOut, true, false),
                                    EffectActions::DestroyEntity(*owner)),
                       0);
}

} // namespace quellor
