#include "gameplay/effects/EffectActions.h"

#include "engine/ActionComponent.h"
#include "engine/Entity.h"
#include "engine/EntityRef.h"
#include "engine/Invoke.h"

namespace quellor {

ActionComponent* EffectActions::Of(Entity& owner)
{
    if (owner.HasComponent(ActionComponent::ID))
        return owner.GetComponent<ActionComponent>();
    return owner.AddComponent<ActionComponent>(true);
}

Action* EffectActions::DestroyEntity(Entity& owner)
{
    return new Invoke([ref = EntityRef(&owner)] {
        if (Entity* entity = ref.Get())
            entity->Destroy();
    });
}

} // namespace quellor
