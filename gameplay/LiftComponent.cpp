#include "gameplay/LiftComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/CameraAim.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/TagMarker.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "physics/ColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(LiftComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_range));
    reg.Member(QL_FIELD(m_environmentLiftForce));
    reg.Member(QL_FIELD(m_liftTime));
    reg.Member(QL_FIELD(m_playerLiftForce));
    reg.Member(QL_FIELD(m_playerSlowSpeed));
    reg.Member(QL_FIELD(m_tagTime));
    reg.Member(QL_FIELD(m_tagLastTime));
    reg.Member(QL_FIELD(m_effectEmitter)).Extension(".pe");
    reg.Member(QL_FIELD(m_beamShotEmitter)).Extension(".pe");
}

namespace {

constexpr const char* kEffectName = "liftFx";
const std::string kNoTeam;

bool ValidRange(float range)
{
    return range > 0.0f && std::isfinite(range);
}

} // namespace

LiftComponent::~LiftComponent() = default;

void LiftComponent::Initialize()
{
    JoinGameLogic();
    m_rigidBody = GetRigidBody();
}

void LiftComponent::Uninitialize()
{
    LeaveGameLogic();
    HeldMap held;
    held.swap(m_heldTargets);
    for (const auto& [name, record] : held)
        ReleaseRecord(name, record);
    EndBeam();
}

PlayerDataComponent* LiftComponent::ShooterData() const
{
    const Entity* shooter = GetEntity();
    return shooter ? shooter->GetComponent<PlayerDataComponent>() : nullptr;
}

const std::string& LiftComponent::ShooterTeam() const
{
    const PlayerDataComponent* data = ShooterData();
    return data ? data->playerTeam : kNoTeam;
}

int LiftComponent::SoundGroup() const
{
    const PlayerDataComponent* data = ShooterData();
    return data ? data->controllerID : -1;
}

void LiftComponent::PlaySound(const std::string& name) const
{
    if (auto* sound = GetSystem<SoundSystem>())
        sound->Play(name, SoundGroup());
}

template <typename Visit>
void LiftComponent::ForEachTeamBeam(Visit visit) const
{
    const GameLogicSystem* logic = DefaultSystem<GameLogicSystem>();
    if (!logic)
        return;
    const std::string& team = ShooterTeam();
    for (const GameLogicSystem::PlayerEntry& entry : logic->GetPlayerList()) {
        const Entity* player = entry.Get();
        const auto* data = player ? player->GetComponent<PlayerDataComponent>() : nullptr;
        if (!data || data->playerTeam != team)
            continue;
        if (auto* beam = player->GetComponent<LiftComponent>())
            visit(*beam);
    }
}

void LiftComponent::AdjustTeamLifters(const std::string& name, int delta) const
{
    ForEachTeamBeam([&](LiftComponent& beam) {
        auto found = beam.m_heldTargets.find(name);
        if (found != beam.m_heldTargets.end())
            found->second.lifterCount += delta;
    });
}

void LiftComponent::FireFromCamera()
{
    const Entity* shooter = GetEntity();
    if (!m_rigidBody)
        m_rigidBody = GetRigidBody();
    CameraAim aim;
    const Vec4 body = m_rigidBody ? m_rigidBody->GetCenterOfMass() : Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    if (!shooter || !CameraAim::Of(*shooter, body, aim)) {
        if (!m_warnedNoCamera) {
            m_warnedNoCamera = true;
            std::printf("Warning: LiftComponent on \"%s\" has no third-person camera to aim from; no beam\n",
                        shooter ? shooter->GetName().c_str() : "");
        }
        return;
    }
    Fire(Ray3D{aim.origin, aim.forward});
}

void LiftComponent::Fire(const Ray3D& ray)
{
    m_firedThisFrame = true;
    if (!m_firedLastFrame) {
        if (auto* sound = GetSystem<SoundSystem>()) {
            const int group = SoundGroup();
            sound->Play(kBeginSound, group);
            // The loop count applies to the next start, so it is set first.
            sound->SetLooping(kHoldSound, true, group);
            sound->Play(kHoldSound, group);
        }
        m_holdSoundStopped = false;
    }
    if (Transform3D* transform = FindTransform3D(*this))
        transform->UpdateWorldMatrix(0.0f);

    if (!ValidRange(m_range)) {
        UpdateBeamEffect(ray.origin);
        return;
    }
    auto* physics = GetSystem<PhysicsSystem3D>();
    const PhysicsRayCastResult3D hit =
        physics ? physics->RayCast(ray.origin, ray.direction, m_range) : PhysicsRayCastResult3D{};
    if (!hit.hit) {
        UpdateBeamEffect(ray.origin + ray.direction * m_range);
        return;
    }
    UpdateBeamEffect(hit.point);

    const Entity* struck = hit.collider ? hit.collider->GetEntity() : nullptr;
    if (!struck || struck == GetEntity())
        return;
    const auto* data = struck->GetComponent<PlayerDataComponent>();
    if (data && data->playerTeam != ShooterTeam()) {
        HoldTarget(*hit.collider);
        m_lastHitWasEnemy = true;
    } else {
        m_lastHitWasEnemy = false;
    }
}

void LiftComponent::HoldTarget(ColliderComponent3D& collider)
{
    Entity* target = collider.GetEntity();
    const auto* body = target ? target->GetComponent<RigidBodyComponent3D>() : nullptr;
    if (!body || body->GetType() == 0)
        return;
    auto* data = target->GetComponent<PlayerDataComponent>();
    const std::string& name = target->GetName();

    auto found = m_heldTargets.find(name);
    if (found != m_heldTargets.end()) {
        LiftRecord& record = found->second;
        record.liftTimer = m_liftTime;
        // The last ray to strike a collider held no enemy: the target was found again.
        if (!m_lastHitWasEnemy)
            record.tagProgress += kReacquireProgress;
        if (GameLogicSystem* logic = DefaultSystem<GameLogicSystem>())
            if (GameLogicSystem::TagTable* tags = logic->GetTeamTags(ShooterTeam()))
                for (auto& [tagged, tag] : *tags)
                    if (tagged == name)
                        tag.timer = m_tagLastTime;
    } else {
        // Team mates already holding the target count this beam in, and it joins their progress.
        LiftRecord record;
        record.target = target;
        record.liftTimer = m_liftTime;
        ForEachTeamBeam([&](LiftComponent& beam) {
            auto held = beam.m_heldTargets.find(name);
            if (&beam == this || held == beam.m_heldTargets.end())
                return;
            ++held->second.lifterCount;
            ++record.lifterCount;
            record.tagProgress = held->second.tagProgress;
        });
        if (auto* motor = target->GetComponent<CharacterMotor3D>()) {
            record.savedGravity = motor->GetBaseGravity();
            record.savedSpeed = motor->GetBaseSpeed();
            if (std::isfinite(m_playerLiftForce)) {
                motor->SetGravity(-m_playerLiftForce);
            } else if (!m_warnedLiftForce) {
                m_warnedLiftForce = true;
                std::printf("Warning: LiftComponent on \"%s\" has a lift force that is not a number; the held "
                            "player's gravity is kept\n",
                            GetEntity() ? GetEntity()->GetName().c_str() : "");
            }
            motor->SetSpeed(m_playerSlowSpeed);
        }
        if (data)
            data->m_isLifted = true;
        m_heldTargets.emplace(name, record);
    }
    if (data)
        data->SetLastHitter(GetEntity());
}

void LiftComponent::UpdateBeamEffect(const ZOR::float3& end)
{
    Entity* shooter = GetEntity();
    if (!shooter || !GetEngine())
        return;
    LiftFxComponent* effect = GetBeamEffect();
    if (!effect) {
        Entity* entity = ObjectSystem::CreateUniqueEntity(kEffectName);
        if (!entity)
            return;
        effect = entity->AddComponent<LiftFxComponent>(true);
        m_beamEffect = entity;
        if (!effect)
            return;
        effect->FadeIn(kFadeInSeconds);
    }
    const Vec4 hand = PlayerUtil::HandPoint(*shooter);
    effect->m_start = ZOR::float3(hand.x, hand.y, hand.z);
    effect->m_end = end;
}

LiftFxComponent* LiftComponent::GetBeamEffect() const
{
    const Entity* entity = m_beamEffect.Get();
    return entity && !entity->IsDestroyed() ? entity->GetComponent<LiftFxComponent>() : nullptr;
}

void LiftComponent::EndBeam()
{
    if (LiftFxComponent* effect = GetBeamEffect())
        effect->FadeOut(kFadeOutSeconds);
    m_beamEffect.Reset();
}

void LiftComponent::Update(float dt)
{
    if (!m_firedThisFrame && m_firedLastFrame)
        PlaySound(kEndSound);
    if (!m_firedThisFrame && !m_firedLastFrame && !m_holdSoundStopped) {
        if (auto* sound = GetSystem<SoundSystem>())
            sound->StopSong(kHoldSound, SoundGroup());
        m_holdSoundStopped = true;
    }
    m_firedLastFrame = m_firedThisFrame;
    m_firedThisFrame = false;

    for (auto it = m_heldTargets.begin(); it != m_heldTargets.end();) {
        LiftRecord& record = it->second;
        Entity* target = record.target.Get();
        const auto* data = target ? target->GetComponent<PlayerDataComponent>() : nullptr;
        // Gone, or let go by another hand (a knock-back clears the flag).
        if (!data || !data->m_isLifted) {
            ReleaseRecord(it->first, record);
            it = m_heldTargets.erase(it);
            continue;
        }
        // The timer is full only in the frame of a strike.
        if (record.liftTimer >= m_liftTime)
            record.tagProgress += static_cast<float>(record.lifterCount) * dt;
        record.liftTimer -= dt;
        if (record.tagProgress >= m_tagTime)
            Tagging(*target);
        if (target->IsDestroyed() || !(record.liftTimer > 0.0f)) {
            ReleaseRecord(it->first, record);
            it = m_heldTargets.erase(it);
            continue;
        }
        ++it;
    }
}

void LiftComponent::Tagging(Entity& target)
{
    Entity* shooter = GetEntity();
    PlayerDataComponent* data = ShooterData();
    GameLogicSystem* logic = DefaultSystem<GameLogicSystem>();
    if (!shooter || !data || !logic)
        return;
    GameLogicSystem::TagTable* tags = logic->GetTeamTags(data->playerTeam);
    if (!tags)
        return;
    // A marker that cannot be found is settled and points at the target.
    TagMarker* marker = TagMarker::Of(data->GetTagMarker());
    if (marker && marker->IsHiding())
        return;
    if (data->m_hasTag) {
        const Entity* marked = marker ? marker->GetTarget() : &target;
        if (marked != &target || data->m_dying) {
            // Take the tag back.
            if (marker)
                marker->Hide();
            PlaySound(kTagRemovedSound);
            data->m_hasTag = false;
            TagMarker* teamMarker = TagMarker::Of(data->GetTeamTagMarker());
            if (teamMarker && teamMarker->IsShown() && teamMarker->GetTarget() == &target) {
                teamMarker->Hide();
                teamMarker->ClearHiding();
            }
            logic->DeactivateTeamTag(shooter, &target);
            return;
        }
    }
    const std::string& name = target.GetName();
    bool listed = false;
    for (const auto& [tagged, tag] : *tags)
        listed = listed || tagged == name;
    if (listed && data->m_hasTag)
        return;
    if (!listed)
        tags->emplace_back(name, GameLogicSystem::TeamTag{&target, shooter, m_tagLastTime});
    if (marker) {
        marker->SetTarget(&target);
        marker->Show();
    }
    data->m_hasTag = true;
    logic->ActivateTeamTag(shooter, &target);
    PlaySound(kTagAddedSound);
}

void LiftComponent::ReleaseRecord(const std::string& name, const LiftRecord& record)
{
    AdjustTeamLifters(name, -1);
    Entity* target = record.target.Get();
    auto* data = target ? target->GetComponent<PlayerDataComponent>() : nullptr;
    if (!data)
        return;
    if (auto* motor = target->GetComponent<CharacterMotor3D>()) {
        motor->SetGravity(record.savedGravity);
        motor->SetSpeed(record.savedSpeed);
    }
    data->m_isLifted = false;
}

void LiftComponent::ReleaseTarget(const Entity* target)
{
    if (!target)
        return;
    auto found = m_heldTargets.find(target->GetName());
    if (found == m_heldTargets.end())
        return;
    ReleaseRecord(found->first, found->second);
    m_heldTargets.erase(found);
}

float LiftComponent::GetTagFraction(const Entity* target) const
{
    // Bots rank their weapons by this: never 0/0 or a value that is not a number.
    if (!target || !(m_tagLastTime > 0.0f) || !std::isfinite(m_tagLastTime))
        return 0.0f;
    GameLogicSystem* logic = DefaultSystem<GameLogicSystem>();
    GameLogicSystem::TagTable* tags = logic ? logic->GetTeamTags(ShooterTeam()) : nullptr;
    if (!tags)
        return 0.0f;
    for (const auto& [tagged, tag] : *tags)
        if (tagged == target->GetName())
            return tag.timer / m_tagLastTime;
    return 0.0f;
}

} // namespace quellor
