#pragma once
// Keeps the players inside a level: its entity's box collider encloses the playable space, and
// a player whose box collider has no contact with it has left. One victim is handled at a
// time: its control goes, the death flow (DeathFlow) runs on its screen, and at the flow's end
// its last hitter's team scores and it comes back at a spawn point of its own team. No new
// victim is taken for 2 s after a respawn (and at the start), nor while a flow runs. The victim
// counts as dying while its flow runs, and a player the kill volume holds as dying is left
// alone, so that a fall through both scores once.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/DeathFlow.h"
#include "gameplay/GameLogicMember.h"

#include <string>

namespace quellor {

class Entity;

class LevelBoundaryComponent : public Component, public InLogicSlot<LogicSlot::LevelBoundaryComponent> {
    QUELLOR_REFLECT_KEYED(LevelBoundaryComponent)

    inline static const std::string kScoreSound{"score_point.ogg"};
    static constexpr float kStartCooldown = 2.0f;
    static constexpr float kFlowCooldown = 8.0f;

    LevelBoundaryComponent() = default;
    LevelBoundaryComponent(const LevelBoundaryComponent&) = delete;
    LevelBoundaryComponent& operator=(const LevelBoundaryComponent&) = delete;
    ~LevelBoundaryComponent() override;

    // Joins the "GameLogicSystem" of "default" (a warning without one).
    void Initialize() override;
    // Leaves it and cancels a flow still running: its respawn never comes.
    void Uninitialize() override;

    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    // The end of the victim's flow: the hitter's team scores, the victim is put back.
    void Respawn();

    Entity* GetLastHitter() const { return m_lastHitter.Get(); }
    Entity* GetVictim() const { return m_victim.Get(); }
    const Vec4& GetRespawnPosition() const { return m_respawnPosition; }
    float GetCooldown() const { return m_cooldown; }
    const DeathFlow& GetFlow() const { return m_flow; }

private:
    void Take(Entity& victim, const Vec4& spawn);

    Vec4 m_respawnPosition;
    EntityRef m_lastHitter;
    EntityRef m_victim;
    float m_cooldown = kStartCooldown;
    DeathFlow m_flow;
    bool m_warnedNoBox = false;
};

} // namespace quellor
