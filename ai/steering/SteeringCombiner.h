#pragma once
// The part shared by the behaviours that combine children: it owns the children, copies them
// through their Clone (a copy and its original share nothing, so each deletes only its own)
// and hands them its owner and body, down through nested combiners.
#include "ai/steering/SteeringBehavior.h"
#include "ai/steering/WeightedBehavior.h"

#include <vector>

namespace quellor {

class SteeringCombiner : public SteeringBehavior {
public:
    SteeringCombiner() = default;
    SteeringCombiner(const SteeringCombiner& other);
    SteeringCombiner& operator=(const SteeringCombiner& other);
    ~SteeringCombiner() override;

    void PropagateOwner() override;

    // Appends a child and takes ownership; it gets this behaviour's owner and body at once. A
    // null behaviour is ignored.
    void AddBehavior(SteeringBehavior* behavior, float weight);

    // In order; owned.
    std::vector<WeightedBehavior> behaviors;

private:
    void DeleteChildren();
};

} // namespace quellor
