#include "gameplay/DeathBoxComponent.h"

#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "renderer/dx11/RenderContext.h"

namespace quellor {

QUELLOR_RECORD(DeathBoxComponent, Component, DerivedMetaNotPODNoCopy, WithID) {}

namespace {

// How long a person's flow waits for a skip, watches the body and follows the hitter; a
// computer victim waits 6 s (then 5 s more) with a hitter, 1 s without.
constexpr DeathFlow::Plan kWithHitter{3.0f, 5.0f, 6.0f, 6.0f, 5.0f};
constexpr DeathFlow::Plan kWithoutHitter{3.0f, 0.0f, 6.0f, 1.0f, 0.0f};

} // namespace

DeathBoxComponent::~DeathBoxComponent() = default;

void DeathBoxComponent::Initialize()
{
    m_flow.Join(*this, "DeathBoxComponent");
}

void DeathBoxComponent::Uninitialize()
{
    m_flow.Leave(*this);
}

bool DeathBoxComponent::IsOutside(const Vec4& p)
{
    return p.x < kMinX || p.x > kMaxX || p.y < kMinY || p.y > kMaxY || p.z < kMinZ || p.z > kMaxZ;
}

void DeathBoxComponent::Update(float dt)
{
    GameLogicSystem* logic = m_flow.GetLogic();
    if (!logic || m_flow.Starting(dt))
        return;

    Entity* self = GetEntity();
    const auto* box = self ? self->GetComponent<BoxColliderComponent3D>() : nullptr;
    if (!box && !m_warnedNoBox) {
        m_warnedNoBox = true;
        ZOR::Log("Warning: DeathBoxComponent: its entity has no BoxColliderComponent3D; only leaving the level kills");
    }

    const int count = static_cast<int>(logic->GetPlayerCount());
    for (int i = 0; i < count; ++i) {
        Entity* player = logic->GetPlayer(i);
        PlayerDataComponent* data = DeathFlow::DataOf(player);
        const auto* body = player ? player->GetComponent<BoxColliderComponent3D>() : nullptr;
        const auto* place = player ? player->GetComponent<Transform3D>() : nullptr;
        if (!data || !place)
            continue;
        // Only the touch test needs the player's box; leaving the level needs the place alone.
        const bool touching = box && body && DeathFlow::Touches(*box, *body) && data->m_respawnGrace <= 0.0f;
        if (!touching && !IsOutside(place->GetPosition()))
            continue;
        const SpawnPointComponent* spawn = logic->ChooseSpawnPoint(data->playerTeam);
        if (!spawn || data->m_dying)
            continue;
        Kill(*player, spawn->GetPosition());
    }

    for (auto it = m_recent.begin(); it != m_recent.end();) {
        if (it->second.timer < 0.0f) {
            if (PlayerDataComponent* data = DeathFlow::DataOf(it->second.victim.Get()))
                data->m_dying = false;
            it = m_recent.erase(it);
        } else {
            it->second.timer -= dt;
            ++it;
        }
    }
}

void DeathBoxComponent::Kill(Entity& victim, const Vec4& spawn)
{
    PlayerDataComponent* data = victim.GetComponent<PlayerDataComponent>();
    Entity* hitter = data->GetLastHitter();
    m_respawnPosition = spawn;
    m_lastHitter = hitter;
    m_victim = &victim;
    m_pending.push_back({hitter, &victim, kPendingTimer, spawn});

    if (auto* sound = DefaultSystem<SoundSystem>())
        sound->Play(kDeathSound, data->controllerID);

    // Each flow respawns its own victim: flows differ in length, so the oldest record need
    // not be the one whose flow ends.
    const EntityRef victimRef(&victim);
    m_flow.Start(GetSystem<ActionSystem>(), victim, hitter, hitter ? kWithHitter : kWithoutHitter,
                 [this, victimRef] { Respawn(victimRef); });
    data->canControl = false;
    data->m_dying = true;
}

void DeathBoxComponent::Respawn(const EntityRef& victimRef)
{
    auto it = m_pending.begin();
    while (it != m_pending.end() && !(it->victim == victimRef))
        ++it;
    if (it == m_pending.end())
        return;
    DeathRecord record = *it;

    // A point from the kill volume also counts as a feather for the hitter's team.
    if (const PlayerDataComponent* hitter = m_flow.Score(record.lastHitter.Get()))
        if (auto* feathers = GetSystem<FeatherSystem>())
            feathers->AddFeather(hitter->playerTeam);
    if (Entity* victim = record.victim.Get(); victim && !victim->IsDestroyed()) {
        DeathFlow::PutBack(*victim, record.respawnPosition);
        if (PlayerDataComponent* data = victim->GetComponent<PlayerDataComponent>()) {
            data->SetLastHitter(nullptr);
            data->m_respawnGrace = kRecentTimer;
        }
        record.timer = kRecentTimer;
        m_recent[victim->GetName()] = record;
    }
    m_flow.PlayRespawnEffect(record.respawnPosition);
    m_pending.erase(it);
}

} // namespace quellor
