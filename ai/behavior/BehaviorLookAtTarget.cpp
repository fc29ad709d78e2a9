#include "ai/behavior/BehaviorLookAtTarget.h"

#include "ai/behavior/AIDataComponent.h"
#include "ai/steering/Steering.h"

namespace quellor {

BehaviorStatus BehaviorLookAtTarget::Update(float)
{
    const Entity* target = Target();
    if (!target)
        return BehaviorStatus::Failure;
    Vec4 own;
    Vec4 other;
    if (!CentreOf(GetEntity(), own) || !CentreOf(target, other))
        return BehaviorStatus::Failure;
    const Vec4 facing = PlanarNormal(steering::Subtract(other, own));
    if (auto* data = Part<AIDataComponent>())
        data->facing = facing;
    Aim(-facing.x, -facing.z);
    return BehaviorStatus::Running;
}

} // namespace quellor
