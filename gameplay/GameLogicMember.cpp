#include "gameplay/GameLogicMember.h"

#include "engine/Engine.h"
#include "gameplay/GameLogicSystem.h"

namespace quellor {

GameLogicMember::~GameLogicMember() = default;

void GameLogicMember::LogicUpdate(float) {}

void GameLogicMember::JoinGameLogic()
{
    if (GameLogicSystem* system = DefaultSystem<GameLogicSystem>())
        system->Register(this);
}

void GameLogicMember::LeaveGameLogic()
{
    if (GameLogicSystem* system = DefaultSystem<GameLogicSystem>())
        system->Unregister(this);
}

} // namespace quellor
