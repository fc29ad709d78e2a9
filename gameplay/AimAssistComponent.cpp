#include "gameplay/AimAssistComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Finite.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/ColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/Camera.h"

#include <algorithm>
#include <cmath>

namespace quellor {

QUELLOR_RECORD(AimAssistComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_maxDistance));
    reg.Member(QL_FIELD(m_slowFactor));
}

namespace {

float Dot(const ZOR::float3& a, const ZOR::float3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// A velocity that is not finite (from data or another component) reads as 0.
ZOR::float3 VelocityOf(const Entity* entity)
{
    const auto* motor = entity ? entity->GetComponent<CharacterMotor3D>() : nullptr;
    return motor ? ToFloat3(FiniteOrZero(motor->GetVelocity())) : ZOR::float3();
}

} // namespace

AimAssistComponent::~AimAssistComponent() = default;

void AimAssistComponent::Initialize()
{
    m_maxDistance = kMaxDistance;
    m_speedX = kFreeSpeedX;
    m_speedY = kFreeSpeedY;
    m_followGain = kFollowGain;
    m_slowFactor = kSlowFactor;
    const Entity* owner = GetEntity();
    m_camera = owner ? owner->GetComponent<ThirdPersonCameraComponent>() : nullptr;
    m_graphics = DefaultSystem<GraphicsSystem>();
    m_target = EntityRef();
    m_centreHit = 0.0f;
    JoinGameLogic();
}

void AimAssistComponent::Uninitialize()
{
    LeaveGameLogic();
}

ThirdPersonCameraComponent* AimAssistComponent::Camera()
{
    if (!m_camera)
        if (const Entity* owner = GetEntity())
            m_camera = owner->GetComponent<ThirdPersonCameraComponent>();
    return m_camera;
}

void AimAssistComponent::Update(float dt)
{
    PickTarget();
    Follow(dt);
}

void AimAssistComponent::PickTarget()
{
    Entity* owner = GetEntity();
    auto* data = owner ? owner->GetComponent<PlayerDataComponent>() : nullptr;
    if (!data)
        return;
    ThirdPersonCameraComponent* camera = Camera();
    const ZOR::Camera* view = camera ? camera->GetCamera() : nullptr;
    const auto* body = owner->GetComponent<RigidBodyComponent3D>();
    auto* physics = DefaultSystem<PhysicsSystem3D>();
    if (!view || !body || !physics)
        return;

    const ZOR::float3 eye = view->GetPosition();
    const ZOR::float3 right = ToFloat3(FiniteOrZero(camera->GetRight()));
    const ZOR::float3 up = ToFloat3(FiniteOrZero(camera->GetUp()));
    const ZOR::float3 forward = ToFloat3(FiniteOrZero(camera->GetForward()));
    const ZOR::float3 player = ToFloat3(FiniteOrZero(body->GetCenterOfMass())) + forward * 2.0f;
    ZOR::float3 unit = forward;
    const float length = std::sqrt(Dot(forward, forward));
    if (length > 0.0f)
        unit = forward * (1.0f / length);
    const float along = Dot(unit, player - eye);
    // Beyond the player along the view line, so its own body is never struck.
    const ZOR::float3 origin = eye + unit * (kOriginReach * along);
    const ZOR::float3 origins[kRayCount] = {origin, origin - right * kRaySpread, origin + right * kRaySpread,
                                            origin + up * kRaySpread, origin - up * kRaySpread};

    const float reach = std::max(0.0f, FiniteOrZero(m_maxDistance));
    int first = -1;
    for (int i = 0; i < kRayCount && first < 0 && reach > 0.0f; ++i) {
        const PhysicsRayCastResult3D hit = physics->RayCast(origins[i], forward, reach);
        if (hit.hit) {
            m_hit = hit;
            first = i;
        }
    }
    if (first < 0) {
        data->xAimSpeed = m_speedX;
        data->yAimSpeed = m_speedY;
        m_target = EntityRef();
        return;
    }
    m_centreHit = first == 0 ? 1.0f : 0.0f;

    Entity* hitEntity = m_hit.collider ? m_hit.collider->GetEntity() : nullptr;
    const auto* hitData = hitEntity && hitEntity != owner ? hitEntity->GetComponent<PlayerDataComponent>() : nullptr;
    if (hitData && hitData->playerTeam != data->playerTeam) {
        const float slow = FiniteOrZero(m_slowFactor);
        data->xAimSpeed = m_speedX * slow;
        data->yAimSpeed = m_speedY * slow;
        m_target = EntityRef(hitEntity);
    } else {
        data->xAimSpeed = m_speedX;
        data->yAimSpeed = m_speedY;
        m_target = EntityRef();
    }
}

void AimAssistComponent::Follow(float dt)
{
    Entity* owner = GetEntity();
    const auto* data = owner ? owner->GetComponent<PlayerDataComponent>() : nullptr;
    Entity* target = m_target.Get();
    ThirdPersonCameraComponent* camera = Camera();
    if (!data || !target || !camera || !m_graphics)
        return;
    const auto* targetBody = target->GetComponent<RigidBodyComponent3D>();
    if (!targetBody)
        return;

    const ZOR::float3 vt = VelocityOf(target);
    const ZOR::float3 vo = VelocityOf(owner);
    const bool targetStill = Dot(vt, vt) <= kStillSpeedSquared;
    // The view already rests on a still target.
    if (targetStill && Dot(vo, vo) <= kStillSpeedSquared && m_centreHit != 0.0f)
        return;

    const ZOR::float2 size = m_graphics->GetOrthographicProjectionSize(ScreenOf(owner));
    if (!(size.x > 0.0f) || !(size.y > 0.0f) || !std::isfinite(size.x) || !std::isfinite(size.y))
        return;

    const ZOR::float3 centre = ToFloat3(FiniteOrZero(targetBody->GetCenterOfMass()));
    float dx = centre.x - m_hit.point.x;
    float dy = centre.y - m_hit.point.y;
    float dz = centre.z - m_hit.point.z;
    if (targetStill) {
        dx = 0.0f;
        dy = 0.0f;
        dz = 0.0f;
    }
    if (vt.x * vt.x + vt.z * vt.z <= kStillSpeedSquared) {
        dx = 0.0f;
        dz = 0.0f;
    }
    const float x = dx + vt.x - vo.x;
    const float y = dy + vt.y - vo.y;
    const float z = dz + vt.z - vo.z;

    const ZOR::float3 right = ToFloat3(FiniteOrZero(camera->GetRight()));
    const ZOR::float3 up = ToFloat3(FiniteOrZero(camera->GetUp()));
    const float a = (right.x * x + right.z * z) / size.x;
    float b = (up.y * y) / size.y;
    if (std::fabs(dy) > 1.5f * FiniteOrZero(data->sphereCollRadius))
        b = 0.0f;
    const float gain = m_centreHit != 0.0f ? kCentreGain : kOuterGain;
    const float yaw = -(m_followGain * gain * a * dt);
    const float pitch = std::clamp(m_followGain * b * dt, -kMaxPitchStep, kMaxPitchStep);
    camera->Rotate(yaw, pitch);
}

} // namespace quellor
