#include "gameplay/LevelBoundaryComponent.h"

#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "renderer/dx11/RenderContext.h"

namespace quellor {

QUELLOR_RECORD(LevelBoundaryComponent, Component, DerivedMetaNotPODNoCopy, WithID) {}

namespace {

// A person watches 1 s, then follows the hitter 5 s (6 s to skip); without a hitter it watches
// 2 s (2 s to skip). A computer victim has no view to move: it waits as long.
constexpr DeathFlow::Plan kWithHitter{1.0f, 5.0f, 6.0f, 6.0f, 0.0f};
constexpr DeathFlow::Plan kWithoutHitter{2.0f, 0.0f, 2.0f, 2.0f, 0.0f};

} // namespace

LevelBoundaryComponent::~LevelBoundaryComponent() = default;

void LevelBoundaryComponent::Initialize()
{
    m_flow.Join(*this, "LevelBoundaryComponent");
}

void LevelBoundaryComponent::Uninitialize()
{
    m_flow.Leave(*this);
}

void LevelBoundaryComponent::Update(float dt)
{
    GameLogicSystem* logic = m_flow.GetLogic();
    if (!logic || m_flow.Starting(dt))
        return;
    if (m_cooldown > 0.0f)
        m_cooldown -= dt;

    Entity* self = GetEntity();
    const auto* box = self ? self->GetComponent<BoxColliderComponent3D>() : nullptr;
    if (!box) {
        // Without the box every player would count as out.
        if (!m_warnedNoBox) {
            m_warnedNoBox = true;
            ZOR::Log("Warning: LevelBoundaryComponent: its entity has no BoxColliderComponent3D; nobody is taken");
        }
        return;
    }

    // The count is asked again after every player.
    for (int i = 0; i < static_cast<int>(logic->GetPlayerCount()); ++i) {
        Entity* player = logic->GetPlayer(i);
        PlayerDataComponent* data = DeathFlow::DataOf(player);
        const auto* body = player ? player->GetComponent<BoxColliderComponent3D>() : nullptr;
        // A player already in a death flow (the kill volume's or this one's) is not taken again:
        // one fall scores once.
        if (!data || !body || data->m_dying || DeathFlow::Touches(*box, *body))
            continue;
        const SpawnPointComponent* spawn = logic->ChooseSpawnPoint(data->playerTeam);
        if (!spawn || m_cooldown > 0.0f)
            continue;
        Take(*player, spawn->GetPosition());
    }
}

void LevelBoundaryComponent::Take(Entity& victim, const Vec4& spawn)
{
    PlayerDataComponent* data = victim.GetComponent<PlayerDataComponent>();
    Entity* hitter = data->GetLastHitter();
    m_respawnPosition = spawn;
    m_lastHitter = hitter;
    m_victim = &victim;
    m_cooldown = kFlowCooldown;
    m_flow.Start(GetSystem<ActionSystem>(), victim, hitter, hitter ? kWithHitter : kWithoutHitter,
                 [this] { Respawn(); });
    data->canControl = false;
    data->m_dying = true;
}

void LevelBoundaryComponent::Respawn()
{
    if (const PlayerDataComponent* hitter = m_flow.Score(m_lastHitter.Get())) {
        if (auto* sound = DefaultSystem<SoundSystem>())
            sound->Play(kScoreSound, hitter->controllerID);
    }
    if (Entity* victim = m_victim.Get(); victim && !victim->IsDestroyed()) {
        DeathFlow::PutBack(*victim, m_respawnPosition);
        if (PlayerDataComponent* data = victim->GetComponent<PlayerDataComponent>())
            data->m_dying = false;
    }
    m_flow.PlayRespawnEffect(m_respawnPosition);
    m_cooldown = kStartCooldown;
}

} // namespace quellor
