#include "gameplay/DeathFlow.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform3D.h"
#include "engine/Wait.h"
#include "engine/graphics/EmitterComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/FollowEntityAction.h"
#include "gameplay/GameLogicMember.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SkipDeathAction.h"
#include "gameplay/WatchPlayerDeathAction.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/ColliderComponent3D.h"
#include "renderer/dx11/RenderContext.h"

#include <algorithm>
#include <utility>

namespace quellor {

namespace {

bool IsPerson(const Entity* player)
{
    return player && player->GetComponent<ThirdPersonCameraComponent>();
}

// After the watch: a person hitter's view, or a wait as long for one who has none.
Action* FollowOrWait(Entity* hitter, int screen, float seconds)
{
    if (IsPerson(hitter))
        return new FollowEntityAction(hitter, screen, seconds, DeathFlow::kFollowArgument);
    return new Wait(seconds);
}

} // namespace

void DeathFlow::Join(GameLogicMember& member, const char* who)
{
    m_logic = DefaultSystem<GameLogicSystem>();
    if (!m_logic) {
        ZOR::Log("Warning: %s: no GameLogicSystem in the space \"default\"; it stays idle", who);
        return;
    }
    m_logic->Register(&member);
}

void DeathFlow::Leave(GameLogicMember& member)
{
    if (m_logic)
        m_logic->Unregister(&member);
    m_logic = nullptr;
    m_flows.CancelAll();
}

bool DeathFlow::Starting(float dt)
{
    if (m_startDelay > 0.0f) {
        if (m_startDelay >= kStartDelay)
            CreateRespawnEffect();
        m_startDelay -= dt;
        return true;
    }
    if (EmitterComponent* emitter = GetRespawnEmitter())
        if (emitter->GetTimer() > emitter->GetMaxLifetime())
            emitter->Emit(false);
    return false;
}

const PlayerDataComponent* DeathFlow::Score(Entity* hitter) const
{
    const PlayerDataComponent* data = DataOf(hitter);
    if (data && m_logic) {
        const std::string team = data->playerTeam;
        m_logic->AddScore(team);
    }
    return data;
}

bool DeathFlow::Start(ActionSystem* actions, Entity& victim, Entity* hitter, const Plan& plan,
                      std::function<void()> respawn)
{
    if (!actions)
        return false;
    Action* inner = nullptr;
    if (auto* camera = victim.GetComponent<ThirdPersonCameraComponent>()) {
        camera->SetEnabled(false);
        const int screen = camera->GetScreenID();
        Action* after = hitter && plan.follow > 0.0f ? FollowOrWait(hitter, screen, plan.follow) : nullptr;
        inner = MakeSequence(new WatchPlayerDeathAction(&victim, plan.watch, screen), after);
    } else {
        Action* after = hitter && plan.botFollow > 0.0f ? FollowOrWait(hitter, -1, plan.botFollow) : nullptr;
        inner = MakeSequence(new Wait(plan.botWait), after);
    }
    const auto* data = victim.GetComponent<PlayerDataComponent>();
    auto* skip = new SkipDeathAction(plan.skip, data ? data->controllerID : -1, inner, &victim);
    Action* flow = MakeSequence(MakeParallel(skip, inner), new Invoke(std::move(respawn)));
    actions->AddAction(flow, kLane);
    m_flows.Track(flow);
    return true;
}

void DeathFlow::CreateRespawnEffect()
{
    if (m_respawn.Get())
        return;
    Entity* entity = ObjectSystem::CreateUniqueEntity(kRespawnName);
    if (!entity)
        return;
    entity->AddComponent<Transform3D>(true);
    auto* emitter = new EmitterComponent;
    emitter->SetParticleEmitterFile(kRespawnEffectFile);
    entity->AddComponent(EmitterComponent::ID, emitter, true);
    emitter->Emit(false);
    m_respawn = entity;
}

EmitterComponent* DeathFlow::GetRespawnEmitter() const
{
    Entity* entity = m_respawn.Get();
    return entity && !entity->IsDestroyed() ? entity->GetComponent<EmitterComponent>() : nullptr;
}

void DeathFlow::PlayRespawnEffect(const Vec4& at)
{
    Entity* entity = m_respawn.Get();
    if (!entity || entity->IsDestroyed())
        return;
    if (auto* place = entity->GetComponent<Transform3D>())
        place->SetPosition(at.x, at.y, at.z);
    if (EmitterComponent* emitter = entity->GetComponent<EmitterComponent>())
        emitter->Emit(true);
}

bool DeathFlow::Touches(const ColliderComponent3D& box, const ColliderComponent3D& other)
{
    const auto& records = box.GetContactRecords();
    return std::any_of(records.begin(), records.end(),
                       [&other](const ContactRecord3D& record) { return record.m_other == &other; });
}

void DeathFlow::PutBack(Entity& victim, const Vec4& at)
{
    if (auto* motor = victim.GetComponent<CharacterMotor3D>())
        motor->Teleport(at);
    if (auto* camera = victim.GetComponent<ThirdPersonCameraComponent>())
        camera->SetEnabled(true);
    if (auto* data = victim.GetComponent<PlayerDataComponent>())
        data->canControl = true;
}

PlayerDataComponent* DeathFlow::DataOf(Entity* player)
{
    return player && !player->IsDestroyed() ? player->GetComponent<PlayerDataComponent>() : nullptr;
}

} // namespace quellor
