#include "ai/steering/SteeringCombiner.h"

#include <utility>

namespace quellor {

SteeringCombiner::SteeringCombiner(const SteeringCombiner& other) : SteeringBehavior(other)
{
    behaviors.reserve(other.behaviors.size());
    for (const WeightedBehavior& child : other.behaviors)
        behaviors.push_back({child.behavior ? child.behavior->Clone() : nullptr, child.weight});
}

SteeringCombiner& SteeringCombiner::operator=(const SteeringCombiner& other)
{
    if (this == &other)
        return *this;
    SteeringCombiner copy(other);
    SteeringBehavior::operator=(other);
    DeleteChildren();
    behaviors = std::move(copy.behaviors);
    copy.behaviors.clear();
    return *this;
}

SteeringCombiner::~SteeringCombiner()
{
    DeleteChildren();
}

void SteeringCombiner::DeleteChildren()
{
    for (WeightedBehavior& child : behaviors)
        delete child.behavior;
    behaviors.clear();
}

void SteeringCombiner::PropagateOwner()
{
    for (WeightedBehavior& child : behaviors) {
        if (!child.behavior)
            continue;
        child.behavior->SetOwner(owner);
        child.behavior->SetRigidBody(rigidBody);
        child.behavior->PropagateOwner();
    }
}

void SteeringCombiner::AddBehavior(SteeringBehavior* behavior, float weight)
{
    if (!behavior)
        return;
    behavior->SetOwner(owner);
    behavior->SetRigidBody(rigidBody);
    behavior->PropagateOwner();
    behaviors.push_back({behavior, weight});
}

} // namespace quellor
