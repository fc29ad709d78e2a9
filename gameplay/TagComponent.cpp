#include "gameplay/TagComponent.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"

#include <cmath>

namespace quellor {

QUELLOR_RECORD(TagComponent, Component, DerivedMetaNotPODNoCopy, WithID) {}

namespace {
constexpr int kAllScreens = 4;
constexpr float kHeightInRadii = 4.0f;
} // namespace

TagComponent::~TagComponent() = default;

void TagComponent::Initialize()
{
    JoinGameLogic();
}

void TagComponent::Uninitialize()
{
    LeaveGameLogic();
    m_flows.CancelAll();
}

void TagComponent::Setup(Entity* owner, const std::string& material)
{
    m_owner = owner;
    Entity* entity = GetEntity();
    if (!entity)
        return;
    auto* billboard = entity->AddComponent<BillboardedQuadComponent>(true);
    if (!billboard)
        return;
    billboard->SetMaterial(material);
    billboard->SetVisible(false, kAllScreens);
}

int TagComponent::OwnerScreen() const
{
    Entity* owner = m_owner.Get();
    const auto* data = owner ? owner->GetComponent<PlayerDataComponent>() : nullptr;
    if (!data || data->controllerID < 0)
        return -1;
    return ScreenOf(owner);
}

BillboardedQuadComponent* TagComponent::Billboard() const
{
    Entity* entity = GetEntity();
    return entity ? entity->GetComponent<BillboardedQuadComponent>() : nullptr;
}

Action* TagComponent::ScaleTo(float scale)
{
    Transform3D* transform = FindTransform3D(*this);
    if (!transform)
        return nullptr;
    return MakeParallel(new TweenTo(&transform->m_scaleX, kTweenSeconds, scale, Easing::kElasticOut, true, false),
                        new TweenTo(&transform->m_scaleY, kTweenSeconds, scale, Easing::kElasticOut, true, false),
                        new TweenTo(&transform->m_scaleZ, kTweenSeconds, scale, Easing::kElasticOut, true, false));
}

void TagComponent::Run(Action* flow)
{
    auto* actions = DefaultSystem<ActionSystem>();
    if (!actions) {
        delete flow;
        return;
    }
    actions->AddAction(m_flows.Track(flow), kLane);
}

void TagComponent::Show()
{
    const int screen = OwnerScreen();
    if (screen < 0)
        return;
    if (BillboardedQuadComponent* billboard = Billboard())
        billboard->SetVisible(true, screen);
    m_shownScreen = screen;
    m_shown = true;
    if (Action* grow = ScaleTo(kShownScale))
        Run(grow);
}

void TagComponent::Hide()
{
    if (OwnerScreen() < 0)
        return;
    Run(MakeSequence(ScaleTo(0.0f), new Invoke(MakeDelegate(this, &TagComponent::OnHidden))));
    m_hiding = true;
}

void TagComponent::OnHidden()
{
    m_hiding = false;
    // Hidden on the view it was shown on, wherever the owner's view is now.
    if (BillboardedQuadComponent* billboard = Billboard(); billboard && m_shownScreen >= 0)
        billboard->SetVisible(false, m_shownScreen);
    m_shown = false;
}

void TagComponent::Update(float)
{
    Entity* target = m_target.Get();
    if (!target || m_hiding)
        return;
    const auto* from = target->GetComponent<Transform3D>();
    Transform3D* transform = FindTransform3D(*this);
    if (!from || !transform)
        return;
    const auto* data = target->GetComponent<PlayerDataComponent>();
    const float radius = data ? data->sphereCollRadius : 0.0f;
    const float y = from->m_y + kHeightInRadii * radius;
    if (!std::isfinite(from->m_x) || !std::isfinite(y) || !std::isfinite(from->m_z))
        return;
    transform->SetPosition(from->m_x, y, from->m_z);
}

} // namespace quellor
