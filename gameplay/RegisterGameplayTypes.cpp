#include "gameplay/RegisterGameplayTypes.h"

#include <mutex>

#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/AnimationPlayerComponent.h"
#include "gameplay/CharacterController.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/OrbitComponent.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/PlayerIdComponent.h"
#include "gameplay/SkinMountComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "gameplay/cameras/AutomatedCameraComponent.h"
#include "gameplay/cameras/CameraLookAtComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/IntroCutscene.h"
#include "gameplay/cameras/MenuCameraComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/RegisterPhysicsTypes.h"

namespace quellor {

void RegisterGameplayTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterPhysicsTypes();
        MetaOf<GameLogicSystem>();
        MetaOf<CharacterController>();
        MetaOf<CharacterMotor3D>();
        MetaOf<PlayerDataComponent>();
        MetaOf<SpawnPointComponent>();
        MetaOf<OrbitComponent>();
        MetaOf<AnimationPlayerComponent>();
        MetaOf<SkinMountComponent>();
        MetaOf<AnimationControllerComponent>();
        MetaOf<PlayerIdComponent>();
        MetaOf<CameraSystem>();
        MetaOf<ThirdPersonCameraComponent>();
        MetaOf<CameraLookAtComponent>();
        MetaOf<AutomatedCameraComponent>();
        MetaOf<MenuCameraComponent>();
        MetaOf<IntroCutscene>();
    });
}

} // namespace quellor
