#include "gameplay/GameLogicMember.h"

#include "gameplay/GameLogicSystem.h"

namespace quellor {

GameLogicMember::~GameLogicMember() = default;

void GameLogicMember::LogicUpdate(float) {}

void GameLogicMember::JoinGameLogic(const QLObject& self)
{
    if (GameLogicSystem* system = GameLogicSystem::Find(self))
        system->Register(this);
}

void GameLogicMember::LeaveGameLogic(const QLObject& self)
{
    if (GameLogicSystem* system = GameLogicSystem::Find(self))
        system->Unregister(this);
}

} // namespace quellor
