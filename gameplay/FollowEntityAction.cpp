#include "gameplay/FollowEntityAction.h"

#include "engine/Entity.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "renderer/Camera.h"

namespace quellor {

QUELLOR_RECORD(FollowEntityAction, Action, DerivedMetaNotPODNoDefNoCopy, NoID) {}

FollowEntityAction::FollowEntityAction(Entity* target, int screen, float duration, float rate)
    : Action(true), m_timeLeft(duration), m_target(target), m_rate(rate), m_screen(screen)
{
    m_onStarted.Connect(MakeDelegate(this, &FollowEntityAction::Start), 0);
    m_onCancelled.Connect(MakeDelegate(this, &FollowEntityAction::Cancelled), 0);
}

FollowEntityAction::~FollowEntityAction() = default;

void FollowEntityAction::Start()
{
    if (auto* graphics = DefaultSystem<GraphicsSystem>()) {
        const ZOR::float3& eye = graphics->GetActiveCamera(m_screen).GetPosition();
        m_followPosition = Vec4(eye.x, eye.y, eye.z, 1.0f);
    }
}

void FollowEntityAction::Update(float dt)
{
    Entity* target = m_target.Get();
    const auto* view = target && !target->IsDestroyed() ? target->GetComponent<ThirdPersonCameraComponent>() : nullptr;
    if (!view) {
        Cancel();
        return;
    }
    m_timeLeft -= dt;
    if (m_timeLeft < 0.0f)
        Finish(); // this frame's glide still runs

    auto* graphics = DefaultSystem<GraphicsSystem>();
    if (!graphics)
        return;
    ZOR::Camera& own = graphics->GetActiveCamera(m_screen);
    const ZOR::float3& goal = graphics->GetActiveCamera(view->GetScreenID()).GetPosition();
    const Vec4 look = view->GetForward();
    const float share = kFollowRate * dt;
    m_followPosition.x += (goal.x - m_followPosition.x) * share;
    m_followPosition.y += (goal.y - m_followPosition.y) * share;
    m_followPosition.z += (goal.z - m_followPosition.z) * share;
    m_followPosition.w += (1.0f - m_followPosition.w) * share;
    PlaceCamera(own, ZOR::float3(m_followPosition.x, m_followPosition.y, m_followPosition.z),
                ZOR::float3(look.x, look.y, look.z));
}

} // namespace quellor
