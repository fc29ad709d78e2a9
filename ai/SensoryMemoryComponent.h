#pragma once
// A computer player's senses. Once a frame (last in the "AISystem" update) it looks at every
// other player of the match: a player is in front when it lies in the half-space ahead of the
// agent's AIDataComponent facing, and visible when it is in front and the first thing a ray
// from the agent meets on the way to it. Each player gets a record of where and when it was
// last sensed and since when it has been visible without a break.
//
// Records are kept in the order the players' entities were created (an order without gameplay
// meaning that still decides which of several enemies targeting picks) and hold their entity
// weakly: a destroyed player is skipped by every query and its record is dropped at the next
// update, and a later entity never inherits it. Times come from the component's own clock,
// the engine's performance counter (the simulated clock under --fixed-dt).
#include "ai/AgentLookup.h"
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/IntrusiveList.h"
#include "engine/Timer.h"
#include "engine/reflection/Vec4.h"

#include <cstdint>
#include <map>
#include <vector>

namespace quellor {

class Entity;

// What the memory knows of one player.
struct MemoryRecord {
    EntityRef entity;
    Vec4 lastPosition;            // centre of mass when last sensed
    float becameVisible = -10.0f; // clock time the current visible stretch began
    float lastSensed = -10.0f;    // clock time of the last sensing
    bool visible = false;         // in front and in sight at the last update
    bool inFront = false;         // in the forward half-space at the last update
};

class SensoryMemoryComponent : public Component {
    QUELLOR_REFLECT_KEYED(SensoryMemoryComponent)

    SensoryMemoryComponent();
    SensoryMemoryComponent(const SensoryMemoryComponent&) = delete;
    SensoryMemoryComponent& operator=(const SensoryMemoryComponent&) = delete;
    ~SensoryMemoryComponent() override;

    // Registers with the "AISystem" of the space "default" (without one: a warning, and it is
    // never updated).
    void Initialize() override;
    void Uninitialize() override;
    // A yellow cube around every recently sensed player.
    void DebugDraw(ZOR::DebugDrawer* drawer) override;

    // Drops the records of destroyed entities, then senses every other player of the
    // GameLogicSystem of "default"; dt is not used. An agent without a body or an
    // AIDataComponent, and players without a body, are not sensed (with a warning).
    void Update(float dt);

    // The live entities sensed less than m_memorySpan ago, in key order. Nothing is recent
    // while the span is not a positive finite number. The list is kept and refilled by the next
    // call (so that a frame allocates none): read it before asking again.
    const std::vector<Entity*>& GetRecentlySensed() const;
    // Seconds since the start of the entity's last visible stretch; false for an entity
    // without a PlayerDataComponent or a record. The visible flag is not looked at.
    bool GetTimeVisible(Entity* entity, float& seconds) const;
    // The record's visible flag; false without a PlayerDataComponent or a record.
    bool IsVisible(Entity* entity) const;
    // Whether a ray from the agent's centre of mass toward P first meets the entity.
    bool HasLineOfSight(Entity* entity, const Vec4& position) const;

    // The entity's record, or null.
    const MemoryRecord* FindRecord(const Entity* entity) const;
    std::size_t GetRecordCount() const { return m_memory.size(); }
    // The component's clock, in seconds.
    float Now() const { return m_clock.GetTime(); }

    IntrusiveLink<SensoryMemoryComponent> m_aiLink;
    float m_fov = 3.1415927f; // kept for data; sensing always uses the forward half-space
    float m_memorySpan = 0.1f;

private:
    std::map<std::uint64_t, MemoryRecord> m_memory; // by entity serial
    mutable std::vector<Entity*> m_recentlySensed;  // GetRecentlySensed's list
    Timer m_clock;
    mutable AgentLookup m_lookup;
};

} // namespace quellor
