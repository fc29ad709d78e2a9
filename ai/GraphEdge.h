#pragma once
// One outgoing edge of a navigation node as level data writes it: the node it leads to (−1 for
// none), its cost and its type (1 marks a jump edge).
#include "engine/reflection/Reflected.h"

namespace quellor {

class GraphEdge final {
    QUELLOR_REFLECT_ROOT(GraphEdge)

    GraphEdge() = default;

    int to = -1;
    float cost = -1.0f;
    int type = 0;
};

} // namespace quellor
