#pragma once
// The kill volume of a level: its entity's box collider covers the space below the islands.
// A player dies by touching that box or by leaving a fixed box around the whole level. A death
// takes the player's control away and runs the death flow (DeathFlow) on its screen; at the
// flow's end the last hitter's team scores a point and a feather, and the victim comes back at
// a spawn point of its own team with a burst of the respawn effect. A victim cannot die again
// until 0.2 s after its respawn.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/DeathFlow.h"
#include "gameplay/GameLogicMember.h"

#include <list>
#include <map>
#include <string>

namespace quellor {

class Entity;

class DeathBoxComponent : public Component, public InLogicSlot<LogicSlot::DeathBoxComponent> {
    QUELLOR_REFLECT_KEYED(DeathBoxComponent)

    inline static const std::string kDeathSound{"player_death.ogg"};
    static constexpr float kPendingTimer = 3.0f;
    static constexpr float kRecentTimer = 0.2f; // the victim cannot die again meanwhile
    // The fixed box every level lies inside.
    static constexpr float kMinX = -468.0f, kMaxX = 560.0f;
    static constexpr float kMinY = -400.0f, kMaxY = 333.0f;
    static constexpr float kMinZ = -335.0f, kMaxZ = 580.0f;

    struct DeathRecord {
        EntityRef lastHitter;
        EntityRef victim;
        float timer = 0.0f; // kPendingTimer while pending, kRecentTimer once respawned
        Vec4 respawnPosition;
    };

    DeathBoxComponent() = default;
    DeathBoxComponent(const DeathBoxComponent&) = delete;
    DeathBoxComponent& operator=(const DeathBoxComponent&) = delete;
    ~DeathBoxComponent() override;

    // Joins the "GameLogicSystem" of "default" (a warning without one).
    void Initialize() override;
    // Leaves it and cancels the death flows still running: their respawns never come.
    void Uninitialize() override;

    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    // The end of a victim's flow: scores its pending record, puts the victim back and starts
    // its 0.2 s of safety. Nothing when the victim has no pending record.
    void Respawn(const EntityRef& victim);

    static bool IsOutside(const Vec4& position);

    const std::list<DeathRecord>& GetPending() const { return m_pending; }
    const std::map<std::string, DeathRecord>& GetRecentRespawns() const { return m_recent; }
    Entity* GetLastHitter() const { return m_lastHitter.Get(); }
    Entity* GetVictim() const { return m_victim.Get(); }
    const Vec4& GetRespawnPosition() const { return m_respawnPosition; }
    const DeathFlow& GetFlow() const { return m_flow; }

private:
    void Kill(Entity& victim, const Vec4& spawn);

    Vec4 m_respawnPosition;
    EntityRef m_lastHitter;
    EntityRef m_victim;
    std::list<DeathRecord> m_pending;
    std::map<std::string, DeathRecord> m_recent;
    DeathFlow m_flow;
    bool m_warnedNoBox = false;
};

} // namespace quellor
