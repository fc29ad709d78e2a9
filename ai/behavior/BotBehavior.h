#pragma once
// The set-up action of a computer player, created by name by the bot's ActionComponent. When
// it starts it gives the entity its body shapes, weapons and AI components, joins the match as
// a computer player and installs the bot's behaviour tree; it then stays in its list doing
// nothing until cancelled, which takes the bot out of the match again.
//
// The archetype must already provide Transform3D, RigidBodyComponent3D, PlayerDataComponent,
// CharacterMotor3D, AnimationControllerComponent, LiftComponent and AIDataComponent, and the
// space "default" a "GameLogicSystem": without them the bot warns and stays out of the match.
#include "engine/Action.h"

#include <string>

namespace quellor {

class BotBehavior : public Action {
    QUELLOR_REFLECT(BotBehavior)

    BotBehavior();
    BotBehavior(const BotBehavior&) = delete;
    BotBehavior& operator=(const BotBehavior&) = delete;
    ~BotBehavior() override;

    // Never finishes by itself.
    void Update(float dt) override;

    // The started event: set up and join.
    void Initialize();
    // The cancelled event: leaves the match once, if it joined. It runs inside the entity's
    // teardown, so it reads no component and resolves no reference: the match finds the
    // player by its address.
    void Teardown();

    // What the entity or its space lacks for a bot, named for the warning; empty when complete.
    std::string MissingParts() const;

    bool started = false;

private:
    int m_controllerID = -1;
};

} // namespace quellor
