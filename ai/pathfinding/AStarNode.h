#pragma once
#include "engine/reflection/Vec4.h"

namespace quellor {

// A navigation node: where it stands (w 1) and how wide it is.
class AStarNode {
public:
    AStarNode() = default;
    AStarNode(const Vec4& position_, float radius_) : position(position_), radius(radius_) {}

    Vec4 position;
    float radius = 0.0f;
};

} // namespace quellor
