#include "gameplay/RegisterGameplayTypes.h"

#include <mutex>

#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/CharacterController.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "physics/RegisterPhysicsTypes.h"

namespace quellor {

void RegisterGameplayTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterPhysicsTypes();
        MetaOf<GameLogicSystem>();
        MetaOf<CharacterController>();
        MetaOf<PlayerDataComponent>();
        MetaOf<SpawnPointComponent>();
    });
}

} // namespace quellor
