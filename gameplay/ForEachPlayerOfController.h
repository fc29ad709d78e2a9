#pragma once
// The players a per-player prop follows: those of the game logic's list still present whose
// player data names the given controller, in join order.
#include "engine/Entity.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"

namespace quellor {

template <class Each>
void ForEachPlayerOfController(const GameLogicSystem& logic, int controllerID, Each&& each)
{
    for (const GameLogicSystem::PlayerEntry& entry : logic.GetPlayerList()) {
        Entity* player = entry.Get();
        const auto* data = player ? player->GetComponent<PlayerDataComponent>() : nullptr;
        if (data && data->controllerID == controllerID)
            each(*player);
    }
}

} // namespace quellor
