#pragma once
// Stand-ins shared by the gameplay tests: a slot member that logs its updates, bound to any
// slot, and an action standing in for a player's set-up, which takes the player out of the
// match when it is cancelled (as its entity goes).
#include "engine/Action.h"
#include "engine/ActionComponent.h"
#include "engine/Entity.h"
#include "gameplay/GameLogicMember.h"
#include "gameplay/GameLogicSystem.h"
#include "tests/support/gameplay/GameWorld.h"

#include <string>
#include <vector>

namespace quellor::test {

using Log = std::vector<std::string>;

class LogicSpy : public GameLogicMember {
public:
    LogicSpy(LogicSlot slot, Log* log, std::string tag) : m_slot(slot), m_log(log), m_tag(std::move(tag)) {}
    LogicSlot GetLogicSlot() const override { return m_slot; }
    void LogicUpdate(float) override { m_log->push_back(m_tag); }

private:
    LogicSlot m_slot;
    Log* m_log;
    std::string m_tag;
};

class SetupStandIn : public Action {
public:
    SetupStandIn(GameLogicSystem* logic, Entity* player) : m_logic(logic), m_player(player)
    {
        m_onCancelled.Connect(Delegate<>(this, &SetupStandIn::Leave), 0);
    }

private:
    void Leave() { m_logic->RemovePlayer(-1, m_player); }

    GameLogicSystem* m_logic;
    Entity* m_player;
};

// Gives the player a running set-up stand-in on its own action component.
inline void AttachSetup(GameLogicSystem* logic, Entity* player)
{
    auto* actions = new ActionComponent;
    player->AddComponent(ActionComponent::ID, actions, true);
    actions->AddAction(new SetupStandIn(logic, player), 0);
}

} // namespace quellor::test
