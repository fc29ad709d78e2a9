#pragma once
// A child of a combining behaviour with its weight; the combiner owns the behaviour.
namespace quellor {

class SteeringBehavior;

struct WeightedBehavior {
    SteeringBehavior* behavior = nullptr;
    float weight = 0.0f;
};

} // namespace quellor
