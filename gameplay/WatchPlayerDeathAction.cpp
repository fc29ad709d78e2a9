#include "gameplay/WatchPlayerDeathAction.h"

#include "engine/Entity.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/Camera.h"

namespace quellor {

QUELLOR_RECORD(WatchPlayerDeathAction, Action, DerivedMetaNotPODNoDefNoCopy, NoID) {}

WatchPlayerDeathAction::WatchPlayerDeathAction(Entity* body, float duration, int screen)
    : Action(true), m_timeLeft(duration), m_body(body), m_screen(screen)
{
}

WatchPlayerDeathAction::~WatchPlayerDeathAction() = default;

void WatchPlayerDeathAction::Update(float dt)
{
    Entity* body = m_body.Get();
    if (!body || body->IsDestroyed()) {
        Cancel();
        return;
    }
    if (m_timeLeft <= 0.0f) {
        Finish();
        return;
    }
    m_timeLeft -= dt;

    auto* graphics = DefaultSystem<GraphicsSystem>();
    const auto* rigidBody = body->GetComponent<RigidBodyComponent3D>();
    if (!graphics || !rigidBody)
        return;
    ZOR::Camera& camera = graphics->GetActiveCamera(m_screen);
    const Vec4 centre = rigidBody->GetCenterOfMass();
    TurnCamera(camera, ZOR::float3(centre.x, centre.y, centre.z) - camera.GetPosition());
}

} // namespace quellor
