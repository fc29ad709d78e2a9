#pragma once
// A collision shape as loaded from a shape file: its convex pieces in file order, piece i made
// of vertex list i and index list i. Both lists always have one entry per piece.
#include "engine/reflection/Vec4.h"

#include <cstdint>
#include <vector>

namespace quellor {

struct ShapeData3D {
    std::vector<std::vector<Vec4>> m_vertexLists;        // w is 1
    std::vector<std::vector<std::uint32_t>> m_indexLists; // whole triangles only

    std::size_t PieceCount() const { return m_vertexLists.size(); }
    bool Empty() const { return m_vertexLists.empty(); }
};

} // namespace quellor
