#include "ai/pathfinding/EuclideanHeuristic.h"

#include <cmath>

namespace quellor {

float EuclideanHeuristic(const AStarNode& a, const AStarNode& b)
{
    const float dx = b.position.x - a.position.x;
    const float dy = b.position.y - a.position.y;
    const float dz = b.position.z - a.position.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace quellor
