#include "gameplay/ThumperComponent.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Easing.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Finite.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/LiftComponent.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/ColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/AnimationController.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(ThumperComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_thumpPower));
    reg.Member(QL_FIELD(m_enviroThumpPower));
    reg.Member(QL_FIELD(m_thumpApplyTime));
    reg.Member(QL_FIELD(m_thumpTime));
    reg.Member(QL_FIELD(m_stunTime));
    reg.Member(QL_FIELD(m_stunGrav));
    reg.Member(QL_FIELD(m_stunSpeed));
    reg.Member(QL_FIELD(m_minHalfExtent));
    reg.Member(QL_FIELD(m_maxHalfExtent));
    reg.Member(QL_FIELD(m_thumpDir));
    reg.Member(QL_FIELD(m_minGlowFactor));
    reg.Member(QL_FIELD(m_maxGlowFactor));
    reg.Member(QL_FIELD(m_glowDuration));
    reg.Member(QL_FIELD(m_groundBlastFile)).Extension(".pe");
}

namespace {

constexpr float kAnimationSpeed = 2.4f;
constexpr float kSoundVolume = 0.5f;
constexpr int kPowerLane = 0;
constexpr int kGlowLane = 2;

RigidBodyComponent3D* BodyOf(const Entity* entity)
{
    auto* body = entity ? entity->GetComponent<RigidBodyComponent3D>() : nullptr;
    return body && body->GetBody() ? body : nullptr;
}

} // namespace

ThumperComponent::~ThumperComponent() = default;

void ThumperComponent::Initialize()
{
    JoinGameLogic();
}

void ThumperComponent::Uninitialize()
{
    LeaveGameLogic();
    m_flows.CancelAll();
}

bool ThumperComponent::CanThump()
{
    const char* fault = nullptr;
    if (!BodyOf(GetEntity()))
        fault = "has no RigidBodyComponent3D with a body";
    else if (!std::isfinite(m_thumpPower) || !std::isfinite(m_thumpApplyTime) || !std::isfinite(m_stunTime) ||
             !std::isfinite(m_stunGrav) || !std::isfinite(m_stunSpeed) || !IsFinite(ToFloat3(m_minHalfExtent)) ||
             !IsFinite(ToFloat3(m_maxHalfExtent)) || !IsFinite(ToFloat3(m_thumpDir)) ||
             !std::isfinite(m_minGlowFactor) || !std::isfinite(m_maxGlowFactor) || !std::isfinite(m_glowDuration))
        fault = "has a value that is not a number";
    if (!fault)
        return true;
    if (!m_warned) {
        m_warned = true;
        Entity* entity = GetEntity();
        std::printf("Warning: ThumperComponent on \"%s\" %s; it never slams\n",
                    entity ? entity->GetName().c_str() : "", fault);
    }
    return false;
}

void ThumperComponent::Update(float dt)
{
    if (m_running)
        m_periodTimer += dt;
    const bool due = m_periodTimer >= m_thumpTime;
    if (due && !CanThump())
        return;
    if (m_armed && due) {
        StartCharge();
        m_armed = false;
    }
    if (due) {
        ReleaseStunned();
        Thump();
        m_periodTimer = 0.0f;
        m_armed = true;
    } else {
        for (auto record = m_stunned.begin(); record != m_stunned.end();) {
            Entity* player = record->player.Get();
            auto* data = player ? player->GetComponent<PlayerDataComponent>() : nullptr;
            if (!data) {
                record = m_stunned.erase(record);
                continue;
            }
            record->remaining -= dt;
            if (record->remaining <= 0.0f) {
                // Each value once: a later change (the win camera's gravity 0, a lift's slow
                // speed) is not undone.
                Restore(*record);
                if (record->speedRestored && record->gravityRestored) {
                    record = m_stunned.erase(record);
                    continue;
                }
            } else if (!(data->blastDist > m_thumpPower)) {
                data->blastDist = m_power;
            }
            ++record;
        }
    }
    if (EmitterComponent* emitter = GroundBlastEmitter())
        if (emitter->GetTimer() > emitter->GetMaxLifetime())
            emitter->Emit(false);
}

void ThumperComponent::StartCharge()
{
    Entity* entity = GetEntity();
    auto* skinned = entity ? entity->GetComponent<GraphicsComponent3DSkinned>() : nullptr;
    if (!skinned)
        return;
    ZOR::AnimationController& controller = skinned->GetAnimationController();
    auto* graphics = GetSystem<GraphicsSystem>();
    // A clip that is not loaded is refused by the controller with a warning; the sound plays.
    controller.AddAnimation(graphics ? graphics->GetAnimation(kAnimation) : nullptr);
    controller.PlayAnimation(kAnimation, 1.0f, ZOR::BlendGroup::All);
    controller.SetAnimationSpeed(kAnimationSpeed);
    controller.SetLoop(false);
    if (auto* sound = DefaultSystem<SoundSystem>()) {
        sound->Play(kChargingSound, 0);
        sound->SetVolume(sound->GetChannel(kChargingSound, 0), kSoundVolume);
    }
}

void ThumperComponent::Thump()
{
    RigidBodyComponent3D* body = BodyOf(GetEntity());
    if (!GetEngine() || !body)
        return;
    if (auto* sound = DefaultSystem<SoundSystem>()) {
        sound->Play(kHitSound, 0);
        sound->SetVolume(sound->GetChannel(kHitSound, 0), kSoundVolume);
    }
    const Vec4 c = body->GetCenterOfMass();
    if (!m_groundBlast.Get())
        BuildGroundBlast(c);
    if (EmitterComponent* emitter = GroundBlastEmitter())
        emitter->Emit(true);

    std::vector<ColliderComponent3D*> found;
    if (auto* physics = DefaultSystem<PhysicsSystem3D>())
        physics->QueryAABB(Vec4(c.x - m_minHalfExtent.x, c.y - m_minHalfExtent.y, c.z - m_minHalfExtent.z, 1.0f),
                           Vec4(c.x + m_maxHalfExtent.x, c.y + m_maxHalfExtent.y, c.z + m_maxHalfExtent.z, 1.0f),
                           found);
    auto* actions = DefaultSystem<ActionSystem>();
    // Once per collider in the box: a body box and a floor sensor each count.
    for (ColliderComponent3D* collider : found) {
        Entity* player = collider ? collider->GetEntity() : nullptr;
        if (!player || !player->GetComponent<CharacterMotor3D>() || !player->GetComponent<PlayerDataComponent>())
            continue;
        Stun(*player);
        m_power = m_thumpPower;
        if (actions)
            actions->AddAction(m_flows.Track(MakeSequence(
                                   new TweenTo(&m_power, m_thumpApplyTime, 0.0f, Easing::kSineOut, true, false))),
                               kPowerLane);
    }
    m_glowFactor = m_maxGlowFactor;
    if (actions)
        actions->AddAction(
            m_flows.Track(new TweenTo(&m_glowFactor, m_glowDuration, m_minGlowFactor, Easing::kLinear, true, false)),
            kGlowLane);
}

void ThumperComponent::Stun(Entity& player)
{
    auto* data = player.GetComponent<PlayerDataComponent>();
    auto* motor = player.GetComponent<CharacterMotor3D>();
    data->m_onGround = false;
    // Whoever holds the player lets go first (a beam never holds its own player); the release
    // gives back the base values, then the stun applies.
    if (data->m_isLifted)
        if (GameLogicSystem* logic = DefaultSystem<GameLogicSystem>())
            for (const auto& entry : logic->GetPlayerList())
                if (Entity* holder = entry.Get())
                    if (auto* lift = holder->GetComponent<LiftComponent>())
                        lift->ReleaseTarget(&player);
    StunRecord record;
    record.player = EntityRef(&player);
    record.remaining = m_stunTime;
    record.savedSpeed = motor->GetBaseSpeed();
    record.savedGravity = motor->GetBaseGravity();
    motor->SetSpeed(m_stunSpeed);
    motor->SetGravity(m_stunGrav);
    data->m_knockbackDir = m_thumpDir;
    data->blastDist = m_thumpPower;
    data->m_stunTimer = m_thumpApplyTime;
    m_stunned.push_back(record);
}

void ThumperComponent::Restore(StunRecord& record)
{
    Entity* player = record.player.Get();
    auto* data = player ? player->GetComponent<PlayerDataComponent>() : nullptr;
    auto* motor = player ? player->GetComponent<CharacterMotor3D>() : nullptr;
    if (!data || !motor) {
        record.speedRestored = record.gravityRestored = true;
        return;
    }
    if (!record.gravityRestored && !data->m_isLifted) {
        motor->SetGravity(record.savedGravity);
        record.gravityRestored = true;
    }
    if (!record.speedRestored && !data->m_charging) {
        motor->SetSpeed(record.savedSpeed);
        record.speedRestored = true;
    }
}

void ThumperComponent::ReleaseStunned()
{
    for (StunRecord& record : m_stunned)
        if (record.remaining > 0.0f)
            Restore(record);
    m_stunned.clear();
}

EmitterComponent* ThumperComponent::GroundBlastEmitter() const
{
    Entity* blast = m_groundBlast.Get();
    return blast ? blast->GetComponent<EmitterComponent>() : nullptr;
}

void ThumperComponent::BuildGroundBlast(const Vec4& centre)
{
    Entity* blast = ObjectSystem::CreateUniqueEntity("thumpGroundBlast");
    if (!blast)
        return;
    if (auto* transform = blast->AddComponent<Transform3D>(true))
        transform->SetPosition(centre.x, centre.y, centre.z);
    auto* emitter = new EmitterComponent;
    emitter->m_particleEmitterFile = m_groundBlastFile;
    blast->AddComponent(EmitterComponent::ID, emitter, true);
    // A box emitter places particles at its own position plus a point of the box, and it sits
    // at the centre: the box is relative.
    emitter->SetBox(ZOR::AABB(-m_minHalfExtent.x, -m_minHalfExtent.y, -m_minHalfExtent.z, m_maxHalfExtent.x,
                              m_maxHalfExtent.y, m_maxHalfExtent.z));
    m_groundBlast = EntityRef(blast);
}

} // namespace quellor
