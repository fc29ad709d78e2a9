#include "gameplay/cameras/ThirdPersonCameraComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/CameraPlacement.h"
#include "gameplay/cameras/CameraSystem.h"
#include "physics/ColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/Camera.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(ThirdPersonCameraComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_cameraSphere));
    reg.Member(QL_FIELD(m_camRotY));
    reg.Member(QL_FIELD(m_camRadius));
}

namespace {

ZOR::float3 Lerp(const ZOR::float3& a, const ZOR::float3& b, float k)
{
    return a * (1.0f - k) + b * k;
}

Vec4 ToVec4(const ZOR::float3& v)
{
    return Vec4(v.x, v.y, v.z, 0.0f);
}

// Whether the aim ray rests on a player of a team other than the viewer's.
bool OnEnemy(const PhysicsRayCastResult3D& hit, const PlayerDataComponent& viewer)
{
    if (!hit.hit || !hit.collider)
        return false;
    Entity* owner = hit.collider->GetEntity();
    const PlayerDataComponent* other = owner ? owner->GetComponent<PlayerDataComponent>() : nullptr;
    return other && other->playerTeam != viewer.playerTeam;
}

} // namespace

ThirdPersonCameraComponent::~ThirdPersonCameraComponent() = default;

int ScreenOf(const Entity* player)
{
    const auto* camera = player ? player->GetComponent<ThirdPersonCameraComponent>() : nullptr;
    return camera ? camera->GetScreenID() : -1;
}

void ThirdPersonCameraComponent::SetChargeRatioSource(ChargeRatioSource source)
{
    s_chargeRatio = std::move(source);
}

void ThirdPersonCameraComponent::Initialize()
{
    if (CameraSystem* cameras = DefaultSystem<CameraSystem>())
        cameras->AddThirdPersonCamera(this);
    CreateReticle();
    if (auto* graphics = DefaultSystem<GraphicsSystem>())
        m_camera = &graphics->GetActiveCamera(m_screenID);
}

void ThirdPersonCameraComponent::Uninitialize()
{
    if (CameraSystem* cameras = DefaultSystem<CameraSystem>())
        cameras->RemoveThirdPersonCamera(this);
}

void ThirdPersonCameraComponent::SetTarget(Entity* target)
{
    m_target = EntityRef(target);
    const PlayerDataComponent* data = target ? target->GetComponent<PlayerDataComponent>() : nullptr;
    if (data)
        m_controllerID = data->controllerID;
}

void ThirdPersonCameraComponent::SetScreenID(int id)
{
    m_screenID = id;
    if (auto* graphics = DefaultSystem<GraphicsSystem>())
        m_camera = &graphics->GetActiveCamera(id);
    if (!m_reticle.Get() && !m_ring.Get())
        CreateReticle();
    for (const EntityRef* overlay : {&m_reticle, &m_ring})
        if (GraphicsComponent2D* sprite = ComponentOf<GraphicsComponent2D>(*overlay))
            sprite->SetScreenID(id);
}

void ThirdPersonCameraComponent::Rotate(float yawDelta, float pitchDelta)
{
    if (std::isfinite(yawDelta))
        m_yaw += yawDelta;
    if (std::isfinite(pitchDelta))
        m_pitch = std::clamp(m_pitch + pitchDelta, -m_pitchLimit, m_pitchLimit);
}

Vec4 ThirdPersonCameraComponent::ViewRow(int row, float sign) const
{
    if (!m_camera)
        return Vec4();
    const float* v = m_camera->GetViewMatrix().m + row * 4;
    return Vec4(sign * v[0], sign * v[1], sign * v[2], 0.0f);
}

EntityRef ThirdPersonCameraComponent::CreateOverlay(const std::string& archetype, const std::string& name,
                                                    float scale)
{
    auto* objects = GetSystem<ObjectSystem>();
    if (!objects)
        return EntityRef();
    Entity* entity = objects->Clone(archetype, objects->UniqueEntityName(name), "default");
    if (!entity)
        return EntityRef();
    auto* transform = entity->GetComponent<Transform2D>();
    auto* sprite = entity->GetComponent<GraphicsComponent2D>();
    if (!transform || !sprite) {
        std::printf("Warning: \"%s\" gives no Transform2D and GraphicsComponent2D; the camera runs without it\n",
                    archetype.c_str());
        entity->Destroy();
        return EntityRef();
    }
    sprite->SetScreenID(m_screenID);
    transform->m_scaleX = scale;
    transform->m_scaleY = scale;
    return EntityRef(entity);
}

void ThirdPersonCameraComponent::CreateReticle()
{
    // A survivor of the last pair goes with it, so that one pair stands at a time.
    DropOverlays();
    m_reticle = CreateOverlay(kReticleArchetype, "reticle", kReticleSize);
    m_ring = CreateOverlay(kRingArchetype, "reticuleRing", 0.0f);
    // A fresh reticle wears its archetype's own material.
    m_enemyReticleShown = false;
    m_reticleMissing = false;
}

void ThirdPersonCameraComponent::DestroyReticle(int screen)
{
    if (!m_reticle.Get() && !m_ring.Get())
        return;
    for (const EntityRef* overlay : {&m_reticle, &m_ring})
        if (GraphicsComponent2D* sprite = ComponentOf<GraphicsComponent2D>(*overlay))
            sprite->SetVisible(false, screen);
    DropOverlays();
    m_reticleMissing = true;
}

void ThirdPersonCameraComponent::DropOverlays()
{
    DestroyRef(m_reticle);
    DestroyRef(m_ring);
}

void ThirdPersonCameraComponent::ShowReticle(int screen)
{
    for (const EntityRef* overlay : {&m_reticle, &m_ring})
        if (GraphicsComponent2D* sprite = ComponentOf<GraphicsComponent2D>(*overlay))
            sprite->SetVisible(true, screen);
}

bool ThirdPersonCameraComponent::OverlayLost() const
{
    return (m_reticle != EntityRef() && !m_reticle.Get()) || (m_ring != EntityRef() && !m_ring.Get());
}

void ThirdPersonCameraComponent::CentreOnScreen(Transform2D& transform, float width, float height) const
{
    transform.m_x = width * 0.5f - transform.m_scaleX * 0.5f;
    transform.m_y = height * 0.5f - transform.m_scaleY * 0.5f;
}

void ThirdPersonCameraComponent::Update(float)
{
    Entity* target = m_target.Get();
    if (!target || !m_enabled)
        return;
    const PlayerDataComponent* data = target->GetComponent<PlayerDataComponent>();
    if (!data || data->m_cameraFreeze)
        return;
    // Destroyed by the win camera, or by anything else: built again once the camera runs.
    if (m_reticleMissing || OverlayLost())
        CreateReticle();

    auto* graphics = DefaultSystem<GraphicsSystem>();
    if (!graphics)
        return;
    m_camera = &graphics->GetActiveCamera(m_screenID);
    m_controllerID = data->controllerID;

    const ZOR::float2 screen = graphics->GetOrthographicProjectionSize(m_screenID);
    if (Transform2D* reticle = ComponentOf<Transform2D>(m_reticle))
        CentreOnScreen(*reticle, screen.x, screen.y);

    if (target->IsDestroyed())
        return;
    const RigidBodyComponent3D* body = target->GetComponent<RigidBodyComponent3D>();
    if (!body || !body->GetBody())
        return;

    // The orbit offset from yaw and pitch, and the view direction along it.
    const Vec4 p = body->GetPosition();
    const float r = m_camRadius;
    const ZOR::float3 offset(std::sin(m_yaw) * r * std::cos(m_pitch), std::sin(m_pitch) * r,
                             std::cos(m_yaw) * r * std::cos(m_pitch));
    const ZOR::float3 direction = offset.Normalized();
    const ZOR::float3 look(p.x, p.y + kLookHeight, p.z);
    const ZOR::float3 up(0.0f, 1.0f, 0.0f);
    const ZOR::float3 side = direction.Cross(up).Normalized();
    const ZOR::float3 flatForward = up.Cross(side).Normalized();
    // Behind the look point at its height, then beside it; looking up lowers the camera toward
    // below, looking down raises it toward above.
    const ZOR::float3 behind = ZOR::float3(look.x - offset.x, look.y, look.z - offset.z) + side * kSideOffset;
    const ZOR::float3 above = behind + up * 7.0f + flatForward * 5.0f;
    const ZOR::float3 below = behind - up * 8.0f + flatForward * 3.0f - side * 3.0f;
    const ZOR::float3 eye = m_pitch > 0.0f ? Lerp(behind, below, m_pitch / m_pitchLimit)
                                           : Lerp(behind, above, -m_pitch / m_pitchLimit);
    if (PlaceCamera(*m_camera, eye, direction)) {
        m_lookDirection = ToVec4(direction);
        AimAt(eye, direction, *data);
    }
    UpdateRing(*target, screen.x, screen.y);
}

void ThirdPersonCameraComponent::AimAt(const ZOR::float3& eye, const ZOR::float3& direction,
                                       const PlayerDataComponent& viewer)
{
    auto* physics = DefaultSystem<PhysicsSystem3D>();
    const bool enemy = physics && OnEnemy(physics->RayCast(eye, direction, kAimRange), viewer);
    if (enemy == m_enemyReticleShown)
        return;
    m_enemyReticleShown = enemy;
    if (GraphicsComponent2D* sprite = ComponentOf<GraphicsComponent2D>(m_reticle))
        sprite->SetMaterial(enemy ? kEnemyReticleMaterial : kReticleMaterial);
}

void ThirdPersonCameraComponent::UpdateRing(Entity& target, float width, float height)
{
    Transform2D* ring = ComponentOf<Transform2D>(m_ring);
    if (!ring)
        return;
    float charge = s_chargeRatio ? s_chargeRatio(target) : 0.0f;
    charge = std::isfinite(charge) ? std::clamp(charge, 0.0f, 1.0f) : 0.0f;
    if (charge > 0.0f) {
        ring->m_scaleX = charge * m_ringFullSize;
        ring->m_scaleY = charge * m_ringFullSize;
    } else {
        ring->m_scaleX *= kRingShrink;
        ring->m_scaleY *= kRingShrink;
    }
    CentreOnScreen(*ring, width, height);
}

} // namespace quellor
