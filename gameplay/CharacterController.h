#pragma once
// A component type that level and archetype files may name. It runs in the game logic's first
// slot and does nothing there.
#include "engine/Component.h"
#include "gameplay/GameLogicMember.h"

namespace quellor {

class CharacterController : public Component, public InLogicSlot<LogicSlot::CharacterController> {
    QUELLOR_REFLECT_KEYED(CharacterController)

    CharacterController() = default;
    CharacterController(const CharacterController&) = delete;
    CharacterController& operator=(const CharacterController&) = delete;
    ~CharacterController() override;

    void Initialize() override;
    void Uninitialize() override;
};

} // namespace quellor
