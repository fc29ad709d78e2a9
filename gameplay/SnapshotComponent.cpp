#include "gameplay/SnapshotComponent.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/ToggleEffect.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/CameraAim.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "gameplay/effects/SnapshotFxComponent.h"
#include "physics/ColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(SnapshotComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_knockbackForce));
    reg.Member(QL_FIELD(m_enviroKnockBackForce));
    reg.Member(QL_FIELD(m_range));
    reg.Member(QL_FIELD(m_groundStunTime));
    reg.Member(QL_FIELD(m_airStunTime));
    reg.Member(QL_FIELD(m_shotOffestMultiplier));
}

namespace {

constexpr const char* kEffectName = "snapshotFx";

Vec4 ToPoint(const ZOR::float3& v)
{
    return Vec4(v.x, v.y, v.z, 1.0f);
}

Vec4 Velocity(const ZOR::float3& direction, float speed)
{
    return Vec4(direction.x * speed, direction.y * speed, direction.z * speed, 0.0f);
}

} // namespace

SnapshotComponent::~SnapshotComponent() = default;

void SnapshotComponent::Initialize()
{
    JoinGameLogic();
}

void SnapshotComponent::Uninitialize()
{
    LeaveGameLogic();
}

void SnapshotComponent::Fire()
{
    Entity* shooter = GetEntity();
    const RigidBodyComponent3D* body = GetRigidBody();
    CameraAim aim;
    if (!shooter || !CameraAim::Of(*shooter, body ? body->GetPosition() : Vec4(0.0f, 0.0f, 0.0f, 1.0f), aim)) {
        if (!m_warnedNoCamera) {
            m_warnedNoCamera = true;
            std::printf("Warning: SnapshotComponent on \"%s\" has no third-person camera to aim from; no shot\n",
                        shooter ? shooter->GetName().c_str() : "");
        }
        return;
    }
    const auto* data = shooter->GetComponent<PlayerDataComponent>();
    const int group = data ? data->controllerID : -1;
    auto* sound = GetSystem<SoundSystem>();
    if (sound)
        sound->Play(kShotSound, group);
    if (Transform3D* transform = FindTransform3D(*this))
        transform->UpdateWorldMatrix(0.0f);

    const float k = m_shotOffestMultiplier;
    const ZOR::float3 origins[] = {aim.origin, aim.origin + aim.up * k, aim.origin - aim.up * k,
                                   aim.origin + aim.right * k, aim.origin - aim.right * k};
    for (const ZOR::float3& from : origins)
        if (TryHit(Ray3D{from, aim.forward})) {
            if (sound)
                sound->Play(kHitSound, group);
            return;
        }
    // A miss ends along the camera's line, measured from the camera.
    SpawnShotEffect(ToPoint(aim.eye + aim.forward * m_range));
}

bool SnapshotComponent::TryHit(const Ray3D& ray)
{
    auto* physics = GetSystem<PhysicsSystem3D>();
    if (!physics || !(m_range > 0.0f) || !std::isfinite(m_range))
        return false;
    const PhysicsRayCastResult3D hit = physics->RayCast(ray.origin, ray.direction, m_range);
    Entity* struck = hit.hit && hit.collider ? hit.collider->GetEntity() : nullptr;
    auto* body = struck ? struck->GetComponent<RigidBodyComponent3D>() : nullptr;
    if (!body || struck == GetEntity())
        return false;

    const Vec4 point = ToPoint(hit.point);
    const ZOR::float3& v = ray.direction;
    SpawnShotEffect(point);
    if (auto* data = struck->GetComponent<PlayerDataComponent>()) {
        // The velocity is replaced, not added to.
        body->SetLinearVelocity(Velocity(v, m_knockbackForce));
        data->m_knockbackDir = Vec4(v.x, v.y, v.z, 0.0f);
        data->blastDist = m_knockbackForce;
        HitPlayer(*struck, point);
    } else {
        body->SetLinearVelocity(Velocity(v, m_enviroKnockBackForce));
    }
    return true;
}

void SnapshotComponent::HitPlayer(Entity& player, const Vec4&)
{
    auto* data = player.GetComponent<PlayerDataComponent>();
    if (!data)
        return;
    // Every beam that holds the player lets go in its next update.
    data->m_isLifted = false;
    data->m_stunTimer = data->m_onGround ? m_groundStunTime : m_airStunTime;
    data->SetLastHitter(GetEntity());
    // A player without a screen of its own (a computer player) sees no pulse.
    Pulse(ScreenOf(&player));
}

void SnapshotComponent::Pulse(int screen)
{
    auto* graphics = GetSystem<GraphicsSystem>();
    if (!graphics || screen < 0 || screen >= ZOR::Renderable::kScreenCount)
        return;
    ZOR::RenderSystem& render = *graphics;
    ZOR::RenderSystem::Screen& view = render.GetScreen(screen);
    float* factor = &view.AberrationFactor();
    float* intensity = &view.AberrationIntensity();
    *factor = 1.0f;
    *intensity = 1.0f;
    render.EnableEffect(ZOR::RenderSystem::EdgeDetection, screen);
    auto* actions = GetSystem<ActionSystem>();
    if (!actions)
        return;
    actions->AddAction(
        MakeSequence(
            MakeParallel(new TweenTo(factor, kPulseHalfSeconds, kPulsePeakFactor, Easing::kLinear, true, false),
                         new TweenTo(intensity, kPulseHalfSeconds, kPulsePeakIntensity, Easing::kLinear, true, false)),
            MakeParallel(new TweenTo(factor, kPulseHalfSeconds, 1.0f, Easing::kLinear, true, false),
                         new TweenTo(intensity, kPulseHalfSeconds, 1.0f, Easing::kLinear, true, false)),
            new ToggleEffect(ZOR::RenderSystem::EdgeDetection, screen)),
        0);
}

void SnapshotComponent::SpawnShotEffect(const Vec4& end)
{
    Entity* shooter = GetEntity();
    if (!shooter || !GetEngine())
        return;
    Entity* entity = ObjectSystem::CreateUniqueEntity(kEffectName);
    auto* effect = entity ? entity->AddComponent<SnapshotFxComponent>(true) : nullptr;
    if (!effect)
        return;
    effect->Play(kGrowSeconds, kShrinkSeconds);
    effect->m_from = ToFloat3(PlayerUtil::HandPoint(*shooter));
    effect->m_to = ToFloat3(end);
}

} // namespace quellor
