#pragma once
#include "ai/pathfinding/AStarNode.h"

namespace quellor {

// Straight-line distance between the two nodes' positions (x, y, z): the A* heuristic.
float EuclideanHeuristic(const AStarNode& a, const AStarNode& b);

} // namespace quellor
