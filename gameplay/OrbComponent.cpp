#include "gameplay/OrbComponent.h"

#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Finite.h"
#include "engine/Invoke.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/Wait.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/PointLightComponent.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/OrbEmitters.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "gameplay/effects/OrbConeComponent.h"
#include "gameplay/effects/OrbLightningComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "renderer/Camera.h"
#include "renderer/ParticleEmitter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(OrbComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_orbSpeed));
    reg.Member(QL_FIELD(m_tagSpeed));
    reg.Member(QL_FIELD(m_orbRadius));
    reg.Member(QL_FIELD(m_waitForSeek));
    reg.Member(QL_FIELD(m_orbLifeTime));
    reg.Member(QL_FIELD(m_baseForce));
    reg.Member(QL_FIELD(m_maxForce));
    reg.Member(QL_FIELD(m_chargeTime));
}

namespace {

constexpr float kNoTagLock = 4294967296.0f;
constexpr float kRayMargin = 1.0f;
constexpr float kOrbLightColor[3] = {0.0f, 0.75f, 1.0f};
constexpr float kOrbLightIntensity = 3.5f;
constexpr float kOrbLightRadius = 30.0f;
constexpr float kOrbColliderRadius = 1.5f;
constexpr int kOrbBodyType = 1;
constexpr int kCharacterPType = 1;

Vec4 Direction(const ZOR::float3& v) { return Vec4(v.x, v.y, v.z, 0.0f); }
Vec4 Point(const ZOR::float3& v) { return Vec4(v.x, v.y, v.z, 1.0f); }
float LengthSquared(const ZOR::float3& v) { return v.Dot(v); }

bool Gone(const Entity* entity) { return !entity || entity->IsDestroyed(); }

// The rigid-body centre of mass, else the transform's position; false for neither.
bool CentreOf(const Entity& entity, ZOR::float3& out)
{
    if (const auto* body = entity.GetComponent<RigidBodyComponent3D>()) {
        out = ToFloat3(body->GetCenterOfMass());
        return true;
    }
    if (const auto* transform = entity.GetComponent<Transform3D>()) {
        out = ZOR::float3(transform->m_x, transform->m_y, transform->m_z);
        return true;
    }
    return false;
}

} // namespace

OrbComponent::OrbComponent() = default;

OrbComponent::~OrbComponent() = default;

Component* OrbComponent::Clone() const
{
    return nullptr;
}

void OrbComponent::Initialize()
{
    JoinGameLogic();
    m_physics = DefaultSystem<PhysicsSystem3D>();
    m_gameLogic = DefaultSystem<GameLogicSystem>();
    m_owner = GetEntity();
    OrbEmitters::Get();
}

void OrbComponent::Uninitialize()
{
    FreeExplosions();
    LeaveGameLogic();
}

PlayerDataComponent* OrbComponent::Data() const
{
    const Entity* owner = GetEntity();
    return owner ? owner->GetComponent<PlayerDataComponent>() : nullptr;
}

SoundSystem* OrbComponent::Sound() const
{
    return DefaultSystem<SoundSystem>();
}

int OrbComponent::SoundGroup() const
{
    const PlayerDataComponent* data = Data();
    return data ? data->controllerID : -1;
}

bool OrbComponent::ShooterHasTag() const
{
    const PlayerDataComponent* data = Data();
    return data && data->m_hasTag;
}

float OrbComponent::ForceOf(float charge) const
{
    float f = 1.0f;
    if (m_chargeTime > 0.0f && charge <= m_chargeTime)
        f = charge / m_chargeTime;
    f = std::isfinite(f) ? std::clamp(f, 0.0f, 1.0f) : 1.0f;
    return m_baseForce + f * (m_maxForce - m_baseForce);
}

float OrbComponent::GetChargePercent() const
{
    // A charge time of 0 (or a hostile one) would divide to a NaN: the ring is full while the
    // player charges.
    if (!(m_chargeTime > 0.0f)) {
        const PlayerDataComponent* data = Data();
        return data && data->m_charging ? 1.0f : 0.0f;
    }
    const float ratio = m_currentCharge / m_chargeTime;
    return std::isfinite(ratio) ? std::min(1.0f, ratio) : 0.0f;
}

const ZOR::ParticleEmitter* OrbComponent::GetExplosion(std::size_t index) const
{
    return index < m_explosions.size() ? m_explosions[index].get() : nullptr;
}

void OrbComponent::PlayShot()
{
    SoundSystem* sound = Sound();
    if (!sound)
        return;
    const int group = SoundGroup();
    if (sound->IsPlaying(kChargeSound, group))
        sound->StopSong(kChargeSound, group);
    sound->Play(kShootSound, group);
}

void OrbComponent::Fire(float charge)
{
    Entity* owner = GetEntity();
    if (!owner)
        return;
    const auto* camera = owner->GetComponent<ThirdPersonCameraComponent>();
    const ZOR::Camera* view = camera ? camera->GetCamera() : nullptr;
    if (!view) {
        if (!m_warnedNoCamera) {
            m_warnedNoCamera = true;
            std::printf("Warning: OrbComponent on \"%s\" has no third-person camera to aim with; it does not fire\n",
                        owner->GetName().c_str());
        }
        return;
    }
    PlayShot();
    if (SoundSystem* sound = Sound()) {
        sound->SetLooping(kTrailSound, true, SoundGroup());
        sound->Play(kTrailSound, SoundGroup());
    }

    // The ray starts where the view line passes the shooter, so that nothing between the
    // camera and the player is struck.
    const ZOR::float3& eye = view->GetPosition();
    const Vec4 forward = camera->GetForward();
    ZOR::float3 body;
    CentreOf(*owner, body);
    const Vec4 origin = PlayerUtil::ViewLineOrigin(Point(eye), forward, Point(body));
    const PhysicsRayCastResult3D hit = CastRay(origin, forward, kAimReach);
    const ZOR::float3 hand = ToFloat3(PlayerUtil::HandPoint(*owner));
    Vec4 aim = forward;
    Entity* target = nullptr;
    if (hit.hit) {
        aim = Direction(hit.point - hand);
        Entity* struck = hit.collider ? hit.collider->GetEntity() : nullptr;
        if (struck && struck->HasComponent<PlayerDataComponent>())
            target = struck;
    }
    Launch(aim, charge, target);
}

void OrbComponent::ShootAt(const Vec4& direction, float charge)
{
    PlayShot();
    Launch(Vec4(direction.x, direction.y, direction.z, 0.0f), charge, nullptr);
}

void OrbComponent::Launch(const Vec4& aim, float charge, Entity* target)
{
    Entity* owner = GetEntity();
    auto* actions = owner ? owner->GetComponent<ActionComponent>() : nullptr;
    if (!actions) {
        if (!m_warnedNoActions) {
            m_warnedNoActions = true;
            std::printf("Warning: OrbComponent on \"%s\" has no ActionComponent to launch from; the shot is lost\n",
                        owner ? owner->GetName().c_str() : "");
        }
        return;
    }
    // The spawn finds the weapon again through its entity: the shot outlives nothing it holds.
    const EntityRef ownerRef(owner);
    const EntityRef targetRef(target);
    actions->AddAction(MakeSequence(new Wait(kSpawnDelay), new Invoke([ownerRef, aim, charge, targetRef] {
                                        Entity* shooter = ownerRef.Get();
                                        if (auto* weapon = shooter ? shooter->GetComponent<OrbComponent>() : nullptr)
                                            weapon->SpawnOrb(aim, charge, targetRef.Get());
                                    })),
                       0);
}

void OrbComponent::SpawnOrb(const Vec4& aim, float charge, Entity* target)
{
    Entity* owner = GetEntity();
    if (!GetEngine() || !owner)
        return;
    Entity* orb = ObjectSystem::CreateUniqueEntity(kOrbName);
    if (!orb)
        return;

    auto* transform = static_cast<Transform3D*>(orb->AddComponent(Transform3D::ID, new Transform3D, true));
    auto* light = new PointLightComponent;
    light->SetColor(kOrbLightColor[0], kOrbLightColor[1], kOrbLightColor[2]);
    light->SetIntensity(kOrbLightIntensity);
    light->SetRadius(kOrbLightRadius);
    orb->AddComponent(PointLightComponent::ID, light, true);
    auto* blast = static_cast<EmitterComponent*>(OrbEmitters::Get().GetBlast().Clone());
    blast->Emit(true);
    blast->SetConeDirection(aim.x, aim.y, aim.z);
    orb->AddComponent(EmitterComponent::ID, blast, true);

    const Vec4 hand = PlayerUtil::HandPoint(*owner);
    const float radius = FiniteOrZero(m_orbRadius);
    transform->SetPosition(hand.x, hand.y, hand.z);
    transform->SetScale(radius, radius, radius);

    orb->AddComponent(OrbMeshComponent::ID, new OrbMeshComponent, true);
    orb->AddComponent(OrbLightningComponent::ID, new OrbLightningComponent, true);
    orb->AddComponent(OrbConeComponent::ID, new OrbConeComponent, true);

    const ZOR::float3 direction = ToFloat3(aim).Normalized();
    const bool tagOut = ShooterHasTag();
    const Vec4 velocity = Direction(direction * FiniteOrZero(tagOut ? m_tagSpeed : m_orbSpeed));

    auto* body = new RigidBodyComponent3D;
    body->SetType(kOrbBodyType)->SetLinearVelocity(velocity)->SetHasGravity(false);
    orb->AddComponent(RigidBodyComponent3D::ID, body, true);
    auto* sphere = new SphereColliderComponent3D;
    sphere->SetRadius(kOrbColliderRadius);
    sphere->SetSensor(true);
    orb->AddComponent(SphereColliderComponent3D::ID, sphere, true);

    OrbRecord record;
    record.orb = orb;
    record.velocity = velocity;
    record.speed = std::sqrt(LengthSquared(ToFloat3(velocity)));
    record.lifetime = m_orbLifeTime;
    record.seekDelay = m_waitForSeek;
    record.force = ForceOf(charge);
    record.lastPosition = hand;
    if (target && !tagOut) {
        const float speed = FiniteOrZero(m_orbSpeed);
        record.target = target;
        record.speed = speed;
        record.homingCap = speed;
        record.turn = kLockTurn;
        record.velocity = Direction(direction * speed);
        body->SetLinearVelocity(record.velocity);
    }
    m_orbs.push_back(record);
}

PhysicsRayCastResult3D OrbComponent::CastRay(const Vec4& origin, const Vec4& direction, float reach) const
{
    const ZOR::float3 d = ToFloat3(direction).Normalized();
    // A zero direction or reach finds nothing: no ray is cast.
    if (!m_physics || !(reach > 0.0f) || !(LengthSquared(d) > 0.0f))
        return {};
    return m_physics->RayCast(ToFloat3(origin), d, reach);
}

Entity* OrbComponent::RayEntity(const Vec4& origin, const Vec4& direction, float reach, Vec4* point) const
{
    const PhysicsRayCastResult3D result = CastRay(origin, direction, reach);
    if (!result.hit || !result.collider)
        return nullptr;
    if (point)
        *point = Point(result.point);
    return result.collider->GetEntity();
}

void OrbComponent::CopyTagTable()
{
    m_tagTable.clear();
    const PlayerDataComponent* data = Data();
    GameLogicSystem::TagTable* tags = m_gameLogic && data ? m_gameLogic->GetTeamTags(data->playerTeam) : nullptr;
    if (!tags)
        return;
    for (const auto& [name, tag] : *tags)
        m_tagTable.push_back({name, tag.target});
}

void OrbComponent::Update(float dt)
{
    CopyTagTable();
    for (std::size_t i = 0; i < m_orbs.size();) {
        OrbRecord& orb = m_orbs[i];
        orb.lifetime -= dt;
        bool ended = !(orb.lifetime > 0.0f);
        EndAt endAt = EndAt::Orb;
        Entity* entity = orb.orb.Get();
        if (Gone(entity)) {
            ended = true;
        } else {
            if (!orb.blastStopped) {
                auto* blast = entity->GetComponent<EmitterComponent>();
                if (blast && blast->GetTimer() > blast->GetMaxLifetime()) {
                    blast->Uninitialize();
                    orb.blastStopped = true;
                }
            }
            ZOR::float3 position;
            CentreOf(*entity, position);
            orb.lastPosition = Point(position);
            if (ScanContacts(orb, *entity, endAt))
                ended = true;
            if (orb.target == EntityRef()) {
                LookAheadLock(orb, orb.lastPosition);
                if (orb.target == EntityRef())
                    TagLock(orb, orb.lastPosition);
            } else if (Home(orb, orb.lastPosition, dt, endAt)) {
                ended = true;
            }
        }
        if (ended) {
            Explode(orb, endAt);
            m_orbs.erase(m_orbs.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    UpdateExplosions(dt);
}

bool OrbComponent::ScanContacts(OrbRecord& orb, Entity& entity, EndAt& endAt)
{
    const auto* sphere = entity.GetComponent<SphereColliderComponent3D>();
    if (!sphere)
        return false;
    const auto& records = sphere->GetContactRecords();
    // A trigger volume (a sensor that is no character and not the target) is no contact for an
    // orb: the level's boundary box holds every orb for its whole flight, and would end each one
    // a frame after its skipped first contact.
    const Entity* target = orb.target.Get();
    const auto counts = [target](const ContactRecord3D& record) {
        const ColliderComponent3D* other = record.m_other;
        return record.m_touching &&
               !(other && other->IsSensor() && other->m_pType != kCharacterPType && other->GetEntity() != target);
    };
    if (std::none_of(records.begin(), records.end(), counts))
        return false;
    if (orb.skipContacts) {
        orb.skipContacts = false;
        return false;
    }
    const Entity* shooter = GetEntity();
    bool ended = false;
    for (const ContactRecord3D& record : records) {
        if (!counts(record))
            continue;
        ColliderComponent3D* other = record.m_other;
        Entity* otherEntity = other ? other->GetEntity() : nullptr;
        if (otherEntity && otherEntity == shooter)
            continue;
        ended = true;
        const bool onTarget = otherEntity && otherEntity == orb.target.Get();
        if (other && (other->m_pType == kCharacterPType || onTarget)) {
            HitPlayer(otherEntity, Direction(ToFloat3(orb.velocity).Normalized()), orb.force);
            if (onTarget)
                endAt = EndAt::Target;
            break;
        }
    }
    return ended;
}

void OrbComponent::LookAheadLock(OrbRecord& orb, const Vec4& position)
{
    const ZOR::float3 v = ToFloat3(orb.velocity);
    const float reach = std::sqrt(LengthSquared(v));
    // A resting orb looks nowhere.
    if (!(reach > 0.0f))
        return;
    const float r = FiniteOrZero(m_orbRadius);
    const ZOR::float3 a = v.Cross(ZOR::float3(0.0f, 1.0f, 0.0f)).Normalized();
    const ZOR::float3 b = a.Cross(v).Normalized();
    const ZOR::float3 p = ToFloat3(position);
    const ZOR::float3 origins[5] = {p, p + a * r, p - a * r, p + b * r, p - b * r};
    for (const ZOR::float3& origin : origins) {
        Entity* hit = RayEntity(Point(origin), orb.velocity, reach);
        if (hit && hit->HasComponent<PlayerDataComponent>()) {
            orb.target = hit;
            orb.homingCap = orb.speed;
            orb.turn = kLockTurn;
            return;
        }
    }
}

void OrbComponent::TagLock(OrbRecord& orb, const Vec4& position)
{
    const ZOR::float3 p = ToFloat3(position);
    float best = kNoTagLock;
    for (const TagEntry& entry : m_tagTable) {
        Entity* target = entry.target.Get();
        const auto* body = Gone(target) ? nullptr : target->GetComponent<RigidBodyComponent3D>();
        if (!body)
            continue;
        // A target at the orb's own place gives no direction: no ray.
        const ZOR::float3 toTarget = ToFloat3(body->GetPosition()) - p;
        // The target is reached within its own distance: the ray goes no further (a ray of
        // billions of units loses the precision to find a body of one).
        const float reach = std::min(best, toTarget.Length() + kRayMargin);
        Vec4 hitPoint;
        if (RayEntity(position, Direction(toTarget), reach, &hitPoint) != target)
            continue;
        const float distance = (ToFloat3(hitPoint) - p).Length();
        if (distance < best) {
            orb.target = target;
            orb.homingCap = m_tagSeekSpeed;
            orb.turn = kTagLockTurn;
            best = distance;
        }
    }
}

bool OrbComponent::Home(OrbRecord& orb, const Vec4& position, float dt, EndAt& endAt)
{
    if (orb.seekDelay > 0.0f) {
        orb.seekDelay -= dt;
        return false;
    }
    Entity* target = orb.target.Get();
    const PlayerDataComponent* targetData = Gone(target) ? nullptr : target->GetComponent<PlayerDataComponent>();
    const PlayerDataComponent* data = Data();
    ZOR::float3 t;
    // A target that has left the game ends the orb as a dead one does.
    if (!targetData || targetData->m_dying || (data && data->m_dying) || !CentreOf(*target, t)) {
        orb.target.Reset();
        return true;
    }
    orb.speed = std::min(orb.speed + m_seekAcceleration * dt, orb.homingCap);
    const ZOR::float3 p = ToFloat3(position);
    const ZOR::float3 v = ToFloat3(orb.velocity);
    const ZOR::float3 toTarget = t - p;
    const ZOR::float3 toward = toTarget.Normalized();
    Vec4 steered = Direction(v + (toward * orb.speed - v) * orb.turn);
    ZOR::float3 d = toTarget;
    const float reach2 = 4.0f * FiniteOrZero(m_orbRadius) * FiniteOrZero(m_orbRadius);

    Vec4 hitPoint;
    if (RayEntity(position, Direction(toTarget), m_tagSeekSpeed, &hitPoint) == target) {
        const float d2 = LengthSquared(ToFloat3(hitPoint) - p);
        if (LengthSquared(ToFloat3(steered) * dt) >= d2) {
            steered.x *= kCloseBrake;
            steered.y *= kCloseBrake;
            steered.z *= kCloseBrake;
            steered.w *= kCloseBrake;
        }
        if (d2 <= reach2)
            d = ZOR::float3();
    }
    bool ended = false;
    if (LengthSquared(d) <= reach2) {
        HitPlayer(target, Direction(v.Normalized()), orb.force);
        endAt = EndAt::Target;
        ended = true;
    } else if (auto* body = orb.orb.Get()->GetComponent<RigidBodyComponent3D>()) {
        body->SetLinearVelocity(steered);
    }
    orb.velocity = steered;
    return ended;
}

void OrbComponent::Explode(const OrbRecord& orb, EndAt endAt)
{
    if (SoundSystem* sound = Sound()) {
        const int group = SoundGroup();
        if (sound->IsPlaying(kTrailSound, group))
            sound->StopSong(kTrailSound, group);
        sound->Play(kWallSound, group);
    }

    // The burst is at the target only when the orb ended on it.
    ZOR::float3 at = ToFloat3(orb.lastPosition);
    Entity* entity = orb.orb.Get();
    const Entity* target = endAt == EndAt::Target ? orb.target.Get() : nullptr;
    const Transform3D* place = !Gone(target) ? target->GetComponent<Transform3D>()
                               : !Gone(entity) ? entity->GetComponent<Transform3D>()
                                               : nullptr;
    if (place)
        at = ZOR::float3(place->m_x, place->m_y, place->m_z);

    auto* graphics = DefaultSystem<GraphicsSystem>();
    const OrbEmitters& shared = OrbEmitters::Get();
    for (const ZOR::ParticleEmitter* source : {&shared.GetInner(), &shared.GetOuter()}) {
        auto burst = std::make_unique<ZOR::ParticleEmitter>(*source);
        if (graphics)
            graphics->AddRenderable(static_cast<ZOR::Renderable*>(burst.get()));
        burst->Emit(true);
        burst->SetPosition(at);
        m_explosions.push_back(std::move(burst));
    }
    if (!Gone(entity))
        entity->Destroy();
}

void OrbComponent::UpdateExplosions(float dt)
{
    auto* graphics = DefaultSystem<GraphicsSystem>();
    for (std::size_t i = 0; i < m_explosions.size();) {
        ZOR::ParticleEmitter& burst = *m_explosions[i];
        burst.Update(dt);
        burst.Invalidate();
        if (burst.GetTimer() > burst.GetMaxLifetime()) {
            if (graphics)
                graphics->RemoveRenderable(static_cast<ZOR::Renderable*>(&burst));
            m_explosions.erase(m_explosions.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void OrbComponent::FreeExplosions()
{
    auto* graphics = DefaultSystem<GraphicsSystem>();
    if (graphics)
        for (const auto& burst : m_explosions)
            graphics->RemoveRenderable(static_cast<ZOR::Renderable*>(burst.get()));
    m_explosions.clear();
}

void OrbComponent::HitPlayer(Entity* victim, const Vec4& direction, float force)
{
    if (SoundSystem* sound = Sound()) {
        const int group = SoundGroup();
        if (sound->IsPlaying(kHitPlayerSound, group))
            sound->StopSong(kHitPlayerSound, group);
    }
    auto* victimData = Gone(victim) ? nullptr : victim->GetComponent<PlayerDataComponent>();
    if (!victimData)
        return;
    const PlayerDataComponent* data = Data();
    if (data && victimData->playerTeam == data->playerTeam)
        return;
    // A force that is not a number would throw the victim to nowhere.
    if (!std::isfinite(force) || !std::isfinite(direction.x) || !std::isfinite(direction.y) ||
        !std::isfinite(direction.z))
        return;
    victimData->m_knockbackDir = direction;
    victimData->blastDist = force;
    victimData->SetLastHitter(GetEntity());
    victimData->m_stunTimer = victimData->m_onGround ? m_groundKnockTime : m_airKnockTime;
}

} // namespace quellor
