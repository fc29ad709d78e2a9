#pragma once
// Keeps its entity (a marker, a name tag) at a fixed offset from the player whose controller
// number is m_controllerID; without such a player it stays where it is.
#include "engine/Component.h"
#include "gameplay/GameLogicMember.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class PlayerIdComponent : public Component, public InLogicSlot<LogicSlot::PlayerIdComponent> {
    QUELLOR_REFLECT_KEYED(PlayerIdComponent)

    PlayerIdComponent() = default;
    PlayerIdComponent(const PlayerIdComponent&) = delete;
    PlayerIdComponent& operator=(const PlayerIdComponent&) = delete;
    ~PlayerIdComponent() override;

    void Initialize() override;
    void Uninitialize() override;

    // Moves the entity to each matching player's position plus the offset's x, y and z, in
    // join order (the last one stays).
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    int m_controllerID = 0;
    Vec4 m_offset{0.0f, 0.0f, 0.0f, 1.0f};
};

} // namespace quellor
