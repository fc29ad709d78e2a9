#include "gameplay/cameras/ThirdPersonCameraComponent.h"

#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
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

ThirdPersonCameraComponent::~ThirdPersonCameraComponent() = default;

void ThirdPersonCameraComponent::SetChargeRatioSource(ChargeRatioSource source)
{
    s_chargeRatio = std::move(source);
}

void ThirdPersonCameraComponent::Initialize()
{
    if (CameraSystem* cameras = CameraSystem::Find(*this))
        cameras->AddThirdPersonCamera(this);
    CreateReticle();
    if (auto* graphics = DefaultSystem<GraphicsSystem>())
        m_camera = &graphics->GetActiveCamera(m_screenID);
}

void ThirdPersonCameraComponent::Uninitialize()
{
    if (CameraSystem* cameras = CameraSystem::Find(*this))
        cameras->RemoveThirdPersonCamera(this);
}

void ThirdPersonCameraComponent::SetTarget(Entity* target)
{
    m_target = EntityRef(target);
}

void ThirdPersonCameraComponent::SetScreenID(int id)
{
    m_screenID = id;
    if (!m_reticle.Get() && !m_ring.Get())
        CreateReticle();
    for (const EntityRef* overlay : {&m_reticle, &m_ring})
        if (GraphicsComponent2D* sprite = OverlaySprite(*overlay))
            sprite->SetScreenID(id);
}

void ThirdPersonCameraComponent::Rotate(float yawDelta, float pitchDelta)
{
    if (std::isfinite(yawDelta))
        m_yaw += yawDelta;
    if (std::isfinite(pitchDelta))
        m_pitch = std::clamp(m_pitch + pitchDelta, -m_pitchLimit, m_pitchLimit);
}

Vec4 ThirdPersonCameraComponent::GetRight() const
{
    if (!m_camera)
        return Vec4();
    const float* v = m_camera->GetViewMatrix().m;
    return Vec4(v[0], v[1], v[2], 0.0f);
}

Vec4 ThirdPersonCameraComponent::GetUp() const
{
    if (!m_camera)
        return Vec4();
    const float* v = m_camera->GetViewMatrix().m;
    return Vec4(v[4], v[5], v[6], 0.0f);
}

Vec4 ThirdPersonCameraComponent::GetForward() const
{
    if (!m_camera)
        return Vec4();
    const float* v = m_camera->GetViewMatrix().m;
    return Vec4(-v[8], -v[9], -v[10], 0.0f);
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
    for (EntityRef* overlay : {&m_reticle, &m_ring}) {
        if (GraphicsComponent2D* sprite = OverlaySprite(*overlay))
            sprite->SetVisible(false, screen);
        if (Entity* entity = overlay->Get())
            entity->Destroy();
        overlay->Reset();
    }
    m_reticleMissing = true;
}

void ThirdPersonCameraComponent::ShowReticle(int screen)
{
    for (const EntityRef* overlay : {&m_reticle, &m_ring})
        if (GraphicsComponent2D* sprite = OverlaySprite(*overlay))
            sprite->SetVisible(true, screen);
}

Transform2D* ThirdPersonCameraComponent::OverlayTransform(const EntityRef& overlay)
{
    Entity* entity = overlay.Get();
    return entity ? entity->GetComponent<Transform2D>() : nullptr;
}

GraphicsComponent2D* ThirdPersonCameraComponent::OverlaySprite(const EntityRef& overlay)
{
    Entity* entity = overlay.Get();
    return entity ? entity->GetComponent<GraphicsComponent2D>() : nullptr;
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

void ThirdPersonCameraComponent::Update(float) {}

void ThirdPersonCameraComponent::UpdateRing(Entity& target, float width, float height)
{
    Transform2D* ring = OverlayTransform(m_ring);
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
