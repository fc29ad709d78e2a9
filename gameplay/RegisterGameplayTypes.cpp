#include "gameplay/RegisterGameplayTypes.h"

#include <mutex>

#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/AimAssistComponent.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/AnimationPlayerComponent.h"
#include "gameplay/AttackManager.h"
#include "gameplay/CharacterController.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/DeathBoxComponent.h"
#include "gameplay/FeatherAction.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/FloatComponent.h"
#include "gameplay/FollowEntityAction.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/LevelBoundaryComponent.h"
#include "gameplay/LiftComponent.h"
#include "gameplay/OrbComponent.h"
#include "gameplay/OrbitComponent.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/PlayerIdComponent.h"
#include "gameplay/ShooterInput.h"
#include "gameplay/SkinMountComponent.h"
#include "gameplay/SkipDeathAction.h"
#include "gameplay/SnapshotComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "gameplay/TagComponent.h"
#include "gameplay/ThumperComponent.h"
#include "gameplay/WatchPlayerDeathAction.h"
#include "gameplay/cameras/AutomatedCameraComponent.h"
#include "gameplay/cameras/CameraLookAtComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/IntroCutscene.h"
#include "gameplay/cameras/MenuCameraComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "gameplay/effects/ArmChargeComponent.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "gameplay/effects/OrbChargeComponent.h"
#include "gameplay/effects/OrbConeComponent.h"
#include "gameplay/effects/OrbLightningComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "gameplay/effects/SnapshotFxComponent.h"
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
        MetaOf<LevelBoundaryComponent>();
        MetaOf<DeathBoxComponent>();
        MetaOf<WatchPlayerDeathAction>();
        MetaOf<FollowEntityAction>();
        MetaOf<SkipDeathAction>();
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
        MetaOf<OrbComponent>();
        MetaOf<OrbMeshComponent>();
        MetaOf<OrbLightningComponent>();
        MetaOf<OrbConeComponent>();
        MetaOf<OrbChargeComponent>();
        MetaOf<ArmChargeComponent>();
        MetaOf<FeatherSystem>();
        MetaOf<FeatherAction>();
        MetaOf<FloatComponent>();
        MetaOf<ThumperComponent>();
        MetaOf<TagComponent>();
        MetaOf<LiftComponent>();
        MetaOf<SnapshotComponent>();
        MetaOf<AttackManager>();
        MetaOf<LiftFxComponent>();
        MetaOf<SnapshotFxComponent>();
        MetaOf<AimAssistComponent>();
        MetaOf<ShooterInput>();
        // The camera's charge ring shows the orb weapon's charge.
        ThirdPersonCameraComponent::SetChargeRatioSource([](Entity& target) {
            const auto* orb = target.GetComponent<OrbComponent>();
            return orb ? orb->GetChargePercent() : 0.0f;
        });
    });
}

} // namespace quellor
