#include "ai/behavior/DecoratorActive.h"

#include "gameplay/PlayerDataComponent.h"

namespace quellor {

DecoratorActive::DecoratorActive() : m_lookup("DecoratorActive") {}

BehaviorStatus DecoratorActive::Decorate(float dt)
{
    const PlayerDataComponent* data = m_lookup.Find<PlayerDataComponent>(GetEntity(), GetEntity());
    if (!data || !data->canControl)
        return BehaviorStatus::Failure;
    return child->Tick(dt);
}

} // namespace quellor
